#include "app/NetGameDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/FixedDialog.h"

namespace {

QSpinBox* PortBox(uint16_t port, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(1, 65535);
    box->setValue(port);
    return box;
}

}  // namespace

NetGameDialog::NetGameDialog(const NetSetup& setup, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Sitova hra"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    hostChoice = new QRadioButton(tr("&Zalozit hru na tomto pocitaci"), this);
    layout->addWidget(hostChoice);
    auto* hostForm = new QFormLayout;
    hostPort = PortBox(setup.hosting ? setup.port : NetSetup::kDefaultPort, this);
    hostPort->setObjectName(QStringLiteral("hostPort"));
    hostForm->addRow(tr("&Port:"), hostPort);
    side = new QComboBox(this);
    side->setObjectName(QStringLiteral("side"));
    side->addItem(tr("Imperator (mys)"));
    side->addItem(tr("Povstalec (klavesnice)"));
    side->setCurrentIndex(setup.side == qx::net::NetSide::Rebel ? 1 : 0);
    hostForm->addRow(tr("Tento pocitac &hraje za:"), side);
    layout->addLayout(hostForm);

    joinChoice = new QRadioButton(tr("P&ripojit se ke hre"), this);
    layout->addWidget(joinChoice);
    auto* joinForm = new QFormLayout;
    address = new QLineEdit(setup.host, this);
    address->setObjectName(QStringLiteral("address"));
    address->setPlaceholderText(tr("jmeno nebo adresa pocitace"));
    joinForm->addRow(tr("&Adresa:"), address);
    joinPort = PortBox(setup.hosting ? NetSetup::kDefaultPort : setup.port, this);
    joinPort->setObjectName(QStringLiteral("joinPort"));
    joinForm->addRow(tr("P&ort:"), joinPort);
    joinForm->addRow(new QLabel(tr("Strany vybira ten, kdo hru zalozil."), this));
    layout->addLayout(joinForm);

    auto* buttons = new QDialogButtonBox(this);
    ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    buttons->addButton(tr("Zrusit"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    (setup.hosting ? hostChoice : joinChoice)->setChecked(true);
    connect(hostChoice, &QRadioButton::toggled, this, &NetGameDialog::UpdateFields);
    connect(address, &QLineEdit::textChanged, this, &NetGameDialog::UpdateFields);
    UpdateFields();
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    FixedDialog::Apply(*this);
}

// Only the chosen way's fields can be edited; joining needs an address.
void NetGameDialog::UpdateFields() {
    const bool hosting = hostChoice->isChecked();
    hostPort->setEnabled(hosting);
    side->setEnabled(hosting);
    address->setEnabled(!hosting);
    joinPort->setEnabled(!hosting);
    ok->setEnabled(hosting || !address->text().trimmed().isEmpty());
}

NetSetup NetGameDialog::Setup() const {
    NetSetup setup;
    setup.hosting = hostChoice->isChecked();
    setup.port = static_cast<uint16_t>(setup.hosting ? hostPort->value() : joinPort->value());
    setup.side = side->currentIndex() == 1 ? qx::net::NetSide::Rebel : qx::net::NetSide::Emperor;
    setup.host = address->text().trimmed();
    return setup;
}
