#include "app/ReplayView.h"

#include <QPainter>
#include <cmath>

#include "app/SurfaceImage.h"

ReplayView::ReplayView(qx::Game& game, QWidget* parent) : QWidget(parent), game(game) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

QSize ReplayView::ClientSize() const {
    const qreal ratio = devicePixelRatioF();
    return {qRound(width() * ratio), qRound(height() * ratio)};
}

void ReplayView::UpdateWritten() {
    const qreal ratio = devicePixelRatioF();
    for (const qx::Box& box : game.TakeScreenWrites()) {
        const int left = static_cast<int>(std::floor(box.x / ratio));
        const int top = static_cast<int>(std::floor(box.y / ratio));
        const int right = static_cast<int>(std::ceil((box.x + box.w) / ratio));
        const int bottom = static_cast<int>(std::ceil((box.y + box.h) / ratio));
        update(QRect(left, top, right - left, bottom - top));
    }
}

void ReplayView::paintEvent(QPaintEvent*) {
    const QSize size = ClientSize();
    const qx::Rect client = game.ClientRect();
    if (client.Width() != size.width() || client.Height() != size.height()) {
        game.OnSize(size.width(), size.height());
        game.ShowState();
    }
    const qx::Surface& screen = game.Screen();
    if (screen.Empty()) return;
    QImage picture = SurfaceImage::View(screen);
    picture.setDevicePixelRatio(devicePixelRatioF());
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), picture);
}

void ReplayView::resizeEvent(QResizeEvent*) {
    const QSize size = ClientSize();
    game.OnSize(size.width(), size.height());
    game.ShowState();
    game.TakeScreenWrites();
    update();
}

void ReplayView::mousePressEvent(QMouseEvent*) {
    emit StopRequested();
}

void ReplayView::keyPressEvent(QKeyEvent*) {
    emit StopRequested();
}
