#pragma once

#include <QDialog>
#include <memory>

#include "game/GameHost.h"

namespace Ui {
class NewGameDialog;
}

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

  private:
    std::unique_ptr<Ui::NewGameDialog> ui;
};
