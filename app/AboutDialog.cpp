#include "app/AboutDialog.h"

#include "app/FixedDialog.h"
#include "app/ResourcePixmap.h"
#include "gfx/PictureCatalogue.h"
#include "ui_AboutDialog.h"

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::AboutDialog>()) {
    ui->setupUi(this);
    FixedDialog::Apply(*this);
    ui->emperorIcon->setPixmap(ResourcePixmap::Icon(qx::picture::kEmperorIcon));
    ui->rebelIcon->setPixmap(ResourcePixmap::Icon(qx::picture::kRebelIcon));
    connect(ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    ui->okButton->setFocus();
}

AboutDialog::~AboutDialog() = default;
