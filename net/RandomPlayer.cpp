#include "net/RandomPlayer.h"

#include "common/Arena.h"

namespace qx::net {

uint32_t RandomPlayer::Below(uint32_t n) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>((state >> 33) % n);
}

InputList RandomPlayer::InputsFor(uint32_t) {
    InputList list;
    if (Below(20000) == 0) list.Add(GameInput::NewGame(PlayerChoice{true, true}));
    if (side == NetSide::Emperor) {
        if (Below(100) < 40) list.AddTarget(Below(kArenaWidth), Below(kArenaHeight));
        if (Below(100) < 6) list.Add(GameInput::Fire(Below(2) ? Weapon::Forward : Weapon::Down));
        if (Below(100) < 2) list.Add(GameInput::Key(GameKey::Enter));
    } else if (Below(100) < 15) {
        constexpr GameKey kKeys[] = {GameKey::Space,    GameKey::X,    GameKey::C,
                                     GameKey::UpLeft,   GameKey::Up,   GameKey::UpRight,
                                     GameKey::Left,     GameKey::Stop, GameKey::Right,
                                     GameKey::DownLeft, GameKey::Down, GameKey::DownRight};
        list.Add(GameInput::Key(kKeys[Below(sizeof kKeys / sizeof kKeys[0])]));
    }
    return list;
}

}  // namespace qx::net
