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

bool HeldKeyFilter::Ignored(const QKeyEvent& key, bool repeat) const {
    if (boxes == 0 || !isGameKey(key)) return false;
    return repeat || heldBefore.contains(key.key()) ||
           (opened.isValid() && opened.elapsed() < kGraceMs);
}

// Qt marks a repeat only when it finds the next press already waiting;
// under X11 a held key often repeats as a release and a press of the same
// moment instead, which would read as a fresh press. A press at the very
// millisecond of its key's release is such a repeat (events made by
// programs carry no time and are taken as they are).
bool HeldKeyFilter::Repeated(const QKeyEvent& key) const {
    if (key.isAutoRepeat()) return true;
    const auto released = releasedAt.constFind(key.key());
    return key.timestamp() != 0 && released != releasedAt.cend() && *released == key.timestamp();
}

// Qt sends a key to the shortcut machinery first, then to the focused
// widget (and on to its parents); each of them passes here, and each is
// kept from the box alike. A button takes Space on its release: the release
// of a key held since before the box, or of an ignored press, is ignored
// too. Whether a key held since before the box has really gone up is known
// at its next press: one that is no repeat.
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
    if (type == QEvent::KeyRelease) {
        const bool ignored = Ignored(key, key.isAutoRepeat()) || heldBefore.contains(key.key());
        if (!key.isAutoRepeat()) {
            held.remove(key.key());
            releasedAt.insert(key.key(), key.timestamp());
        }
        return ignored;
    }
    const bool repeat = Repeated(key);
    if (!repeat && releasedAt.contains(key.key())) heldBefore.remove(key.key());
    if (type == QEvent::KeyPress && !key.isAutoRepeat()) held.insert(key.key());
    return Ignored(key, repeat);
}
