#include "app/GameView.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cmath>

#include "app/SurfaceImage.h"
#include "common/ArenaToClient.h"
#include "gfx/DirtyRegion.h"

GameView::GameView(qx::Game& shown, QWidget* parent) : QWidget(parent), game(&shown) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

// A game that already has the view's size keeps its picture: showing it
// again must not run a repaint the game would take as an input.
void GameView::ShowGame(qx::Game& shown) {
    game = &shown;
    if (!SizeFollowed() || game->Screen().Empty()) {
        SyncSize();
        fullRepaintPending = true;
    }
    game->TakeScreenWrites();
    update();
}

QSize GameView::ClientSize() const {
    const qreal ratio = devicePixelRatioF();
    return {qRound(width() * ratio), qRound(height() * ratio)};
}

bool GameView::SizeFollowed() const {
    const QSize size = ClientSize();
    const qx::Rect client = game->ClientRect();
    return client.Width() == size.width() && client.Height() == size.height();
}

void GameView::SyncSize() {
    const QSize size = ClientSize();
    game->SetClientSize(size.width(), size.height());
}

void GameView::FullRepaint() {
    fullRepaintPending = false;
    emit RepaintWanted();
    update();
}

void GameView::UpdateNow() {
    if (fullRepaintPending) FullRepaint();
}

// A tick writes a few dozen overlapping boxes (each sprite erased, masked
// and drawn): merged first, they become a few rectangles, asked for in one
// update, so Qt paints and sends each changed pixel to the screen about once.
void GameView::UpdateWritten() {
    const qx::Surface& screen = game->Screen();
    const std::vector<qx::Box> boxes =
        qx::DirtyRegion::Merge(game->TakeScreenWrites(), screen.Width(), screen.Height());
    if (boxes.empty()) return;
    const qreal ratio = devicePixelRatioF();
    QRegion region;
    for (const qx::Box& box : boxes) {
        const int left = static_cast<int>(std::floor(box.x / ratio));
        const int top = static_cast<int>(std::floor(box.y / ratio));
        const int right = static_cast<int>(std::ceil((box.x + box.w) / ratio));
        const int bottom = static_cast<int>(std::ceil((box.y + box.h) / ratio));
        region += QRect(left, top, right - left, bottom - top);
    }
    update(region);
}

// A resize has already told the game its new size; a change of the device
// pixel ratio (the window moved to another screen) is caught here. Only the
// rectangles asked for are copied, each on its own: one copy of the whole
// picture through a clip of many small rectangles costs far more (Qt then
// hands the full-size copy to its thread pool).
void GameView::paintEvent(QPaintEvent* event) {
    if (!SizeFollowed()) {
        SyncSize();
        fullRepaintPending = true;
    }
    if (fullRepaintPending) {
        fullRepaintPending = false;
        emit RepaintWanted();
    }
    const qx::Surface& screen = game->Screen();
    if (screen.Empty()) return;
    QImage picture = SurfaceImage::View(screen);
    const qreal ratio = devicePixelRatioF();
    picture.setDevicePixelRatio(ratio);
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& area : event->region()) {
        const QRectF source(area.x() * ratio, area.y() * ratio, area.width() * ratio,
                            area.height() * ratio);
        painter.drawImage(QPointF(area.topLeft()), picture, source);
    }
    emit Presented();
}

// The window repaints its whole client area on every change of size; the
// repaint runs with the next paint, so several resizes cost one repaint.
void GameView::resizeEvent(QResizeEvent*) {
    SyncSize();
    fullRepaintPending = true;
}

// Only movement over the client area reports a position: while a button is
// held Qt keeps sending moves from outside the window, which are dropped.
void GameView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (pos.x() < 0 || pos.y() < 0 || pos.x() >= width() || pos.y() >= height()) return;
    const qreal ratio = devicePixelRatioF();
    const QSize size = ClientSize();
    const int x = std::min(static_cast<int>(std::floor(pos.x() * ratio)), size.width() - 1);
    const int y = std::min(static_cast<int>(std::floor(pos.y() * ratio)), size.height() - 1);
    if (const auto target = qx::ClientToArena(x, y, game->ClientRect())) {
        emit Input(qx::GameInput::Target(target->x, target->y));
    }
}

void GameView::mousePressEvent(QMouseEvent* event) {
    switch (event->button()) {
        case Qt::LeftButton:
            emit Input(qx::GameInput::Fire(qx::Weapon::Forward));
            break;
        case Qt::RightButton:
        case Qt::MiddleButton:
            emit Input(qx::GameInput::Fire(qx::Weapon::Down));
            break;
        default:
            break;
    }
}

// The second press of a double-click requests nothing (the default handling
// would treat it as another press).
void GameView::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

// Every key-down acts, auto-repeated ones included.
void GameView::keyPressEvent(QKeyEvent* event) {
    const qx::GameKey key = keys->ToGameKey(event->key(), event->modifiers());
    if (key == qx::GameKey::None) {
        QWidget::keyPressEvent(event);
        return;
    }
    emit Input(qx::GameInput::Key(key));
}
