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
    {"", "Imperator (bila lod)", "Povstalec (cervena lod)"},
    {"Rizeni", "mys: lod leti k ukazateli", "sipky, Home, End, Insert (stat)"},
    {"", "", "numericka klavesnice 1-4, 6-9, 0 (stat)"},
    {"Strela dopredu", "leve tlacitko mysi", "mezernik"},
    {"Strela dolu", "prave nebo prostredni tlacitko", "X"},
    {"Strela nahoru", "Enter", "C"},
    {"Gamepad", "leva packa miri", "leva packa nebo krizovy ovladac"},
    {"", "RT nebo RB / A: dopredu", "A: dopredu, Y: stat"},
    {"", "LT / B: dolu, LB / X: nahoru", "B: dolu, X: nahoru"},
};

}  // namespace

ControlsDialog::ControlsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Ovladani"));
    setModal(true);
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    int row = 0;
    for (const Row& r : kRows) {
        const char* texts[] = {r.what, r.emperor, r.rebel};
        for (int column = 0; column < 3; ++column) {
            auto* label = new QLabel(QString::fromLatin1(texts[column]), this);
            if (row == 0 || column == 0) label->setStyleSheet(QStringLiteral("font-weight: bold"));
            grid->addWidget(label, row, column);
        }
        ++row;
    }
    auto* pause = new QLabel(
        QStringLiteral("Pauza: klavesa Pause nebo P, na gamepadu Start. Prvni gamepad hraje "
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
