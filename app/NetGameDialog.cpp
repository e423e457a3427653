#include "app/NetGameDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include "app/FixedDialog.h"
#include "net/MatchProtocol.h"

namespace {

using Server = NetSetup::Server;

// QLineEdit's own space between its frame and its text, both sides, and a
// little air.
constexpr int kLineEditMargins = 2 * 2 + 4;

QSpinBox* PortBox(uint16_t port, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(1, 65535);
    box->setValue(port);
    return box;
}

QComboBox* SideBox(qx::net::NetSide chosen, const char* name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItem(NetGameDialog::tr("Imperator (mys)"));
    box->addItem(NetGameDialog::tr("Povstalec (klavesnice)"));
    box->setCurrentIndex(chosen == qx::net::NetSide::Rebel ? 1 : 0);
    return box;
}

// The hint in an empty field, never cut: the field is at least as wide as
// the hint and the line edit's frame and margins.
void ShowPlaceholder(QLineEdit& field, const QString& hint) {
    field.setPlaceholderText(hint);
    const int frame = field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &field);
    field.setMinimumWidth(field.fontMetrics().horizontalAdvance(hint) + 2 * frame +
                          kLineEditMargins);
}

}  // namespace

NetGameDialog::NetGameDialog(const NetSetup& setup, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Sitova hra"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    // The two ways side by side, so the dialog fits over the game's window.
    auto* halves = new QHBoxLayout;
    halves->addWidget(BuildLocal(setup));
    halves->addWidget(BuildServer(setup));
    layout->addLayout(halves);

    auto* buttons = new QDialogButtonBox(this);
    ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    buttons->addButton(tr("Zrusit"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    QRadioButton* chosen = setup.hosting ? hostChoice : joinChoice;
    switch (setup.server) {
        case Server::Create:
            chosen = createChoice;
            break;
        case Server::Join:
            chosen = codeChoice;
            break;
        case Server::Quick:
            chosen = quickChoice;
            break;
        case Server::Watch:
            chosen = watchChoice;
            break;
        case Server::None:
            break;
    }
    chosen->setChecked(true);
    for (QRadioButton* choice : findChildren<QRadioButton*>()) {
        connect(choice, &QRadioButton::toggled, this, &NetGameDialog::UpdateFields);
    }
    for (QLineEdit* edit : {address, serverAddress, code}) {
        connect(edit, &QLineEdit::textChanged, this, &NetGameDialog::UpdateFields);
    }
    UpdateFields();
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    FixedDialog::Apply(*this);
}

// One choice among all of both halves (they sit in two boxes).
QRadioButton* NetGameDialog::AddChoice(const QString& text, const char* name) {
    if (!choices) choices = new QButtonGroup(this);
    auto* choice = new QRadioButton(text, this);
    choice->setObjectName(QLatin1String(name));
    choices->addButton(choice);
    return choice;
}

// Two machines on one network, one of them reachable by its address.
QGroupBox* NetGameDialog::BuildLocal(const NetSetup& setup) {
    auto* group = new QGroupBox(tr("Podle adresy (mistni sit)"), this);
    auto* layout = new QVBoxLayout(group);
    hostChoice = AddChoice(tr("&Zalozit hru na tomto pocitaci"), "hostChoice");
    layout->addWidget(hostChoice);
    auto* hostForm = new QFormLayout;
    hostPort = PortBox(setup.hosting ? setup.port : NetSetup::kDefaultPort, this);
    hostPort->setObjectName(QStringLiteral("hostPort"));
    hostForm->addRow(tr("&Port:"), hostPort);
    side = SideBox(setup.side, "side", this);
    hostForm->addRow(tr("Tento pocitac &hraje za:"), side);
    layout->addLayout(hostForm);

    joinChoice = AddChoice(tr("P&ripojit se ke hre"), "joinChoice");
    layout->addWidget(joinChoice);
    auto* joinForm = new QFormLayout;
    address = new QLineEdit(setup.host, this);
    address->setObjectName(QStringLiteral("address"));
    ShowPlaceholder(*address, tr("jmeno nebo adresa pocitace"));
    joinForm->addRow(tr("&Adresa:"), address);
    joinPort = PortBox(setup.hosting ? NetSetup::kDefaultPort : setup.port, this);
    joinPort->setObjectName(QStringLiteral("joinPort"));
    joinForm->addRow(tr("P&ort:"), joinPort);
    joinForm->addRow(new QLabel(tr("Strany vybira ten, kdo hru zalozil."), this));
    layout->addLayout(joinForm);
    layout->addStretch();
    return group;
}

// Anyone, anywhere: the server connects the two players by an invite code.
QGroupBox* NetGameDialog::BuildServer(const NetSetup& setup) {
    auto* group = new QGroupBox(tr("Pres server (internet)"), this);
    auto* layout = new QVBoxLayout(group);
    auto* serverForm = new QFormLayout;
    serverAddress = new QLineEdit(setup.serverAddress, this);
    serverAddress->setObjectName(QStringLiteral("serverAddress"));
    ShowPlaceholder(*serverAddress, tr("POCITAC[:PORT]"));
    serverAddress->setToolTip(tr("Port 29030, neni-li uveden."));
    serverForm->addRow(tr("&Server:"), serverAddress);
    playerName = new QLineEdit(setup.name, this);
    playerName->setObjectName(QStringLiteral("playerName"));
    playerName->setMaxLength(static_cast<int>(2 * qx::net::kMaxNameCharacters));
    playerName->setToolTip(tr("Jmeno, ktere uvidi souper a divaci (1 az 20 znaku)."));
    serverForm->addRow(tr("J&meno:"), playerName);
    layout->addLayout(serverForm);

    createChoice = AddChoice(tr("Zalozit hru a pos&lat souperi kod"), "createChoice");
    layout->addWidget(createChoice);
    auto* createForm = new QFormLayout;
    serverSide = SideBox(setup.side, "serverSide", this);
    createForm->addRow(tr("Hra&ji za:"), serverSide);
    layout->addLayout(createForm);

    codeChoice = AddChoice(tr("Pripojit se ke hre s &kodem"), "codeChoice");
    layout->addWidget(codeChoice);
    watchChoice = AddChoice(tr("&Divat se na hru s kodem"), "watchChoice");
    layout->addWidget(watchChoice);
    auto* codeForm = new QFormLayout;
    code = new QLineEdit(setup.code, this);
    code->setObjectName(QStringLiteral("code"));
    ShowPlaceholder(*code, tr("KOD nebo KOD@SERVER"));
    code->setToolTip(tr("Kod hry ma 8 pismen a cislic."));
    codeForm->addRow(tr("Kod hr&y:"), code);
    layout->addLayout(codeForm);

    quickChoice = AddChoice(tr("Rychla hra s kymkol&i"), "quickChoice");
    layout->addWidget(quickChoice);
    layout->addStretch();
    return group;
}

// Only the chosen way's fields can be edited; OK needs what that way needs:
// an address to join, a server's address, an invite code.
void NetGameDialog::UpdateFields() {
    const bool hosting = hostChoice->isChecked();
    const bool joining = joinChoice->isChecked();
    const bool viaServer = !hosting && !joining;
    const bool withCode = codeChoice->isChecked() || watchChoice->isChecked();
    hostPort->setEnabled(hosting);
    side->setEnabled(hosting);
    address->setEnabled(joining);
    joinPort->setEnabled(joining);
    serverAddress->setEnabled(viaServer);
    playerName->setEnabled(viaServer);
    serverSide->setEnabled(createChoice->isChecked());
    code->setEnabled(withCode);
    QString host;
    uint16_t port = 0;
    bool ready = hosting || (joining && !address->text().trimmed().isEmpty());
    if (viaServer) {
        // An invite CODE@HOST:PORT names its server itself.
        QString invited;
        QString server;
        const bool named =
            withCode && NetSetup::SplitInvite(code->text(), invited, server) && !server.isEmpty();
        ready = (named || NetSetup::SplitServerAddress(serverAddress->text(), host, port)) &&
                (!withCode || NetSetup::IsCode(code->text()));
    }
    ok->setEnabled(ready);
}

NetSetup NetGameDialog::Setup() const {
    NetSetup setup;
    setup.hosting = !joinChoice->isChecked();
    setup.port =
        static_cast<uint16_t>(joinChoice->isChecked() ? joinPort->value() : hostPort->value());
    const QComboBox* chosenSide = createChoice->isChecked() ? serverSide : side;
    setup.side =
        chosenSide->currentIndex() == 1 ? qx::net::NetSide::Rebel : qx::net::NetSide::Emperor;
    setup.host = address->text().trimmed();
    setup.serverAddress = serverAddress->text().trimmed();
    setup.name = playerName->text().trimmed();
    setup.nameGiven = true;
    setup.code = code->text().trimmed();
    if (createChoice->isChecked()) setup.server = Server::Create;
    if (codeChoice->isChecked()) setup.server = Server::Join;
    if (quickChoice->isChecked()) setup.server = Server::Quick;
    if (watchChoice->isChecked()) setup.server = Server::Watch;
    QString invited;
    QString server;
    if ((setup.server == Server::Join || setup.server == Server::Watch) &&
        NetSetup::SplitInvite(setup.code, invited, server) && !server.isEmpty()) {
        setup.code = invited;
        setup.serverAddress = server;
    }
    return setup;
}
