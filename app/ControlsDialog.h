#pragma once

#include <QDialog>

// The modal "Ovladani" box: the controls of both sides at a glance (mouse,
// keyboard, keypad, gamepad) and the pause keys. It changes nothing; the
// game runs on behind it, as behind the About box.
class ControlsDialog : public QDialog {
    Q_OBJECT

  public:
    explicit ControlsDialog(QWidget* parent);
};
