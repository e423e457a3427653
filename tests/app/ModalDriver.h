#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

// Drives the modal windows that a call under test opens and waits on: each
// modal window that appears is handed to the next action, in order. Started
// before the blocking call, it polls from a timer every 10 ms.
class ModalDriver {
  public:
    using Action = std::function<void(QWidget*)>;

    explicit ModalDriver(std::vector<Action> actions);

    // Every action has run.
    bool Done() const { return next == actions.size(); }

    // Presses a window's button labelled `text` ("OK" by default).
    static void Press(QWidget* window, const QString& text = "OK");
    // Runs the event loop until `condition` holds or `ms` have passed.
    static bool WaitUntil(const std::function<bool()>& condition, int ms = 3000);

  private:
    void Poll();

    std::vector<Action> actions;
    size_t next = 0;
    QPointer<QWidget> handled;
    QTimer poll;
};
