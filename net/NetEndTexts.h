#pragma once

#include <string>

#include "net/MatchProtocol.h"
#include "net/NetPeer.h"
#include "net/RoomEnd.h"

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
// Why the server refused a room ("%1": the invite code).
const char* RefusalText(MatchError error);
// The words for any end of a game through the match server (a game's end,
// a refusal, a connection that gave no room); "%1" stands for the end's
// figure. Null when nothing is to be said.
const char* RoomEndText(const RoomEnd& end);
// The game's players by name, as every host shows them: "%1" the Emperor
// side's name, "%2" the Rebel side's (an anonymous one as NoNameText).
const char* NamesText();
const char* NoNameText();
// The server is closing (a drain): "%1" the most seconds the game may go on.
const char* ClosingText();
// A refusal in English, for the simulator's and the logs' lines.
std::string RefusalEnglish(MatchError error);

}  // namespace qx::net
