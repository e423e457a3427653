// The functions the page script calls. One game per page; the page starts it
// with qx_start and then drives it with the page's events and its 30 ms tick.
// After each call that may draw, the page calls qx_present and copies the
// returned boxes of qx_rgba() to its canvas.
#include <emscripten.h>

#include <memory>

#include "gfx/ResourceLibrary.h"
#include "web/BrowserDialogs.h"
#include "web/DirtyRegion.h"
#include "web/RgbaMirror.h"
#include "web/WebGame.h"

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
qx::web::RgbaMirror mirror;
std::vector<qx::Box> presented;
qx::web::RgbaMirror picture;

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
}

EMSCRIPTEN_KEEPALIVE void qx_paint() {
    game->Paint();
}

EMSCRIPTEN_KEEPALIVE int qx_tick() {
    return game->Tick() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void qx_mouse_move(int x, int y) {
    game->MouseMove(x, y);
}

EMSCRIPTEN_KEEPALIVE void qx_left_button() {
    game->LeftButton();
}

EMSCRIPTEN_KEEPALIVE void qx_right_button() {
    game->RightButton();
}

// `key` is a qx::GameKey by number (web/page/keys.mjs holds the same table);
// numbers it does not know are ignored.
EMSCRIPTEN_KEEPALIVE void qx_key(int key) {
    if (key > 0 && key <= static_cast<int>(qx::GameKey::DownRight)) {
        game->Key(static_cast<qx::GameKey>(key));
    }
}

EMSCRIPTEN_KEEPALIVE void qx_new_game() {
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
    return rebel != 0 ? game->RebelX() : game->EmperorX();
}

EMSCRIPTEN_KEEPALIVE int qx_ship_y(int rebel) {
    return rebel != 0 ? game->RebelY() : game->EmperorY();
}

// Rounds won (rebel = 1: the Rebel's), for the score in the page's title.
EMSCRIPTEN_KEEPALIVE int qx_wins(int rebel) {
    return rebel != 0 ? game->RebelWins() : game->EmperorWins();
}

// The Emperor's steering target in arena units (y = 1: its y), where a
// gamepad's aim starts from.
EMSCRIPTEN_KEEPALIVE int qx_target(int y) {
    return y != 0 ? game->EmperorTargetY() : game->EmperorTargetX();
}

// A gamepad's aim for the Emperor, in arena units.
EMSCRIPTEN_KEEPALIVE void qx_aim(int x, int y) {
    game->Aim(x, y);
}

EMSCRIPTEN_KEEPALIVE int qx_ticking() {
    return game->Ticking() ? 1 : 0;
}

// Brings the RGBA copy up to date and returns how many boxes changed; their
// x, y, w, h follow one another at qx_presented(). A new screen size (or
// full = 1) converts and reports the whole screen.
EMSCRIPTEN_KEEPALIVE int qx_present(int full) {
    const qx::Surface& screen = game->Screen();
    std::vector<qx::Box> writes = game->TakeScreenWrites();
    if (full != 0 || mirror.Width() != screen.Width() || mirror.Height() != screen.Height()) {
        mirror.CopyAll(screen);
        presented = {{0, 0, screen.Width(), screen.Height()}};
        if (screen.Empty()) presented.clear();
    } else {
        presented = qx::web::DirtyRegion::Merge(writes, screen.Width(), screen.Height());
        for (const qx::Box& box : presented) mirror.Copy(screen, box);
    }
    return static_cast<int>(presented.size());
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
