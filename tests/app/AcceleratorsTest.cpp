// Every dialog's and menu's Alt accelerators are its own, in both languages.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <functional>
#include <map>
#include <memory>

#include "ConfigSandbox.h"
#include "app/AboutDialog.h"
#include "app/ControlsDialog.h"
#include "app/Language.h"
#include "app/MainWindow.h"
#include "app/NetGameDialog.h"
#include "app/NewGameDialog.h"

namespace {

// The letter after a single '&' ("&&" is a plain '&'), lower case; none
// when the text has no accelerator.
QChar Accelerator(const QString& text) {
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return {};
}

// The texts of one window that can carry an accelerator.
QStringList Texts(QWidget& window) {
    QStringList texts;
    for (auto* button : window.findChildren<QAbstractButton*>()) texts << button->text();
    for (auto* label : window.findChildren<QLabel*>()) texts << label->text();
    for (auto* group : window.findChildren<QGroupBox*>()) texts << group->title();
    return texts;
}

QStringList Texts(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* action : actions) texts << action->text();
    return texts;
}

// Each accelerator used by one text only; says which texts share one.
std::string Clashes(const QStringList& texts) {
    std::map<QChar, QStringList> users;
    for (const QString& text : texts) {
        if (const QChar key = Accelerator(text); !key.isNull()) users[key] << text;
    }
    std::string clashes;
    for (const auto& [key, owners] : users) {
        if (owners.size() > 1) clashes += owners.join(" / ").toStdString() + "; ";
    }
    return clashes;
}

void CheckEveryWindow(const char* language) {
    std::vector<std::pair<const char*, std::unique_ptr<QWidget>>> dialogs;
    dialogs.emplace_back("NewGame", std::make_unique<NewGameDialog>(qx::PlayerChoice{}, nullptr));
    dialogs.emplace_back("About", std::make_unique<AboutDialog>(nullptr));
    dialogs.emplace_back(
        "Controls", std::make_unique<ControlsDialog>(KeyBindings::Defaults(), nullptr, nullptr));
    dialogs.emplace_back("Net", std::make_unique<NetGameDialog>(NetSetup{}, nullptr));
    auto padDialog = std::make_unique<NewGameDialog>(qx::PlayerChoice{}, nullptr);
    padDialog->ShowPadChoice(false);
    dialogs.emplace_back("NewGame with a pad", std::move(padDialog));
    for (auto& [name, dialog] : dialogs) {
        EXPECT_EQ(Clashes(Texts(*dialog)), "") << language << " " << name;
    }
    MainWindow frame;
    const QList<QAction*> menus = frame.menuBar()->actions();
    EXPECT_EQ(Clashes(Texts(menus)), "") << language << " menu bar";
    for (QAction* menu : menus) {
        EXPECT_EQ(Clashes(Texts(menu->menu()->actions())), "")
            << language << " " << menu->text().toStdString();
        for (QAction* item : menu->menu()->actions()) {
            if (item->menu()) {
                EXPECT_EQ(Clashes(Texts(item->menu()->actions())), "") << language;
            }
        }
    }
}

}  // namespace

TEST(Accelerators, TheFindingWorks) {
    EXPECT_EQ(Accelerator("Si&tova hra..."), 't');
    EXPECT_EQ(Accelerator("Fish && &Chips"), 'c');
    EXPECT_TRUE(Accelerator("OK").isNull());
    EXPECT_NE(Clashes({"&Port:", "&Pripojit se ke hre"}), "");
}

TEST(Accelerators, EveryDialogAndMenuHasItsOwnInBothLanguages) {
    ConfigSandbox config;
    CheckEveryWindow("cs");
    config.Put("Vzhled/jazyk", "en");
    Language english;
    ASSERT_TRUE(english.Apply(Language::Code::English));
    CheckEveryWindow("en");
}
