#pragma once

namespace qx {

// Who plays each side, as the New game dialog shows it ("Clovek" checked
// means a person plays that side).
struct PlayerChoice {
    bool emperorHuman = true;
    bool rebelHuman = true;

    bool operator==(const PlayerChoice&) const = default;
};

}  // namespace qx
