#pragma once

#include <QDialog>
#include <QPointer>
#include <map>

#include "app/KeyBindings.h"

class GamepadInput;
class QLabel;
class QPushButton;

// The modal "Ovladani" page: the controls of both sides (mouse, keyboard,
// keypad, gamepad) and the pause keys, where a player puts each of the
// Rebel's moves and shots and the Emperor's upward shot on a key, or a pad
// button, of their own: a click on the key (or button) shown, then the new
// key is pressed (Esc takes the click back). A key or button another
// action has is refused with a word; "Vychozi" brings back the game's own
// keys. OK keeps the choice, Esc and the close box forget it.
class ControlsDialog : public QDialog {
    Q_OBJECT

  public:
    // `pads` may be null (no button can then be chosen from a pad).
    ControlsDialog(const KeyBindings& keys, GamepadInput* pads, QWidget* parent);

    const KeyBindings& Bindings() const { return keys; }
    // The words under the table: why a key was refused, what to press.
    QString Message() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Capture {
        qx::GameKey action = qx::GameKey::None;
        bool pad = false;
    };

    void AddRebelRows(class QGridLayout& grid, int& row);
    void AddEmperorRows(QGridLayout& grid, int& row);
    void AddActionRow(QGridLayout& grid, int row, qx::GameKey action);
    void StartCapture(qx::GameKey action, bool pad);
    void EndCapture(const QString& message);
    void OnPadButton(int button);
    void OnDefaults();
    void ShowKeys();

    KeyBindings keys;
    Capture capture;
    std::map<qx::GameKey, QPushButton*> keyButtons;
    std::map<qx::GameKey, QPushButton*> padButtons;
    QLabel* message = nullptr;
};
