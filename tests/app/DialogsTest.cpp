#include <gtest/gtest.h>

#include "Printers.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/AboutDialog.h"
#include "app/Language.h"
#include "app/NetGameDialog.h"
#include "app/NewGameDialog.h"

namespace {

template <typename T>
T* Child(QWidget& dialog, const char* name) {
    T* child = dialog.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

QString Text(QWidget& dialog, const char* name) {
    if (auto* label = dialog.findChild<QLabel*>(name)) return label->text();
    if (auto* button = dialog.findChild<QAbstractButton*>(name)) return button->text();
    if (auto* group = dialog.findChild<QGroupBox*>(name)) return group->title();
    ADD_FAILURE() << "no control " << name;
    return {};
}

void ExpectPicture(QWidget& dialog, const char* name, QSize size) {
    QLabel* label = Child<QLabel>(dialog, name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->pixmap().size(), size) << name;
}

// Every text fits its control and every control lies inside the dialog.
void ExpectNothingClipped(QWidget& dialog) {
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        EXPECT_TRUE(dialog.rect().contains(control->geometry()))
            << control->objectName().toStdString();
        if (auto* label = qobject_cast<QLabel*>(control); label && !label->text().isEmpty()) {
            EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        }
    }
}

}  // namespace

TEST(NewGameDialog, HasTheControlsAndTextsOfItsTemplate) {
    NewGameDialog dialog({true, true}, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Nova hra");
    EXPECT_EQ(Text(dialog, "okButton"), "OK");
    EXPECT_TRUE(Child<QPushButton>(dialog, "okButton")->isDefault());
    EXPECT_EQ(Text(dialog, "emperorHuman"), "Clovek");
    EXPECT_EQ(Text(dialog, "emperorLabel"), "Za imperatora Morvathe I. hraje : ");
    EXPECT_EQ(Text(dialog, "emperorGroup"), "Imperator");
    EXPECT_EQ(Text(dialog, "rebelHuman"), "Clovek");
    EXPECT_EQ(Text(dialog, "rebelLabel"), "Za vudce povstalcu Keldorova  hraje : ");
    EXPECT_EQ(Text(dialog, "rebelGroup"), "Povstalec");
    EXPECT_EQ(Text(dialog, "versusLabel"), "vs.");
    EXPECT_TRUE(Child<QLabel>(dialog, "versusLabel")->alignment() & Qt::AlignHCenter);
    ExpectPicture(dialog, "emperorShip", QSize(50, 21));
    ExpectPicture(dialog, "rebelShip", QSize(50, 21));
    ExpectPicture(dialog, "emperorIcon", QSize(32, 32));
    ExpectPicture(dialog, "rebelIcon", QSize(32, 32));
    ExpectNothingClipped(dialog);
    // Laid out from the template: the Emperor above the Rebel, OK at the bottom.
    EXPECT_LT(Child<QWidget>(dialog, "emperorGroup")->y(),
              Child<QWidget>(dialog, "rebelGroup")->y());
    EXPECT_GT(Child<QWidget>(dialog, "okButton")->y(), Child<QWidget>(dialog, "rebelGroup")->y());
}

TEST(NewGameDialog, OpensOnOkAndTabsThroughBothCheckBoxes) {
    NewGameDialog dialog({true, true}, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QWidget* ok = Child<QWidget>(dialog, "okButton");
    EXPECT_EQ(dialog.focusWidget(), ok);
    for (const char* next : {"emperorHuman", "rebelHuman", "okButton"}) {
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(dialog.focusWidget(), Child<QWidget>(dialog, next)) << next;
    }
}

TEST(NewGameDialog, CheckBoxesOpenWithWhoPlaysNowAndAreClickable) {
    for (const qx::PlayerChoice choice :
         {qx::PlayerChoice{true, true}, {false, true}, {true, false}, {false, false}}) {
        NewGameDialog dialog(choice, nullptr);
        EXPECT_EQ(Child<QCheckBox>(dialog, "emperorHuman")->isChecked(), choice.emperorHuman);
        EXPECT_EQ(Child<QCheckBox>(dialog, "rebelHuman")->isChecked(), choice.rebelHuman);
        EXPECT_EQ(dialog.Choice().emperorHuman, choice.emperorHuman);
        EXPECT_EQ(dialog.Choice().rebelHuman, choice.rebelHuman);
    }
    NewGameDialog dialog({true, true}, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // The group boxes lie beneath the check boxes, so a click reaches them.
    QCheckBox* emperor = Child<QCheckBox>(dialog, "emperorHuman");
    QTest::mouseClick(emperor, Qt::LeftButton, {}, QPoint(8, emperor->height() / 2));
    EXPECT_FALSE(dialog.Choice().emperorHuman);
    EXPECT_TRUE(dialog.Choice().rebelHuman);
}

TEST(NewGameDialog, EnterAcceptsAndEscapeRejects) {
    NewGameDialog accepted({true, true}, nullptr);
    accepted.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&accepted));
    QTest::keyClick(&accepted, Qt::Key_Return);
    EXPECT_EQ(accepted.result(), QDialog::Accepted);

    NewGameDialog rejected({true, true}, nullptr);
    rejected.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&rejected));
    QTest::keyClick(&rejected, Qt::Key_Escape);
    EXPECT_EQ(rejected.result(), QDialog::Rejected);
}

TEST(AboutDialog, HasTheControlsAndTextsOfItsTemplate) {
    AboutDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "O Aplikaci Quarnex II");
    EXPECT_EQ(Text(dialog, "okButton"), "OK");
    EXPECT_TRUE(Child<QPushButton>(dialog, "okButton")->isDefault());
    EXPECT_EQ(Text(dialog, "versionLabel"), "Quarnex II - (2.00)");
    EXPECT_TRUE(Text(dialog, "creditsLabel").contains("1999"));
    EXPECT_EQ(Text(dialog, "makerLabel"), "Marbek");
    ExpectPicture(dialog, "emperorIcon", QSize(32, 32));
    ExpectPicture(dialog, "rebelIcon", QSize(32, 32));
    EXPECT_LT(Child<QWidget>(dialog, "emperorIcon")->y(), Child<QWidget>(dialog, "rebelIcon")->y());
    ExpectNothingClipped(dialog);

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(Dialogs, HaveAFixedSizeAndOnlyACloseButton) {
    NewGameDialog newGame({true, true}, nullptr);
    AboutDialog about(nullptr);
    for (QDialog* dialog : {static_cast<QDialog*>(&newGame), static_cast<QDialog*>(&about)}) {
        const Qt::WindowFlags flags = dialog->windowFlags();
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint) << dialog->windowTitle().toStdString();
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
        EXPECT_EQ(dialog->minimumSize(), dialog->size());
    }
}

// The hints in the Network game dialog's empty fields show whole, in either
// language.
TEST(NetGameDialog, ShowsItsHintsWhole) {
    for (const Language::Code code : {Language::Code::Czech, Language::Code::English}) {
        Language language;
        language.Apply(code);
        NetGameDialog dialog(NetSetup{}, nullptr);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        int hints = 0;
        for (const QLineEdit* field : dialog.findChildren<QLineEdit*>()) {
            const QString hint = field->placeholderText();
            if (hint.isEmpty()) continue;
            ++hints;
            const QRect room = field->contentsRect() - field->textMargins();
            EXPECT_LE(field->fontMetrics().horizontalAdvance(hint) + 4, room.width())
                << hint.toStdString();
        }
        EXPECT_EQ(hints, 3);
    }
}
