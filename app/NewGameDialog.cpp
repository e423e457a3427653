#include "app/NewGameDialog.h"

#include "app/FixedDialog.h"
#include "app/ResourcePixmap.h"
#include "gfx/PictureCatalogue.h"
#include "ui_NewGameDialog.h"

NewGameDialog::NewGameDialog(const qx::PlayerChoice& choice, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::NewGameDialog>()) {
    ui->setupUi(this);
    FixedDialog::Apply(*this);
    ui->emperorShip->setPixmap(ResourcePixmap::Bitmap(qx::picture::kEmperorShip));
    ui->rebelShip->setPixmap(ResourcePixmap::Bitmap(qx::picture::kRebelShip));
    ui->emperorIcon->setPixmap(ResourcePixmap::Icon(qx::picture::kEmperorIcon));
    ui->rebelIcon->setPixmap(ResourcePixmap::Icon(qx::picture::kRebelIcon));
    ui->emperorHuman->setChecked(choice.emperorHuman);
    ui->rebelHuman->setChecked(choice.rebelHuman);
    connect(ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    ui->okButton->setFocus();
}

NewGameDialog::~NewGameDialog() = default;

qx::PlayerChoice NewGameDialog::Choice() const {
    return {ui->emperorHuman->isChecked(), ui->rebelHuman->isChecked()};
}
