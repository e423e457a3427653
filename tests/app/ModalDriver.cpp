#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>

ModalDriver::ModalDriver(std::vector<Action> actions) : actions(std::move(actions)) {
    QObject::connect(&poll, &QTimer::timeout, [this] { Poll(); });
    poll.start(10);
}

void ModalDriver::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (Done() || !modal || !modal->isVisible() || modal == handled) return;
    handled = modal;
    actions[next++](modal);
}

void ModalDriver::Press(QWidget* window, const QString& text) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text().remove('&') == text) {
            button->click();
            return;
        }
    }
}

bool ModalDriver::WaitUntil(const std::function<bool()>& condition, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
