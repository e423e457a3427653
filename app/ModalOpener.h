#pragma once

#include <functional>

class QDialog;

// The window's one way of opening a modal box or dialog: shown without
// waiting for it (no event loop of its own), kept from the keys a player is
// still holding, deleted once closed; `closed` gets its result. `byGame`:
// the game opened it in the middle of play (the end of a game), not the
// player.
using ModalOpener =
    std::function<void(QDialog* dialog, bool byGame, std::function<void(int result)> closed)>;
