#include "net/NetGameHost.h"

#include "game/Game.h"

namespace qx::net {

uint32_t NetGameHost::SetGameTimer() {
    return Game::kTimerId;
}

void NetGameHost::ShowEndOfGame(const std::string& endCaption, const std::string& endText) {
    ended = true;
    caption = endCaption;
    text = endText;
}

bool NetGameHost::RunNewGameDialog(PlayerChoice&) {
    return true;
}

}  // namespace qx::net
