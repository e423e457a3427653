#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "game/Game.h"
#include "replay/Replay.h"
#include "replay/ReplayError.h"
#include "replay/ReplayGameTarget.h"
#include "replay/ReplayPlayer.h"

namespace qx::web {

// A replay shown over the page, as the desktop plays one over its window:
// on a game of its own, one tick a timer tick, the last picture held a
// second at the end. The page's own game stands still meanwhile.
class WebReplay {
  public:
    // Reads the file's bytes and plays them through without drawing first,
    // so a bad file is refused (with `error` set) before anything changes.
    static std::unique_ptr<WebReplay> Open(std::string_view text, int32_t width, int32_t height,
                                           ReplayError& error);

    WebReplay(Replay played, int32_t width, int32_t height);
    WebReplay(const WebReplay&) = delete;
    WebReplay& operator=(const WebReplay&) = delete;

    void Resize(int32_t width, int32_t height);  // device pixels; draws everything again
    // One timer tick. Returns false once the replay and its held last
    // picture are over.
    bool Tick();

    int64_t TickCount() const { return replay.tickCount; }
    int64_t TicksPlayed() const { return player.NextTick() - 1; }
    const GameState& State() const { return game.State(); }
    const Surface& Screen() const { return game.Screen(); }
    std::vector<Box> TakeScreenWrites() { return game.TakeScreenWrites(); }

  private:
    Replay replay;
    Game game;
    ReplayPlayer player;
    ReplayGameTarget target;
    int holdTicks = 0;
};

}  // namespace qx::web
