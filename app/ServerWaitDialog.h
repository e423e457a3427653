#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The window's note while a match server is asked and the other player is
// awaited: what is happening, the invite code of a created room (with a
// button that copies it to the clipboard, to send to a friend) and
// "Zrusit", which gives up. Window-modal without blocking anything: the
// network keeps running behind it.
class ServerWaitDialog : public QDialog {
    Q_OBJECT

  public:
    ServerWaitDialog(const QString& text, QWidget* parent);

    void SetText(const QString& text);
    // Shows the room's invite code and its copy button.
    void ShowCode(const QString& code);
    QString Text() const;
    QString Code() const;

  private:
    void CopyCode();

    QLabel* text = nullptr;
    QLabel* codeLabel = nullptr;
    QLineEdit* code = nullptr;
    QPushButton* copy = nullptr;
    QLabel* copied = nullptr;
};
