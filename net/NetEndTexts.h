#pragma once

#include "net/NetPeer.h"

namespace qx::net {

// The words a player is told when a network game ends, in the game's own
// language (Czech without diacritics); every host shows these, translated
// by its own means (the desktop through its translations, the page through
// its strings). "%1" stands for the one figure a text names: the tick of a
// desync, the address of a host that plays with another. Null when nothing
// is to be said: the game was played to its end or the player left it.
const char* EndText(PeerEnd end, bool hosting);
// The same for a spectator (NetWatch's ends); never null.
const char* WatchEndText(PeerEnd end);

}  // namespace qx::net
