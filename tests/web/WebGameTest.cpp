#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "replay/ReplayCheck.h"
#include "replay/ReplayReader.h"
#include "web/RgbaMirror.h"
#include "web/WebGame.h"
#include "web/WebReplay.h"

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
    native.SetClientSize(600, 400);
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

namespace {

// Plays a page session: the start-up, mouse moves, a resize, and every game
// end answered with the sides changed. Returns the number of game ends.
int PlaySession(WebGame& page, int ticks) {
    page.Start(11, {true, false}, 600, 400);
    page.NewGame();
    page.CloseNewGameDialog(true, {true, false});
    int ends = 0;
    for (int tick = 1; tick <= ticks; ++tick) {
        if (tick % 35 == 0) page.MouseMove(tick % 600, 100 + tick % 200);
        if (tick == 500) page.Resize(800, 500);
        page.Tick();
        if (page.State().wait.what == qx::WaitFor::EndOfGameBox) {
            ++ends;
            page.CloseEndOfGame();
            page.CloseNewGameDialog(true, {page.EmperorComputer(), page.RebelComputer()});
        }
    }
    return ends;
}

}  // namespace

// Every page game is recorded: the replay file reads, fits the game and
// ends in the page's state, also across game ends with a change of sides.
TEST(WebGameReplay, TheRecordedSessionPlaysBackToThePagesState) {
    RecordedDialogs dialogs;
    WebGame page{dialogs};
    ASSERT_GE(PlaySession(page, 3000), 2);

    qx::ReplayError error;
    const std::optional<qx::Replay> replay = qx::ReadReplayText(page.ReplayText(), error);
    ASSERT_TRUE(replay) << error.Describe();
    EXPECT_EQ(replay->tickCount, 3000);
    // The start-up is the desktop's: a repaint, New game and its answer.
    ASSERT_FALSE(replay->ticks.empty());
    EXPECT_EQ(replay->ticks[0].tick, 0);
    EXPECT_EQ(replay->ticks[0].before.size(), 3u);
    qx::GameState end;
    const qx::ReplayError played = qx::CheckReplay(*replay, &end);
    EXPECT_FALSE(played) << played.Describe();
    EXPECT_EQ(replay->finalChecksum, Checksum(page.State()));
    EXPECT_EQ(Checksum(end), Checksum(page.State()));
}

// The page shows a replay on a game of its own, tick by tick, and holds
// its last picture a second; a damaged file is refused before it plays.
TEST(WebGameReplay, AReplayPlaysToItsRecordedEndAndABadOneIsRefused) {
    RecordedDialogs dialogs;
    WebGame page{dialogs};
    PlaySession(page, 700);
    const std::string text = page.ReplayText();

    qx::ReplayError error;
    auto shown = qx::web::WebReplay::Open(text, 320, 200, error);
    ASSERT_TRUE(shown) << error.Describe();
    EXPECT_EQ(shown->Screen().Width(), 320);
    int timerTicks = 0;
    while (shown->Tick()) ++timerTicks;
    EXPECT_EQ(timerTicks, 700 + 32);
    EXPECT_EQ(shown->TicksPlayed(), 700);
    EXPECT_EQ(Checksum(shown->State()), Checksum(page.State()));

    std::string damaged = text;
    const size_t check = damaged.find("\ncheck 600 ");
    ASSERT_NE(check, std::string::npos);
    damaged[check + 12] = damaged[check + 12] == '0' ? '1' : '0';
    EXPECT_FALSE(qx::web::WebReplay::Open(damaged, 320, 200, error));
    EXPECT_EQ(error.code, qx::ReplayError::Code::Diverged);
    EXPECT_FALSE(qx::web::WebReplay::Open("quarnex-replay 2\nseed 1\n", 320, 200, error));
    EXPECT_EQ(error.code, qx::ReplayError::Code::Truncated);
}

TEST_F(StartedGame, InputSteersThePersonsShip) {
    game.NewGame();
    game.CloseNewGameDialog(true, {true, true});
    const int32_t emperorStart = game.State().emperor.X();
    const int32_t rebelStart = game.State().rebel.X();
    game.MouseMove(599, 200);
    game.Key(qx::GameKey::Left);
    for (int i = 0; i < 20; ++i) game.Tick();
    EXPECT_GT(game.State().emperor.X(), emperorStart);
    EXPECT_LT(game.State().rebel.X(), rebelStart);
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
