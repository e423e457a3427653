#pragma once

#include <QDialog>
#include <memory>

#include "game/PlayerChoice.h"

namespace Ui {
class NewGameDialog;
}
class QComboBox;

// The modal "Nova hra" dialog: one "Clovek" (person) check box per side,
// opening with who plays now. OK (or Enter) accepts; Esc and the close box
// reject and leave the choice as it was.
class NewGameDialog : public QDialog {
    Q_OBJECT

  public:
    NewGameDialog(const qx::PlayerChoice& choice, QWidget* parent);
    ~NewGameDialog() override;

    // The check boxes as they stand.
    qx::PlayerChoice Choice() const;

    // Adds, below the two sides, the choice of which side the first
    // gamepad plays (the second plays the other); only shown when a pad is
    // attached.
    void ShowPadChoice(bool firstPadEmperor);
    bool FirstPadPlaysEmperor() const;

  private:
    std::unique_ptr<Ui::NewGameDialog> ui;
    QComboBox* padChoice = nullptr;
};
