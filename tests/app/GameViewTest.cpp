#include <gtest/gtest.h>

#include "Printers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "LocalPlay.h"
#include "app/GameView.h"
#include "tests/support/StateEditor.h"

namespace {

class GameViewTest : public testing::Test {
  protected:
    void SetUp() override {
        PlayIn(view, game);
        game.Start(0, {true, true});
        view.resize(800, 600);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    void MoveMouse(QPointF pos) {
        QMouseEvent move(QEvent::MouseMove, pos, view.mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
    }

    // The pending weapon requests, as the traces number them.
    int EmperorFire() const { return static_cast<int>(game.State().emperor.FireRequest()); }
    int RebelFire() const { return static_cast<int>(game.State().rebel.FireRequest()); }
    // Clears both requests; places the Rebel at (x, y) with the target (tx, ty).
    void Prepare(int32_t x = 300, int32_t y = 150, int32_t tx = 123, int32_t ty = 77) {
        qx::GameState state = game.State();
        state.emperor.RequestFire(qx::Weapon::None);
        state.rebel.RequestFire(qx::Weapon::None);
        qx::ShipEditor(state.rebel).At(x, y).Target(tx, ty);
        game.Restore(state);
    }

    qx::Game game;
    GameView view{game};
};

// Where a key leaves the Rebel's target, in terms of the flight box and the
// position the ship has when the key is pressed.
enum Spot { kMin, kHere, kMax, kUntouched };

struct KeyRow {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    Spot x;
    Spot y;
    int fireRequest;
};

constexpr auto kPad = Qt::KeypadModifier;

// The key table: main keys, the keypad with Num Lock on (digits) and off
// (the navigation keys it sends then), and keys that do nothing.
const KeyRow kKeyTable[] = {
    {"Space", Qt::Key_Space, {}, kUntouched, kUntouched, 3},
    {"C", Qt::Key_C, {}, kUntouched, kUntouched, 1},
    {"shifted C", Qt::Key_C, Qt::ShiftModifier, kUntouched, kUntouched, 1},
    {"X", Qt::Key_X, {}, kUntouched, kUntouched, 2},
    {"Home", Qt::Key_Home, {}, kMin, kMin, 0},
    {"keypad 7", Qt::Key_7, kPad, kMin, kMin, 0},
    {"keypad 7, Num Lock off", Qt::Key_Home, kPad, kMin, kMin, 0},
    {"Up", Qt::Key_Up, {}, kHere, kMin, 0},
    {"keypad 8", Qt::Key_8, kPad, kHere, kMin, 0},
    {"keypad 8, Num Lock off", Qt::Key_Up, kPad, kHere, kMin, 0},
    {"keypad 9", Qt::Key_9, kPad, kMax, kMin, 0},
    {"Left", Qt::Key_Left, {}, kMin, kHere, 0},
    {"keypad 4", Qt::Key_4, kPad, kMin, kHere, 0},
    {"keypad 4, Num Lock off", Qt::Key_Left, kPad, kMin, kHere, 0},
    {"Insert", Qt::Key_Insert, {}, kHere, kHere, 0},
    {"keypad 0", Qt::Key_0, kPad, kHere, kHere, 0},
    {"keypad 0, Num Lock off", Qt::Key_Insert, kPad, kHere, kHere, 0},
    {"Right", Qt::Key_Right, {}, kMax, kHere, 0},
    {"keypad 6", Qt::Key_6, kPad, kMax, kHere, 0},
    {"keypad 6, Num Lock off", Qt::Key_Right, kPad, kMax, kHere, 0},
    {"End", Qt::Key_End, {}, kMin, kMax, 0},
    {"keypad 1", Qt::Key_1, kPad, kMin, kMax, 0},
    {"keypad 1, Num Lock off", Qt::Key_End, kPad, kMin, kMax, 0},
    {"Down", Qt::Key_Down, {}, kHere, kMax, 0},
    {"keypad 2", Qt::Key_2, kPad, kHere, kMax, 0},
    {"keypad 2, Num Lock off", Qt::Key_Down, kPad, kHere, kMax, 0},
    {"keypad 3", Qt::Key_3, kPad, kMax, kMax, 0},
    {"Page Up", Qt::Key_PageUp, {}, kUntouched, kUntouched, 0},
    {"keypad 9, Num Lock off", Qt::Key_PageUp, kPad, kUntouched, kUntouched, 0},
    {"Page Down", Qt::Key_PageDown, {}, kUntouched, kUntouched, 0},
    {"keypad 3, Num Lock off", Qt::Key_PageDown, kPad, kUntouched, kUntouched, 0},
    {"keypad 5", Qt::Key_5, kPad, kUntouched, kUntouched, 0},
    {"keypad 5, Num Lock off", Qt::Key_Clear, kPad, kUntouched, kUntouched, 0},
    {"main row 7", Qt::Key_7, {}, kUntouched, kUntouched, 0},
    {"A", Qt::Key_A, {}, kUntouched, kUntouched, 0},
    {"Escape", Qt::Key_Escape, {}, kUntouched, kUntouched, 0},
    {"F1", Qt::Key_F1, {}, kUntouched, kUntouched, 0},
    {"Alt+Space", Qt::Key_Space, Qt::AltModifier, kUntouched, kUntouched, 0},
    {"Alt+Up", Qt::Key_Up, Qt::AltModifier, kUntouched, kUntouched, 0},
};

int Expected(Spot spot, int min, int here, int max, int untouched) {
    switch (spot) {
        case kMin:
            return min;
        case kHere:
            return here;
        case kMax:
            return max;
        case kUntouched:
            break;
    }
    return untouched;
}

}  // namespace

TEST_F(GameViewTest, EveryRowOfTheKeyTable) {
    for (const KeyRow& row : kKeyTable) {
        Prepare();
        QTest::keyClick(&view, row.key, row.modifiers);
        const qx::Ship& rebel = game.State().rebel;
        EXPECT_EQ(rebel.TargetX(), Expected(row.x, 50, 300, 550, 123)) << row.name;
        EXPECT_EQ(rebel.TargetY(), Expected(row.y, 41, 150, 270, 77)) << row.name;
        EXPECT_EQ(RebelFire(), row.fireRequest) << row.name;
        EXPECT_EQ(EmperorFire(), 0) << row.name;
    }
}

TEST_F(GameViewTest, BothEnterKeysFireTheEmperorsUpwardShot) {
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Return, Qt::KeyboardModifiers()},
                                         std::pair{Qt::Key_Enter, Qt::KeyboardModifiers(kPad)}}) {
        Prepare();
        QTest::keyClick(&view, key, modifiers);
        EXPECT_EQ(EmperorFire(), 1);
        EXPECT_EQ(RebelFire(), 0);
    }
}

TEST_F(GameViewTest, AutoRepeatedKeysActAgain) {
    QTest::keyClick(&view, Qt::Key_Space);
    ASSERT_EQ(RebelFire(), 3);
    Prepare();
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
    QApplication::sendEvent(&view, &repeat);
    EXPECT_EQ(RebelFire(), 3);
}

TEST_F(GameViewTest, MouseMapsClientPixelsToTheArena) {
    EXPECT_EQ(game.ClientRect(), (qx::Rect{0, 0, 800, 600}));
    MoveMouse({400, 300});
    EXPECT_EQ(game.State().emperor.TargetX(), 300);
    EXPECT_EQ(game.State().emperor.TargetY(), 200);
    MoveMouse({799, 599});
    EXPECT_EQ(game.State().emperor.TargetX(), 599);
    EXPECT_EQ(game.State().emperor.TargetY(), 399);
    QTest::mouseMove(&view, QPoint(200, 150));
    EXPECT_EQ(game.State().emperor.TargetX(), 150);
    EXPECT_EQ(game.State().emperor.TargetY(), 100);
}

TEST_F(GameViewTest, MovesOutsideTheClientAreaAreDropped) {
    MoveMouse({400, 300});
    for (QPointF outside :
         {QPointF(-1, 300), QPointF(400, -0.5), QPointF(800, 300), QPointF(400, 900)}) {
        MoveMouse(outside);
        EXPECT_EQ(game.State().emperor.TargetX(), 300);
        EXPECT_EQ(game.State().emperor.TargetY(), 200);
    }
}

TEST_F(GameViewTest, ButtonsFireAndTheMiddleButtonActsAsTheRight) {
    const std::pair<Qt::MouseButton, int> buttons[] = {
        {Qt::LeftButton, 3}, {Qt::RightButton, 2}, {Qt::MiddleButton, 2}, {Qt::BackButton, 0}};
    for (const auto& [button, request] : buttons) {
        Prepare();
        QTest::mousePress(&view, button, {}, QPoint(10, 10));
        QTest::mouseRelease(&view, button, {}, QPoint(10, 10));
        EXPECT_EQ(EmperorFire(), request) << button;
    }
}

TEST_F(GameViewTest, TheSecondPressOfADoubleClickRequestsNothing) {
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        Prepare();
        QTest::mouseDClick(&view, button, {}, QPoint(10, 10));
        EXPECT_EQ(EmperorFire(), 0) << button;
    }
}

TEST_F(GameViewTest, TheScreenCoversTheWholeClientAreaAtAnySize) {
    for (QSize size : {QSize(800, 600), QSize(1203, 401), QSize(17, 900)}) {
        view.resize(size);
        view.repaint();
        EXPECT_EQ(game.Screen().Width(), size.width());
        EXPECT_EQ(game.Screen().Height(), size.height());
        const QImage shown = view.grab().toImage();
        EXPECT_EQ(shown.size(), size);
        // What the window shows is the game's screen, pixel for pixel.
        const int x = size.width() - 1, y = size.height() / 2;
        EXPECT_EQ(shown.pixel(x, y) & 0xFFFFFF, game.Screen().Pixel(x, y));
    }
}

TEST_F(GameViewTest, AZeroSizedClientAreaDrawsNothingAndTheGameGoesOn) {
    for (QSize size : {QSize(0, 300), QSize(300, 0), QSize(0, 0)}) {
        view.resize(size);
        view.repaint();
        EXPECT_TRUE(game.Screen().Empty());
        const int targetX = game.State().emperor.TargetX();
        MoveMouse({0, 0});
        EXPECT_EQ(game.State().emperor.TargetX(), targetX);
        for (int tick = 0; tick < 40; ++tick) game.Tick();
        game.Repaint();
    }
    view.resize(600, 400);
    view.repaint();
    EXPECT_EQ(game.ClientRect(), (qx::Rect{0, 0, 600, 400}));
}

// A paint shows the game's screen as it stands; only a change of size (or
// the window's own request) recomposes the scene.
TEST_F(GameViewTest, APaintShowsTheScreenWithoutRecomposingTheScene) {
    view.repaint();
    const uint32_t marker = 0x123456;
    const_cast<uint32_t*>(game.Screen().Data())[0] = marker;
    view.repaint();
    EXPECT_EQ(view.grab().toImage().pixel(0, 0) & 0xFFFFFF, marker);
    view.resize(801, 600);
    view.repaint();
    EXPECT_NE(game.Screen().Pixel(0, 0), marker);
    const_cast<uint32_t*>(game.Screen().Data())[0] = marker;
    view.FullRepaint();
    EXPECT_NE(game.Screen().Pixel(0, 0), marker);
}

// The view changes no game: what the player does leaves it as inputs at the
// game's level, and a full repaint is asked for, not run.
TEST(GameViewAlone, SendsInputsOutAndChangesNoGame) {
    qx::Game game;
    game.Start(0, {true, true});
    GameView view(game);
    QSignalSpy inputs(&view, &GameView::Input);
    QSignalSpy repaints(&view, &GameView::RepaintWanted);
    view.resize(600, 400);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.repaint();
    EXPECT_EQ(repaints.count(), 1);
    const uint64_t before = qx::Checksum(game.State());
    QTest::mouseMove(&view, QPoint(300, 200));
    QTest::mouseClick(&view, Qt::RightButton, {}, QPoint(300, 200));
    QTest::keyClick(&view, Qt::Key_Up);
    ASSERT_EQ(inputs.count(), 3);
    EXPECT_EQ(inputs[0][0].value<qx::GameInput>(), qx::GameInput::Target(300, 200));
    EXPECT_EQ(inputs[1][0].value<qx::GameInput>(), qx::GameInput::Fire(qx::Weapon::Down));
    EXPECT_EQ(inputs[2][0].value<qx::GameInput>(), qx::GameInput::Key(qx::GameKey::Up));
    EXPECT_EQ(qx::Checksum(game.State()), before);
}

// Another game shown takes the view's size and is drawn anew; a game shown
// again at the size it has keeps its picture (no repaint, which the window's
// own game would take as an input).
TEST(GameViewAlone, ShowsAnotherGameAndTheFirstAgain) {
    qx::Game own, other;
    own.Start(0, {true, true});
    other.Start(5, {false, false});
    GameView view(own);
    view.resize(500, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.repaint();
    QSignalSpy repaints(&view, &GameView::RepaintWanted);
    view.ShowGame(other);
    view.repaint();
    EXPECT_EQ(repaints.count(), 1);
    EXPECT_EQ(other.ClientRect(), own.ClientRect());
    view.ShowGame(own);
    view.repaint();
    EXPECT_EQ(repaints.count(), 1);
    EXPECT_EQ(&view.ShownGame(), &own);
}

TEST(HiDpi, ClientPixelsAreDevicePixels) {
    qx::Game game;
    GameView view(game);
    PlayIn(view, game);
    game.Start(0, {true, true});
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    if (view.devicePixelRatioF() != 2.0) GTEST_SKIP() << "runs with QT_SCALE_FACTOR=2";
    view.repaint();
    EXPECT_EQ(game.ClientRect(), (qx::Rect{0, 0, 800, 600}));
    EXPECT_EQ(game.Screen().Width(), 800);
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 150), view.mapToGlobal(QPointF(200, 150)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
    EXPECT_EQ(game.State().emperor.TargetX(), 300);
    EXPECT_EQ(game.State().emperor.TargetY(), 200);
    // The picture is drawn 1:1 in device pixels.
    const QImage shown = view.grab().toImage();
    EXPECT_EQ(shown.size(), QSize(800, 600));
    EXPECT_EQ(shown.pixel(799, 300) & 0xFFFFFF, game.Screen().Pixel(799, 300));
}
