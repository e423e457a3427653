#include "app/WindowPosition.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <limits>

namespace {

constexpr int kFrameNoteDelayMs = 250;

QRect AvailableArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Clamps a size that is not positive to the default and a size that does
// not fit to the available extent.
int FitExtent(int64_t stored, int fallback, int available) {
    const int64_t size = stored > 0 ? stored : fallback;
    if (available > 0 && size > available) return available;
    return static_cast<int>(std::min<int64_t>(size, std::numeric_limits<int>::max()));
}

}  // namespace

int32_t WindowPosition::ReadNumber(std::string_view text, size_t pos) {
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = std::min<int64_t>(value * 10 + (text[pos] - '0'), kMax + 1);
    }
    if (negative) return static_cast<int32_t>(std::max(-value, kMin));
    return static_cast<int32_t>(std::min(value, kMax));
}

StoredRect WindowPosition::Parse(const QString& text) {
    if (text.isEmpty()) return {0, 0, kDefaultWidth, kDefaultHeight};
    const QByteArray bytes = text.toLatin1();
    const std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
    StoredRect rect;
    if (!InFixedColumns(view) && ReadSeparated(view, rect)) return rect;
    return {ReadNumber(view, 0), ReadNumber(view, 5), ReadNumber(view, 10), ReadNumber(view, 15)};
}

bool WindowPosition::InFixedColumns(std::string_view text) {
    for (const size_t gap : {size_t{4}, size_t{9}, size_t{14}}) {
        if (gap >= text.size() || !IsBlank(text[gap])) return false;
    }
    return true;
}

bool WindowPosition::ReadSeparated(std::string_view text, StoredRect& rect) {
    int32_t* const fields[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    size_t pos = 0;
    for (int32_t* field : fields) {
        while (pos < text.size() && IsBlank(text[pos])) ++pos;
        const size_t start = pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        const size_t digits = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
        if (pos == digits) return false;
        if (pos < text.size() && !IsBlank(text[pos])) return false;
        *field = ReadNumber(text, start);
    }
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    return pos == text.size();
}

QString WindowPosition::Format(const StoredRect& rect) {
    return QString::asprintf("%04d %04d %04d %04d", rect.left, rect.top, rect.right, rect.bottom);
}

StoredRect WindowPosition::FromQRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QSize WindowPosition::StartSize(const StoredRect& rect, const QSize& available) {
    const int64_t width = int64_t{rect.right} - rect.left;
    const int64_t height = int64_t{rect.bottom} - rect.top;
    return {FitExtent(width, kDefaultWidth, available.width()),
            FitExtent(height, kDefaultHeight, available.height())};
}

QPoint WindowPosition::CentredTopLeft(const QSize& size, const QRect& available) {
    const int x = available.left() + std::max(0, (available.width() - size.width()) / 2);
    const int y = available.top() + std::max(0, (available.height() - size.height()) / 2);
    return {x, y};
}

WindowPosition::WindowPosition(QWidget& followed) : window(followed) {
    frameNote.setSingleShot(true);
    frameNote.setInterval(kFrameNoteDelayMs);
    QObject::connect(&frameNote, &QTimer::timeout, [this] { NoteNormalFrame(); });
}

// Only the stored size takes effect; the window opens centred. The frame is
// taken off once it is known (FitFrame).
void WindowPosition::Place(const StoredRect& stored) {
    const QRect available = AvailableArea();
    outerSize = StartSize(stored, available.size()).expandedTo(window.minimumSize());
    window.resize(outerSize);
    window.move(CentredTopLeft(outerSize, available));
}

// The frame is noted a moment after the window has moved or changed size,
// since a window manager may announce the maximised state only after the new
// frame and size (openbox does). Under Wayland the window draws its own
// frame, which exists only once the window is visible and brings no move or
// resize event with it: the window calls this then too.
void WindowPosition::Follow() {
    FitFrame();
    frameNote.start();
}

void WindowPosition::FitFrame() {
    if (frameFitted || !window.isVisible() || !window.windowHandle()) return;
    const QMargins margins = window.windowHandle()->frameMargins();
    if (margins.isNull()) return;
    frameFitted = true;
    normalMargins = margins;
    const QSize inner = outerSize.shrunkBy(margins).expandedTo(window.minimumSize());
    window.resize(inner);
    window.move(CentredTopLeft(inner.grownBy(margins), AvailableArea()));
}

bool WindowPosition::Restored() const {
    return (window.windowState() & ~Qt::WindowActive) == Qt::WindowNoState;
}

// The frame of the restored window only.
void WindowPosition::NoteNormalFrame() {
    if (!window.windowHandle() || !Restored()) return;
    const QMargins margins = window.windowHandle()->frameMargins();
    if (!margins.isNull()) normalMargins = margins;
}

StoredRect WindowPosition::Capture() {
    QRect normal = Restored() ? window.geometry() : window.normalGeometry();
    if (!normal.isValid()) normal = window.geometry();
    NoteNormalFrame();
    saved = FromQRect(normal.marginsAdded(normalMargins));
    captured = true;
    return saved;
}
