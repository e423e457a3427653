#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "web/RgbaMirror.h"
#include "web/WebGame.h"

using qx::PlayerChoice;
using qx::web::WebGame;

namespace {

// Records what the page would show, in order.
class RecordedDialogs : public qx::web::PageDialogs {
  public:
    void OpenEndOfGame(const std::string& caption, const std::string& text) override {
        opened.push_back("end: " + caption + " | " + text);
    }
    void OpenNewGame(const PlayerChoice& choice) override {
        opened.push_back(std::string("new: ") + (choice.emperorHuman ? "human" : "computer") + " " +
                         (choice.rebelHuman ? "human" : "computer"));
    }
    std::vector<std::string> opened;
};

struct StartedGame : ::testing::Test {
    RecordedDialogs dialogs;
    WebGame game{dialogs};
    void SetUp() override { game.Start(7, {true, false}, 600, 400); }
};

}  // namespace

// The page cannot wait for its dialog: the game runs on only once it closes.
TEST_F(StartedGame, NewGameHoldsTheTicksUntilItsDialogCloses) {
    EXPECT_TRUE(game.Tick());
    game.NewGame();
    ASSERT_EQ(dialogs.opened, std::vector<std::string>{"new: human computer"});
    EXPECT_TRUE(game.NewGameDialogOpen());
    EXPECT_FALSE(game.Tick());
    game.NewGame();  // the menu again while the dialog is open: nothing new
    EXPECT_EQ(dialogs.opened.size(), 1u);

    game.CloseNewGameDialog(true, {false, true});
    EXPECT_FALSE(game.NewGameDialogOpen());
    EXPECT_TRUE(game.EmperorComputer());
    EXPECT_FALSE(game.RebelComputer());
    EXPECT_TRUE(game.Tick());
}

TEST_F(StartedGame, ClosingTheDialogWithoutOkKeepsThePlayers) {
    game.NewGame();
    game.CloseNewGameDialog(false, {false, false});
    EXPECT_FALSE(game.EmperorComputer());
    EXPECT_TRUE(game.RebelComputer());
    EXPECT_TRUE(game.Tick());
    game.CloseNewGameDialog(true, {false, false});  // no dialog open: ignored
    EXPECT_FALSE(game.EmperorComputer());
}

// An idle Emperor loses three rounds to the computer: the end message, then
// (once it is closed) the New game dialog; no tick runs until both are.
TEST_F(StartedGame, EndOfGameOpensTheMessageThenTheNewGameDialog) {
    game.NewGame();
    game.CloseNewGameDialog(true, {true, false});
    int ticks = 0;
    while (dialogs.opened.size() < 2 && ticks < 20000) {
        game.Tick();
        ++ticks;
    }
    ASSERT_EQ(dialogs.opened.size(), 2u) << ticks;
    EXPECT_EQ(dialogs.opened[1].rfind("end: End.. | Je konec imperatora! \n", 0), 0u)
        << dialogs.opened[1];
    EXPECT_FALSE(game.Tick());
    game.NewGame();  // the menu while a dialog is open: nothing
    game.CloseEndOfGame();
    ASSERT_EQ(dialogs.opened.size(), 3u);
    EXPECT_EQ(dialogs.opened[2], "new: human computer");
    EXPECT_FALSE(game.Tick());
    game.CloseNewGameDialog(true, {true, false});
    EXPECT_TRUE(game.Tick());
}

// The page's game is the desktop's, also when a game ends and the player
// changes sides in the dialog: the rest of that tick runs with the new
// players in both.
TEST(WebGame, AGameEndWithAChangeOfSidesGoesAsInTheNativeGame) {
    RecordedDialogs dialogs;
    WebGame page{dialogs};
    page.Start(7, {true, false}, 600, 400);
    page.NewGame();
    page.CloseNewGameDialog(true, {true, false});

    qx::Game native;
    native.OnSize(600, 400);
    native.Start(7, {true, false});
    native.Apply(qx::GameInput::Repaint());
    native.Apply(qx::GameInput::NewGame());
    native.Apply(qx::GameInput::PlayersChosen(PlayerChoice{true, false}));
    ASSERT_EQ(Checksum(page.State()), Checksum(native.State()));

    int ends = 0;
    for (int tick = 1; tick <= 6000; ++tick) {
        if (tick % 40 == 0) {
            page.MouseMove(tick % 600, 300);
            native.Apply(qx::GameInput::Target(tick % 600, 300));
        }
        page.Tick();
        native.Tick();
        if (native.Waiting()) {
            // Sides change at every end: the person takes the other ship.
            const PlayerChoice next{!native.State().emperor.Computer() ? false : true,
                                    !native.State().rebel.Computer() ? false : true};
            ++ends;
            page.CloseEndOfGame();
            page.CloseNewGameDialog(true, next);
            native.Apply(qx::GameInput::EndOfGameClosed());
            native.Apply(qx::GameInput::PlayersChosen(next));
        }
        ASSERT_EQ(Checksum(page.State()), Checksum(native.State()))
            << "tick " << tick << ": " << FirstDifference(native.State(), page.State());
    }
    EXPECT_GE(ends, 2);
}

TEST_F(StartedGame, InputSteersThePersonsShip) {
    game.NewGame();
    game.CloseNewGameDialog(true, {true, true});
    const int32_t emperorStart = game.EmperorX();
    const int32_t rebelStart = game.RebelX();
    game.MouseMove(599, 200);
    game.Key(qx::GameKey::Left);
    for (int i = 0; i < 20; ++i) game.Tick();
    EXPECT_GT(game.EmperorX(), emperorStart);
    EXPECT_LT(game.RebelX(), rebelStart);
}

TEST(RgbaMirror, ConvertsOnlyTheGivenBoxToCanvasByteOrder) {
    qx::Surface screen(4, 3, 0x00102030);
    qx::web::RgbaMirror mirror;
    mirror.CopyAll(screen);
    ASSERT_EQ(mirror.Width(), 4);
    const uint8_t* bytes = mirror.Bytes();
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4),
              (std::vector<uint8_t>{0x10, 0x20, 0x30, 255}));

    screen.Fill(0x00FF0000);
    mirror.Copy(screen, {2, 1, 5, 5});  // reaches past the edge: clipped
    EXPECT_EQ(bytes[(1 * 4 + 2) * 4], 0xFF);
    EXPECT_EQ(bytes[(2 * 4 + 3) * 4 + 3], 255);
    EXPECT_EQ(bytes[(1 * 4 + 1) * 4], 0x10);  // left of the box: unchanged

    mirror.Copy(qx::Surface(2, 2, 0), {0, 0, 2, 2});  // another size: ignored
    EXPECT_EQ(bytes[0], 0x10);
}
