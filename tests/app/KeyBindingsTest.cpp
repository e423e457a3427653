// The player's own keys: what they map, what is refused, how they are kept,
// and the controls page that edits them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "VirtualPad.h"
#include "app/ControlsDialog.h"
#include "app/GamepadInput.h"
#include "app/KeyBindings.h"

using qx::GameKey;

namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kPad = Qt::KeypadModifier;

QString Settings(const QTemporaryDir& dir) {
    return dir.filePath("keys.conf");
}

}  // namespace

TEST(KeyBindings, OwnKeysReplaceTheDefaultsAndOnlyDefaultsKeepTheirOtherKeys) {
    KeyBindings keys = KeyBindings::Defaults();
    EXPECT_EQ(keys.ToGameKey(Qt::Key_8, kPad), GameKey::Up);
    EXPECT_EQ(keys.ToGameKey(Qt::Key_Up, kPad), GameKey::Up);  // Num Lock off
    EXPECT_EQ(keys.ToGameKey(Qt::Key_Enter, kPad), GameKey::Enter);
    EXPECT_EQ(keys.ToGameKey(Qt::Key_Space, Qt::AltModifier), GameKey::None);

    EXPECT_EQ(keys.AssignKey(GameKey::Up, {Qt::Key_W, false}), "");
    EXPECT_EQ(keys.AssignKey(GameKey::Enter, {Qt::Key_E, false}), "");
    EXPECT_EQ(keys.AssignKey(GameKey::Space, {Qt::Key_5, true}), "");
    EXPECT_EQ(keys.ToGameKey(Qt::Key_W, kNone), GameKey::Up);
    EXPECT_EQ(keys.ToGameKey(Qt::Key_Up, kNone), GameKey::None);
    EXPECT_EQ(keys.ToGameKey(Qt::Key_8, kPad), GameKey::None);
    EXPECT_EQ(keys.ToGameKey(Qt::Key_E, kNone), GameKey::Enter);
    EXPECT_EQ(keys.ToGameKey(Qt::Key_Enter, kPad), GameKey::None);
    EXPECT_EQ(keys.ToGameKey(Qt::Key_Return, kNone), GameKey::None);
    // The keypad's 5 fires; the plain 5 does not; the other digits still steer.
    EXPECT_EQ(keys.ToGameKey(Qt::Key_5, kPad), GameKey::Space);
    EXPECT_EQ(keys.ToGameKey(Qt::Key_5, kNone), GameKey::None);
    EXPECT_EQ(keys.ToGameKey(Qt::Key_2, kPad), GameKey::Down);
    EXPECT_EQ(keys.ToGameKey(Qt::Key_Space, kNone), GameKey::None);
    EXPECT_FALSE(keys.IsDefault(GameKey::Up));
    EXPECT_TRUE(keys.IsDefault(GameKey::Down));
}

TEST(KeyBindings, KeysAndButtonsTakenOrReservedAreRefusedWithAWord) {
    KeyBindings keys = KeyBindings::Defaults();
    const QString taken = keys.AssignKey(GameKey::Space, {Qt::Key_X, false});
    EXPECT_TRUE(taken.contains("Strela dolu")) << taken.toStdString();
    EXPECT_EQ(keys.Key(GameKey::Space), (BoundKey{Qt::Key_Space, false}));
    for (const int reserved : {Qt::Key_P, Qt::Key_Pause, Qt::Key_Escape, Qt::Key_Tab}) {
        EXPECT_FALSE(keys.AssignKey(GameKey::Up, {reserved, false}).isEmpty()) << reserved;
    }
    // The keypad's 8 is not the main row's 8.
    EXPECT_EQ(keys.AssignKey(GameKey::Stop, {Qt::Key_8, false}), "");
    // Pad buttons: the Rebel's pad and the Emperor's pad are different pads.
    EXPECT_FALSE(keys.AssignPadButton(GameKey::Space, SDL_CONTROLLER_BUTTON_B).isEmpty());
    EXPECT_FALSE(keys.AssignPadButton(GameKey::Stop, SDL_CONTROLLER_BUTTON_DPAD_UP).isEmpty());
    EXPECT_FALSE(keys.AssignPadButton(GameKey::Enter, SDL_CONTROLLER_BUTTON_A).isEmpty());
    EXPECT_FALSE(keys.AssignPadButton(GameKey::Up, SDL_CONTROLLER_BUTTON_Y).isEmpty());
    EXPECT_EQ(keys.AssignPadButton(GameKey::Enter, SDL_CONTROLLER_BUTTON_Y), "");
    EXPECT_EQ(keys.AssignPadButton(GameKey::Space, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER), "");
    EXPECT_EQ(keys.RebelPadAction(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER), GameKey::Space);
    EXPECT_EQ(keys.RebelPadAction(SDL_CONTROLLER_BUTTON_A), GameKey::None);
    EXPECT_TRUE(keys.EmperorFiresUp(SDL_CONTROLLER_BUTTON_Y));
    EXPECT_FALSE(keys.EmperorFiresUp(SDL_CONTROLLER_BUTTON_LEFTSHOULDER));
}

TEST(KeyBindings, KeptInTheSettingsWithSwapsAndBadEntriesLeaveTheDefaults) {
    QTemporaryDir dir;
    KeyBindings keys = KeyBindings::Defaults();
    // Space and X swap places; the keypad's 5 stops; the pad's A and B swap.
    ASSERT_EQ(keys.AssignKey(GameKey::Space, {Qt::Key_F, false}), "");
    ASSERT_EQ(keys.AssignKey(GameKey::X, {Qt::Key_Space, false}), "");
    ASSERT_EQ(keys.AssignKey(GameKey::Space, {Qt::Key_X, false}), "");
    ASSERT_EQ(keys.AssignKey(GameKey::Stop, {Qt::Key_5, true}), "");
    ASSERT_EQ(keys.AssignPadButton(GameKey::Space, SDL_CONTROLLER_BUTTON_LEFTSHOULDER), "");
    ASSERT_EQ(keys.AssignPadButton(GameKey::X, SDL_CONTROLLER_BUTTON_A), "");
    ASSERT_EQ(keys.AssignPadButton(GameKey::Space, SDL_CONTROLLER_BUTTON_B), "");
    {
        QSettings store(Settings(dir), QSettings::IniFormat);
        keys.Save(store);
        EXPECT_EQ(store.value("Klavesy/strela-dopredu").toString(), "X");
        EXPECT_EQ(store.value("Klavesy/stat").toString(), "Num+5");
        EXPECT_EQ(store.value("Gamepad/strela-dopredu").toString(), "b");
        EXPECT_FALSE(store.contains("Klavesy/nahoru"));  // defaults are not written
    }
    QSettings store(Settings(dir), QSettings::IniFormat);
    EXPECT_TRUE(KeyBindings::Load(store) == keys);

    // A key two actions claim, and entries that name no key, leave the defaults.
    store.setValue("Klavesy/nahoru", "Space");
    EXPECT_TRUE(KeyBindings::Load(store) == KeyBindings::Defaults());
    for (const char* bad : {"", "Ctrl+Q", "A, B", "no such key"}) {
        store.clear();
        store.setValue("Klavesy/nahoru", bad);
        store.setValue("Gamepad/stat", "no such button");
        EXPECT_TRUE(KeyBindings::Load(store) == KeyBindings::Defaults()) << bad;
    }
}

namespace {

class ControlsPageTest : public testing::Test {
  protected:
    void SetUp() override {
        page = std::make_unique<ControlsDialog>(KeyBindings::Defaults(), &pads, nullptr);
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    }
    QPushButton* Button(const char* name) { return page->findChild<QPushButton*>(name); }
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : page.get(),
                        static_cast<Qt::Key>(key), modifiers);
    }

    qx::GameState state;
    GamepadInput pads{[this]() -> const qx::GameState& { return state; }};
    std::unique_ptr<ControlsDialog> page;
};

}  // namespace

TEST_F(ControlsPageTest, AClickAndAKeyPutAnActionOnItAndTakenKeysAreRefused) {
    ASSERT_NE(Button("key-nahoru"), nullptr);
    EXPECT_EQ(Button("key-strela-dopredu")->text(), "mezernik");
    EXPECT_EQ(Button("key-vpravo-nahoru")->text(), "num. 9");
    EXPECT_EQ(Button("key-imperator-strela-nahoru")->text(), "Enter");
    EXPECT_EQ(Button("pad-strela-dopredu")->text(), "A");

    Button("key-nahoru")->click();
    EXPECT_EQ(Button("key-nahoru")->text(), "...");
    Press(Qt::Key_W);
    EXPECT_EQ(Button("key-nahoru")->text(), "W");
    EXPECT_EQ(page->Bindings().Key(GameKey::Up), (BoundKey{Qt::Key_W, false}));
    EXPECT_TRUE(page->isVisible());

    // Enter while a key is awaited is the key, not the page's OK.
    Button("key-dolu")->click();
    Press(Qt::Key_Return);
    EXPECT_TRUE(page->Message().contains("Strela nahoru")) << page->Message().toStdString();
    EXPECT_EQ(page->Bindings().Key(GameKey::Down), (BoundKey{Qt::Key_Down, false}));
    EXPECT_TRUE(page->isVisible());

    // Esc takes the click back and keeps the page open.
    Button("key-dolu")->click();
    Press(Qt::Key_Escape);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(Button("key-dolu")->text(), "sipka dolu");

    Button("key-vlevo")->click();
    Press(Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(Button("key-vlevo")->text(), "num. 4");

    Button("defaultsButton")->click();
    EXPECT_TRUE(page->Bindings() == KeyBindings::Defaults());
    EXPECT_EQ(Button("key-nahoru")->text(), "sipka nahoru");
}

TEST_F(ControlsPageTest, APadButtonIsTakenFromThePad) {
    VirtualPad pad;
    ASSERT_TRUE(pad.Attached());
    pads.Poll();
    Button("pad-strela-dopredu")->click();
    pad.Set(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    pads.Poll();
    EXPECT_EQ(Button("pad-strela-dopredu")->text(), "RIGHTSHOULDER");
    EXPECT_EQ(page->Bindings().PadButton(GameKey::Space), SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    // A button another action has is refused.
    pad.Set(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
    Button("pad-stat")->click();
    pad.Set(SDL_CONTROLLER_BUTTON_B, true);
    pads.Poll();
    EXPECT_EQ(page->Bindings().PadButton(GameKey::Stop), SDL_CONTROLLER_BUTTON_Y);
    EXPECT_FALSE(page->Message().isEmpty());
}
