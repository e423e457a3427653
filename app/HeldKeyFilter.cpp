#include "app/HeldKeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>

HeldKeyFilter::HeldKeyFilter(std::function<bool(const QKeyEvent&)> isGameKey, QObject* parent)
    : QObject(parent), isGameKey(std::move(isGameKey)) {
    QCoreApplication::instance()->installEventFilter(this);
}

HeldKeyFilter::~HeldKeyFilter() {
    QCoreApplication::instance()->removeEventFilter(this);
}

void HeldKeyFilter::BoxOpened(bool duringPlay) {
    ++boxes;
    heldBefore = held;
    if (duringPlay) {
        opened.start();
    } else {
        opened.invalidate();
    }
}

void HeldKeyFilter::BoxClosed() {
    if (boxes > 0) --boxes;
    if (boxes == 0) heldBefore.clear();
}

bool HeldKeyFilter::Ignored(const QKeyEvent& key) const {
    if (boxes == 0 || !isGameKey(key)) return false;
    return key.isAutoRepeat() || heldBefore.contains(key.key()) ||
           (opened.isValid() && opened.elapsed() < graceMs);
}

// Qt sends a key to the shortcut machinery first, then to the focused
// widget; both are kept from the box. A button takes Space on its release:
// the release of an ignored press is ignored too.
//
// A window that loses the keyboard gets no release of the keys held down in
// it (a box closed by a key press never sees that key go up): what is held
// is known again only from the next presses on.
bool HeldKeyFilter::eventFilter(QObject*, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::WindowDeactivate) held.clear();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
        type != QEvent::ShortcutOverride) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const bool ignored = Ignored(key);
    if (type == QEvent::KeyPress && !key.isAutoRepeat()) {
        held.insert(key.key());
    } else if (type == QEvent::KeyRelease && !key.isAutoRepeat()) {
        held.remove(key.key());
        const bool wasHeldBefore = heldBefore.remove(key.key());
        return wasHeldBefore || ignored;
    }
    return ignored;
}
