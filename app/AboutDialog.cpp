#include "app/AboutDialog.h"

#include "app/ResourcePixmap.h"
#include "ui_AboutDialog.h"

namespace {

constexpr int kEmperorIcon = 113;
constexpr int kRebelIcon = 132;

}  // namespace

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::AboutDialog>()) {
    ui->setupUi(this);
    setFixedSize(size());
    ui->emperorIcon->setPixmap(ResourcePixmap::Icon(kEmperorIcon));
    ui->rebelIcon->setPixmap(ResourcePixmap::Icon(kRebelIcon));
    connect(ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    ui->okButton->setFocus();
}

AboutDialog::~AboutDialog() = default;
