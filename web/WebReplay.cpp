#include "web/WebReplay.h"

#include "replay/ReplayCheck.h"
#include "replay/ReplayReader.h"

namespace qx::web {

namespace {

// The last picture stays a second before the page's own game returns.
constexpr int kHoldTicks = 1000 / Game::kTimerPeriodMs;

}  // namespace

std::unique_ptr<WebReplay> WebReplay::Open(std::string_view text, int32_t width, int32_t height,
                                           ReplayError& error) {
    std::optional<Replay> replay = ReadReplayText(text, error);
    if (!replay) return nullptr;
    error = CheckReplay(*replay);
    if (error) return nullptr;
    return std::make_unique<WebReplay>(std::move(*replay), width, height);
}

WebReplay::WebReplay(Replay played, int32_t width, int32_t height)
    : replay(std::move(played)), player(replay), target(game) {
    game.SetClientSize(width, height);
    game.Start(replay.seed, replay.players);
    player.Step(target);  // the start-up
    game.ShowState();
}

void WebReplay::Resize(int32_t width, int32_t height) {
    game.SetClientSize(width, height);
    game.ShowState();
}

bool WebReplay::Tick() {
    if (player.Step(target)) return true;
    return ++holdTicks < kHoldTicks && !player.Failed();
}

}  // namespace qx::web
