#include "app/NewGameDialog.h"

#include <QComboBox>
#include <QLabel>

#include "app/FixedDialog.h"
#include "app/ResourcePixmap.h"
#include "gfx/PictureCatalogue.h"
#include "ui_NewGameDialog.h"

namespace {

constexpr int kPadRowHeight = 34;

}  // namespace

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

void NewGameDialog::ShowPadChoice(bool firstPadEmperor) {
    if (padChoice) return;
    const QRect ok = ui->okButton->geometry();
    auto* label = new QLabel(tr("Prvni gamepad hraje za :"), this);
    label->setObjectName(QStringLiteral("padLabel"));
    padChoice = new QComboBox(this);
    padChoice->setObjectName(QStringLiteral("padChoice"));
    padChoice->addItems({tr("Povstalce"), tr("Imperatora")});
    padChoice->setCurrentIndex(firstPadEmperor ? 1 : 0);
    label->setGeometry(ui->rebelGroup->x(), ok.y(), 170, ok.height());
    padChoice->setGeometry(label->geometry().right() + 8, ok.y(), 120, ok.height());
    ui->okButton->move(ok.x(), ok.y() + kPadRowHeight);
    setFixedSize(width(), height() + kPadRowHeight);
    setTabOrder(ui->rebelHuman, padChoice);
    setTabOrder(padChoice, ui->okButton);
}

bool NewGameDialog::FirstPadPlaysEmperor() const {
    return padChoice && padChoice->currentIndex() == 1;
}
