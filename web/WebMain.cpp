// The functions the page script calls. One game per page; the page starts it
// with qx_start and then drives it with the page's events and its 30 ms tick.
// After each call that may draw, the page calls qx_present and copies the
// returned boxes of qx_rgba() to its canvas. While a replay plays
// (qx_replay_open, then qx_replay_tick on the page's timer) the canvas shows
// its game instead and the page's own game stands still. A network game
// (WebNetMain.cpp) likewise takes the canvas and the player's inputs while
// it runs.
#include <emscripten.h>

#include <memory>
#include <string>

#include "gfx/DirtyRegion.h"
#include "gfx/ResourceLibrary.h"
#include "web/BrowserDialogs.h"
#include "web/RgbaMirror.h"
#include "web/WebGame.h"
#include "web/WebNetMain.h"
#include "web/WebReplay.h"

using qx::web::WebGame;

// The page names the game's keys by these numbers.
static_assert(static_cast<int>(qx::GameKey::Space) == 1 && static_cast<int>(qx::GameKey::X) == 2 &&
              static_cast<int>(qx::GameKey::C) == 3 && static_cast<int>(qx::GameKey::Enter) == 4 &&
              static_cast<int>(qx::GameKey::UpLeft) == 5 &&
              static_cast<int>(qx::GameKey::DownRight) == 13);
static_assert(sizeof(qx::Box) == 4 * sizeof(int32_t));

namespace {

qx::web::BrowserDialogs dialogs;
std::unique_ptr<WebGame> game;
std::unique_ptr<qx::web::WebReplay> replay;
qx::web::RgbaMirror mirror;
const void* mirrored = nullptr;  // the game whose screen the mirror shows
std::vector<qx::Box> presented;
qx::web::RgbaMirror picture;
// Text handed to the page (qx_text): a saved replay, a checksum.
std::string text;
// The replay file's bytes the page writes (qx_replay_buffer).
std::string replayBytes;
qx::ReplayError replayError;
uint64_t replaySum = 0;  // the state's checksum of the replay playing or played last

// The network game that takes the player's inputs, if one runs.
qx::web::WebNetGame* NetGame() {
    return qx::web::RunningNetGame();
}

// The game the canvas shows (other than a replay): a network game once it
// has begun, else the page's own.
const qx::Game* NetShown() {
    return NetGame() ? NetGame()->Shown() : nullptr;
}

const qx::GameState& ShownState() {
    return NetShown() ? NetShown()->State() : game->State();
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void qx_start(uint32_t seed, int emperorComputer, int rebelComputer, int width,
                                   int height) {
    if (game) return;
    game = std::make_unique<WebGame>(dialogs);
    game->Start(seed, {emperorComputer == 0, rebelComputer == 0}, width, height);
}

EMSCRIPTEN_KEEPALIVE void qx_resize(int width, int height) {
    game->Resize(width, height);
    if (replay) replay->Resize(width, height);
    if (NetGame()) NetGame()->Resize(width, height);
}

EMSCRIPTEN_KEEPALIVE void qx_paint() {
    if (NetGame()) return NetGame()->Paint();
    game->Paint();
}

EMSCRIPTEN_KEEPALIVE int qx_tick() {
    return game->Tick() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void qx_mouse_move(int x, int y) {
    if (NetGame()) return NetGame()->MouseMove(x, y);
    game->MouseMove(x, y);
}

EMSCRIPTEN_KEEPALIVE void qx_left_button() {
    if (NetGame()) return NetGame()->LeftButton();
    game->LeftButton();
}

EMSCRIPTEN_KEEPALIVE void qx_right_button() {
    if (NetGame()) return NetGame()->RightButton();
    game->RightButton();
}

// `key` is a qx::GameKey by number (web/page/keys.mjs holds the same table);
// numbers it does not know are ignored.
EMSCRIPTEN_KEEPALIVE void qx_key(int key) {
    if (key <= 0 || key > static_cast<int>(qx::GameKey::DownRight)) return;
    if (NetGame()) return NetGame()->Key(static_cast<qx::GameKey>(key));
    game->Key(static_cast<qx::GameKey>(key));
}

EMSCRIPTEN_KEEPALIVE void qx_new_game() {
    if (NetGame()) return NetGame()->NewGame();
    game->NewGame();
}

EMSCRIPTEN_KEEPALIVE void qx_close_end_of_game() {
    game->CloseEndOfGame();
}

EMSCRIPTEN_KEEPALIVE void qx_close_new_game(int confirmed, int emperorHuman, int rebelHuman) {
    game->CloseNewGameDialog(confirmed != 0, {emperorHuman != 0, rebelHuman != 0});
}

EMSCRIPTEN_KEEPALIVE int qx_emperor_computer() {
    return game->EmperorComputer() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int qx_rebel_computer() {
    return game->RebelComputer() ? 1 : 0;
}

// A ship's position in arena units (rebel = 1: the Rebel's), for the page's
// status report.
EMSCRIPTEN_KEEPALIVE int qx_ship_x(int rebel) {
    return rebel != 0 ? ShownState().rebel.X() : ShownState().emperor.X();
}

EMSCRIPTEN_KEEPALIVE int qx_ship_y(int rebel) {
    return rebel != 0 ? ShownState().rebel.Y() : ShownState().emperor.Y();
}

// Rounds won (rebel = 1: the Rebel's), for the score in the page's title.
EMSCRIPTEN_KEEPALIVE int qx_wins(int rebel) {
    return rebel != 0 ? ShownState().rebel.Wins() : ShownState().emperor.Wins();
}

// The Emperor's steering target in arena units (y = 1: its y), where a
// gamepad's aim starts from.
EMSCRIPTEN_KEEPALIVE int qx_target(int y) {
    return y != 0 ? ShownState().emperor.TargetY() : ShownState().emperor.TargetX();
}

// A gamepad's aim for the Emperor, in arena units.
EMSCRIPTEN_KEEPALIVE void qx_aim(int x, int y) {
    if (NetGame()) return NetGame()->Aim(x, y);
    game->Aim(x, y);
}

EMSCRIPTEN_KEEPALIVE int qx_ticking() {
    return game->Ticking() ? 1 : 0;
}

// Brings the RGBA copy up to date and returns how many boxes changed; their
// x, y, w, h follow one another at qx_presented(). A new screen size (or
// full = 1) converts and reports the whole screen.
// The replay playing, if any, is shown in place of the game, and so is a
// network game that has begun.
EMSCRIPTEN_KEEPALIVE int qx_present(int full) {
    const void* source = replay       ? static_cast<const void*>(replay.get())
                         : NetShown() ? static_cast<const void*>(NetShown())
                                      : game.get();
    const qx::Surface& screen = replay       ? replay->Screen()
                                : NetShown() ? NetShown()->Screen()
                                             : game->Screen();
    std::vector<qx::Box> writes = replay       ? replay->TakeScreenWrites()
                                  : NetShown() ? NetGame()->TakeScreenWrites()
                                               : game->TakeScreenWrites();
    if (full != 0 || source != mirrored || mirror.Width() != screen.Width() ||
        mirror.Height() != screen.Height()) {
        mirrored = source;
        mirror.CopyAll(screen);
        presented = {{0, 0, screen.Width(), screen.Height()}};
        if (screen.Empty()) presented.clear();
    } else {
        presented = qx::DirtyRegion::Merge(writes, screen.Width(), screen.Height());
        for (const qx::Box& box : presented) mirror.Copy(screen, box);
    }
    return static_cast<int>(presented.size());
}

// The text of the last call that gave one; its length is what that call
// returned.
EMSCRIPTEN_KEEPALIVE const char* qx_text() {
    return text.data();
}

// The game so far as a replay file (of a network game: its confirmed ticks);
// returns its length (qx_text).
EMSCRIPTEN_KEEPALIVE int qx_replay_save() {
    text = NetShown() ? NetGame()->ReplayText() : game->ReplayText();
    return static_cast<int>(text.size());
}

// The checksum of the game's state in 16 hex digits, as the simulator
// prints it (ofReplay = 1: of the replay playing or played last); returns
// its length (qx_text).
EMSCRIPTEN_KEEPALIVE int qx_checksum(int ofReplay) {
    text = qx::ChecksumHex(ofReplay != 0 ? replaySum : qx::Checksum(ShownState()));
    return static_cast<int>(text.size());
}

// Room for a replay file of `size` bytes, which the page writes there
// before qx_replay_open.
EMSCRIPTEN_KEEPALIVE char* qx_replay_buffer(int size) {
    replayBytes.assign(static_cast<size_t>(size < 0 ? 0 : size), '\0');
    return replayBytes.data();
}

// Reads and checks the replay in the buffer; a good one starts playing over
// the game (in place of one already playing). Returns 0, or the
// qx::ReplayError::Code that refused it (qx_replay_error_line / _tick say
// where); a refused file changes nothing.
EMSCRIPTEN_KEEPALIVE int qx_replay_open(int width, int height) {
    auto opened = qx::web::WebReplay::Open(replayBytes, width, height, replayError);
    replayBytes = std::string();
    if (!opened) return static_cast<int>(replayError.code);
    replay = std::move(opened);
    mirrored = nullptr;  // the next present shows all of the replay's screen
    replaySum = qx::Checksum(replay->State());
    return 0;
}

EMSCRIPTEN_KEEPALIVE int qx_replay_error_line() {
    return static_cast<int>(replayError.line);
}

EMSCRIPTEN_KEEPALIVE int qx_replay_error_tick() {
    return static_cast<int>(replayError.tick);
}

// Ends the replay; the next present shows all of the game's screen again.
EMSCRIPTEN_KEEPALIVE void qx_replay_stop() {
    replay.reset();
    mirrored = nullptr;
}

// One timer tick of the replay playing; returns 0 once it is over (the
// game is then shown again).
EMSCRIPTEN_KEEPALIVE int qx_replay_tick() {
    if (!replay) return 0;
    const bool playing = replay->Tick();
    replaySum = qx::Checksum(replay->State());
    if (!playing) qx_replay_stop();
    return playing ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int qx_replaying() {
    return replay ? 1 : 0;
}

// The replay's ticks played so far (which = 0) or in all (which = 1).
EMSCRIPTEN_KEEPALIVE int qx_replay_ticks(int which) {
    if (!replay) return 0;
    return static_cast<int>(which != 0 ? replay->TickCount() : replay->TicksPlayed());
}

EMSCRIPTEN_KEEPALIVE const int32_t* qx_presented() {
    return reinterpret_cast<const int32_t*>(presented.data());
}

EMSCRIPTEN_KEEPALIVE const uint8_t* qx_rgba() {
    return mirror.Bytes();
}

EMSCRIPTEN_KEEPALIVE int qx_rgba_width() {
    return mirror.Width();
}

EMSCRIPTEN_KEEPALIVE int qx_rgba_height() {
    return mirror.Height();
}

// One compiled-in picture in RGBA for the dialogs (icon = 1: the icon table);
// its size is then qx_picture_width() x qx_picture_height().
EMSCRIPTEN_KEEPALIVE const uint8_t* qx_picture(int icon, int id) {
    picture.CopyAll(icon != 0 ? qx::LoadIconResource(id) : qx::LoadBitmapResource(id));
    return picture.Bytes();
}

EMSCRIPTEN_KEEPALIVE int qx_picture_width() {
    return picture.Width();
}

EMSCRIPTEN_KEEPALIVE int qx_picture_height() {
    return picture.Height();
}

}  // extern "C"
