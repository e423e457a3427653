#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace qx::sim {

// Dialog is the answer the New game dialog gives the next time the game
// asks it (without one the simulator answers OK with the players unchanged).
enum class EventKind { Mouse, LButton, RButton, MButton, Key, Paint, Resize, NewGame, Dialog };

// One scripted window event, applied before the game tick of `tick`.
struct InputEvent {
    int64_t tick = 0;
    EventKind kind = EventKind::Paint;
    int32_t a = 0;  // mouse x, key code, width; newgame, dialog: Emperor is computer
    int32_t b = 0;  // mouse y, height; newgame, dialog: Rebel is computer
    int lineNumber = 0;
};

// Reads "T EVENT ARGS" lines; blank lines and lines starting with # are
// skipped; T >= 1 and never decreasing. On the first bad line returns false
// with a message naming the line.
bool ParseInputScript(std::istream& in, std::vector<InputEvent>& events, std::string& error);

}  // namespace qx::sim
