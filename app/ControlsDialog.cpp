#include "app/ControlsDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/FixedDialog.h"

namespace {

struct Row {
    const char* what;
    const char* emperor;
    const char* rebel;
};

// What each side does with what; the gamepad row follows the game's own
// gamepad mapping (GamepadInput).
constexpr Row kRows[] = {
    {"", QT_TRANSLATE_NOOP("ControlsDialog", "Imperator (bila lod)"), QT_TRANSLATE_NOOP("ControlsDialog", "Povstalec (cervena lod)")},
    {QT_TRANSLATE_NOOP("ControlsDialog", "Rizeni"), QT_TRANSLATE_NOOP("ControlsDialog", "mys: lod leti k ukazateli"), QT_TRANSLATE_NOOP("ControlsDialog", "sipky, Home, End, Insert (stat)")},
    {"", "", QT_TRANSLATE_NOOP("ControlsDialog", "numericka klavesnice 1-4, 6-9, 0 (stat)")},
    {QT_TRANSLATE_NOOP("ControlsDialog", "Strela dopredu"), QT_TRANSLATE_NOOP("ControlsDialog", "leve tlacitko mysi"), QT_TRANSLATE_NOOP("ControlsDialog", "mezernik")},
    {QT_TRANSLATE_NOOP("ControlsDialog", "Strela dolu"), QT_TRANSLATE_NOOP("ControlsDialog", "prave nebo prostredni tlacitko"), QT_TRANSLATE_NOOP("ControlsDialog", "X")},
    {QT_TRANSLATE_NOOP("ControlsDialog", "Strela nahoru"), QT_TRANSLATE_NOOP("ControlsDialog", "Enter"), QT_TRANSLATE_NOOP("ControlsDialog", "C")},
    {QT_TRANSLATE_NOOP("ControlsDialog", "Gamepad"), QT_TRANSLATE_NOOP("ControlsDialog", "leva packa miri"), QT_TRANSLATE_NOOP("ControlsDialog", "leva packa nebo krizovy ovladac")},
    {"", QT_TRANSLATE_NOOP("ControlsDialog", "RT nebo RB / A: dopredu"), QT_TRANSLATE_NOOP("ControlsDialog", "A: dopredu, Y: stat")},
    {"", QT_TRANSLATE_NOOP("ControlsDialog", "LT / B: dolu, LB / X: nahoru"), QT_TRANSLATE_NOOP("ControlsDialog", "B: dolu, X: nahoru")},
};

}  // namespace

ControlsDialog::ControlsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Ovladani"));
    setModal(true);
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    int row = 0;
    for (const Row& r : kRows) {
        const char* texts[] = {r.what, r.emperor, r.rebel};
        for (int column = 0; column < 3; ++column) {
            auto* label = new QLabel(texts[column][0] ? tr(texts[column]) : QString(), this);
            if (row == 0 || column == 0) label->setStyleSheet(QStringLiteral("font-weight: bold"));
            grid->addWidget(label, row, column);
        }
        ++row;
    }
    auto* pause = new QLabel(
        tr("Pauza: klavesa Pause nebo P, na gamepadu Start. Prvni gamepad hraje "
                       "za povstalce, druhy za imperatora (zmena v dialogu Nova hra)."),
        this);
    pause->setWordWrap(true);
    grid->addWidget(pause, row++, 0, 1, 3);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(ok, row, 0, 1, 3, Qt::AlignHCenter);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    FixedDialog::Apply(*this);
    ok->setFocus();
}
