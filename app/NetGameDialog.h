#pragma once

#include <QDialog>

#include "app/NetSetup.h"

class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QPushButton;

// The modal "Sitova hra" dialog: host a game on a UDP port and choose the
// side this machine plays, or join a host by name or address and port (the
// host has chosen the sides). OK starts, "Zrusit" leaves everything as it
// was.
class NetGameDialog : public QDialog {
    Q_OBJECT

  public:
    NetGameDialog(const NetSetup& setup, QWidget* parent);

    // The dialog's fields as they stand.
    NetSetup Setup() const;

  private:
    void UpdateFields();

    QRadioButton* hostChoice = nullptr;
    QRadioButton* joinChoice = nullptr;
    QSpinBox* hostPort = nullptr;
    QComboBox* side = nullptr;
    QLineEdit* address = nullptr;
    QSpinBox* joinPort = nullptr;
    QPushButton* ok = nullptr;
};
