#include "net/NetEndOfGame.h"

namespace qx::net {

std::vector<GameInput> EndOfGameAnswers() {
    return {GameInput::EndOfGameClosed(), GameInput::PlayersChosen(kNetPlayers)};
}

}  // namespace qx::net
