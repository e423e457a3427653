#pragma once

#include "web/WebNetGame.h"

namespace qx::web {

// The page's network game while there is one (null otherwise): the page's
// own exports show it and send it the player's inputs in place of the
// page's game.
WebNetGame* RunningNetGame();

}  // namespace qx::web
