#include "net/SideInputs.h"

#include "net/PacketCodec.h"

namespace qx::net {

bool BelongsToSide(NetSide side, const GameInput& input) {
    if (!IsWireInput(input)) return false;
    switch (input.kind) {
        case InputKind::Target:
        case InputKind::Fire:
            return side == NetSide::Emperor;
        case InputKind::Key:
            return (input.key == GameKey::Enter) == (side == NetSide::Emperor);
        case InputKind::NewGame:
            return *input.choice == PlayerChoice{true, true};
        case InputKind::Repaint:
        case InputKind::EndOfGameClosed:
        case InputKind::PlayersChosen:
            return false;
    }
    return false;
}

}  // namespace qx::net
