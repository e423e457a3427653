#include "app/NewGameDialog.h"

#include "app/ResourcePixmap.h"
#include "ui_NewGameDialog.h"

namespace {

constexpr int kEmperorShipBitmap = 118;
constexpr int kRebelShipBitmap = 123;
constexpr int kEmperorIcon = 113;
constexpr int kRebelIcon = 132;

}  // namespace

NewGameDialog::NewGameDialog(const qx::PlayerChoice& choice, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::NewGameDialog>()) {
    ui->setupUi(this);
    setFixedSize(size());
    ui->emperorShip->setPixmap(ResourcePixmap::Bitmap(kEmperorShipBitmap));
    ui->rebelShip->setPixmap(ResourcePixmap::Bitmap(kRebelShipBitmap));
    ui->emperorIcon->setPixmap(ResourcePixmap::Icon(kEmperorIcon));
    ui->rebelIcon->setPixmap(ResourcePixmap::Icon(kRebelIcon));
    ui->emperorHuman->setChecked(choice.emperorHuman);
    ui->rebelHuman->setChecked(choice.rebelHuman);
    connect(ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    ui->okButton->setFocus();
}

NewGameDialog::~NewGameDialog() = default;

qx::PlayerChoice NewGameDialog::Choice() const {
    return {ui->emperorHuman->isChecked(), ui->rebelHuman->isChecked()};
}
