#include "app/ControlsDialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "app/FixedDialog.h"
#include "app/GamepadInput.h"

using qx::GameKey;

namespace {

QLabel* Heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("font-weight: bold"));
    return label;
}

}  // namespace

ControlsDialog::ControlsDialog(const KeyBindings& current, GamepadInput* pads, QWidget* parent)
    : QDialog(parent), keys(current) {
    setWindowTitle(tr("Ovladani"));
    setModal(true);
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    int row = 0;
    AddRebelRows(*grid, row);
    AddEmperorRows(*grid, row);
    auto* notes = new QLabel(
        tr("S vychozimi klavesami ridi povstalce i numericka klavesnice 1-4, 6-9, 0 (stat). "
           "Gamepad povstalce ridi leva packa nebo krizovy ovladac; gamepad imperatora miri "
           "levou packou, RT nebo RB / A: dopredu, LT / B: dolu.\n"
           "Pauza: klavesa Pause nebo P, na gamepadu Start. Prvni gamepad hraje "
           "za povstalce, druhy za imperatora (zmena v dialogu Nova hra)."),
        this);
    notes->setWordWrap(true);
    grid->addWidget(notes, row++, 0, 1, 3);
    message = new QLabel(this);
    message->setObjectName(QStringLiteral("message"));
    message->setWordWrap(true);
    message->setMinimumHeight(message->fontMetrics().lineSpacing() * 2);
    grid->addWidget(message, row++, 0, 1, 3);

    auto* buttons = new QHBoxLayout;
    auto* defaults = new QPushButton(tr("&Vychozi"), this);
    defaults->setObjectName(QStringLiteral("defaultsButton"));
    defaults->setAutoDefault(false);
    connect(defaults, &QPushButton::clicked, this, &ControlsDialog::OnDefaults);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(defaults);
    buttons->addStretch();
    buttons->addWidget(ok);
    grid->addLayout(buttons, row, 0, 1, 3);
    if (pads) connect(pads, &GamepadInput::ButtonPressed, this, &ControlsDialog::OnPadButton);

    ShowKeys();
    EndCapture(tr("Klavesu nebo tlacitko gamepadu zmenite kliknutim na ne a stiskem nove."));
    grid->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    FixedDialog::Apply(*this);
    ok->setFocus();
}

void ControlsDialog::AddRebelRows(QGridLayout& grid, int& row) {
    grid.addWidget(Heading(tr("Povstalec (cervena lod)"), this), row, 0);
    grid.addWidget(Heading(tr("Klavesa"), this), row, 1);
    grid.addWidget(Heading(tr("Gamepad"), this), row++, 2);
    for (const GameKey action : KeyBindings::kActions) {
        if (action != GameKey::Enter) AddActionRow(grid, row++, action);
    }
}

void ControlsDialog::AddEmperorRows(QGridLayout& grid, int& row) {
    grid.addWidget(Heading(tr("Imperator (bila lod)"), this), row++, 0, 1, 3);
    const std::pair<const char*, const char*> fixed[] = {
        {QT_TR_NOOP("Rizeni"), QT_TR_NOOP("mys: lod leti k ukazateli")},
        {QT_TR_NOOP("Strela dopredu"), QT_TR_NOOP("leve tlacitko mysi")},
        {QT_TR_NOOP("Strela dolu"), QT_TR_NOOP("prave nebo prostredni tlacitko")},
    };
    for (const auto& [what, how] : fixed) {
        grid.addWidget(new QLabel(tr(what), this), row, 0);
        grid.addWidget(new QLabel(tr(how), this), row++, 1, 1, 2);
    }
    AddActionRow(grid, row++, GameKey::Enter);
}

void ControlsDialog::AddActionRow(QGridLayout& grid, int row, GameKey action) {
    const QString name = KeyBindings::SettingsName(action);
    const QString text =
        action == GameKey::Enter ? tr("Strela nahoru") : KeyBindings::ActionName(action);
    grid.addWidget(new QLabel(text, this), row, 0);
    auto* key = new QPushButton(this);
    key->setObjectName(QStringLiteral("key-") + name);
    key->setAutoDefault(false);
    key->setMinimumWidth(120);
    connect(key, &QPushButton::clicked, this, [this, action] { StartCapture(action, false); });
    keyButtons[action] = key;
    grid.addWidget(key, row, 1);
    if (!KeyBindings::HasPadButton(action)) return;
    auto* pad = new QPushButton(this);
    pad->setObjectName(QStringLiteral("pad-") + name);
    pad->setAutoDefault(false);
    connect(pad, &QPushButton::clicked, this, [this, action] { StartCapture(action, true); });
    padButtons[action] = pad;
    grid.addWidget(pad, row, 2);
}

QString ControlsDialog::Message() const {
    return message->text();
}

void ControlsDialog::ShowKeys() {
    for (const auto& [action, button] : keyButtons) {
        button->setText(KeyBindings::KeyName(keys.Key(action)));
    }
    for (const auto& [action, button] : padButtons) {
        button->setText(KeyBindings::PadButtonName(keys.PadButton(action)));
    }
}

// While a key is awaited every key press of the program comes here first:
// before shortcuts, the focused button and the game.
void ControlsDialog::StartCapture(GameKey action, bool pad) {
    if (capture.action == GameKey::None) qApp->installEventFilter(this);
    capture = {action, pad};
    ShowKeys();
    (pad ? padButtons : keyButtons)[action]->setText(QStringLiteral("..."));
    const QString what = KeyBindings::ActionName(action);
    message->setText(pad ? tr("Stisknete tlacitko gamepadu pro akci \"%1\" (Esc: zpet).").arg(what)
                         : tr("Stisknete klavesu pro akci \"%1\" (Esc: zpet).").arg(what));
}

void ControlsDialog::EndCapture(const QString& words) {
    if (capture.action != GameKey::None) qApp->removeEventFilter(this);
    capture = {};
    ShowKeys();
    message->setText(words);
}

bool ControlsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (capture.action == GameKey::None) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            event->accept();
            return true;
        case QEvent::KeyRelease:
            return true;
        case QEvent::KeyPress: {
            const auto& key = static_cast<const QKeyEvent&>(*event);
            if (key.isAutoRepeat()) return true;
            if (key.key() == Qt::Key_Escape) {
                EndCapture({});
            } else if (!capture.pad) {
                const BoundKey bound{key.key(), (key.modifiers() & Qt::KeypadModifier) != 0};
                EndCapture(keys.AssignKey(capture.action, bound));
            }
            return true;
        }
        default:
            return QDialog::eventFilter(watched, event);
    }
}

void ControlsDialog::OnPadButton(int button) {
    if (capture.action == GameKey::None || !capture.pad) return;
    EndCapture(keys.AssignPadButton(capture.action, button));
}

void ControlsDialog::OnDefaults() {
    keys = KeyBindings::Defaults();
    EndCapture(tr("Vychozi klavesy a tlacitka jsou zpet."));
}
