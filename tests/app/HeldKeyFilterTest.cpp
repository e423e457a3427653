#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "app/HeldKeyFilter.h"

namespace {

// Counts the key presses that reach it.
class KeyCounter : public QWidget {
  public:
    int presses = 0;

  protected:
    void keyPressEvent(QKeyEvent*) override { ++presses; }
};

void Send(QWidget& to, QEvent::Type type, int key) {
    QKeyEvent event(type, key, Qt::NoModifier);
    QApplication::sendEvent(&to, &event);
}

// A key that went down in a window and whose release never came (the window
// closed on the press, and the keyboard went elsewhere) is not held for ever:
// once that window has lost the keyboard, the next box takes the key at once.
// Without the loss the key counts as held since before the box.
TEST(HeldKeyFilter, AKeyWhoseReleaseWentWithItsWindowDoesNotHoldUpTheNextBox) {
    for (const bool windowLost : {false, true}) {
        HeldKeyFilter filter([](const QKeyEvent& key) { return key.key() == Qt::Key_Return; });
        KeyCounter closedOnPress, box;
        Send(closedOnPress, QEvent::KeyPress, Qt::Key_Return);
        if (windowLost) {
            QEvent deactivate(QEvent::WindowDeactivate);
            QApplication::sendEvent(&closedOnPress, &deactivate);
        }
        filter.BoxOpened(false);
        Send(box, QEvent::KeyPress, Qt::Key_Return);
        EXPECT_EQ(box.presses, windowLost ? 1 : 0) << windowLost;
        // Either way a key pressed after the box opened reaches it.
        Send(box, QEvent::KeyRelease, Qt::Key_Return);
        Send(box, QEvent::KeyPress, Qt::Key_Return);
        EXPECT_EQ(box.presses, windowLost ? 2 : 1) << windowLost;
        filter.BoxClosed();
    }
}

}  // namespace
