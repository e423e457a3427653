#pragma once

#include <QDialog>

#include "app/NetSetup.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QPushButton;

// The modal "Sitova hra" dialog. On the local network, by address: host a
// game on a UDP port and choose the side this machine plays, or join a host
// by name or address and port (the host has chosen the sides). Through a
// match server (its address kept from the last time): create a game there
// (choosing the side), join one by its invite code, play anyone (quick
// match) or watch a game by its code. OK starts, "Zrusit" leaves everything
// as it was.
class NetGameDialog : public QDialog {
    Q_OBJECT

  public:
    NetGameDialog(const NetSetup& setup, QWidget* parent);

    // The dialog's fields as they stand.
    NetSetup Setup() const;

  private:
    QGroupBox* BuildLocal(const NetSetup& setup);
    QGroupBox* BuildServer(const NetSetup& setup);
    QRadioButton* AddChoice(const QString& text, const char* name);
    void UpdateFields();

    QButtonGroup* choices = nullptr;
    QRadioButton* hostChoice = nullptr;
    QRadioButton* joinChoice = nullptr;
    QSpinBox* hostPort = nullptr;
    QComboBox* side = nullptr;
    QLineEdit* address = nullptr;
    QSpinBox* joinPort = nullptr;
    QLineEdit* serverAddress = nullptr;
    QLineEdit* playerName = nullptr;
    QRadioButton* createChoice = nullptr;
    QComboBox* serverSide = nullptr;
    QRadioButton* codeChoice = nullptr;
    QRadioButton* quickChoice = nullptr;
    QRadioButton* watchChoice = nullptr;
    QLineEdit* code = nullptr;
    QPushButton* ok = nullptr;
};
