#include "tools/sim/LobbyPrinter.h"

namespace qx::sim {
namespace {

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

const char* SideWord(net::NetSide side) {
    return side == net::NetSide::Emperor ? "emperor" : "rebel";
}

}  // namespace

std::string FormatLobby(const net::LobbyList& list) {
    std::string out = "lobby open " + std::to_string(list.openGames) + " live " +
                      std::to_string(list.liveGames) + "\n";
    for (const net::LobbyGame& g : list.games) {
        if (g.live) {
            out += "live " + g.code + " ticks " + std::to_string(g.ticks) + " seconds " +
                   std::to_string(g.seconds) + " spectators " + std::to_string(g.spectators) +
                   " emperor " + Quoted(g.names[0]) + " rebel " + Quoted(g.names[1]) + "\n";
        } else {
            const size_t waiting = g.freeSide == net::NetSide::Emperor ? 1 : 0;
            out += "open " + g.code + " side " + SideWord(g.freeSide) + " waiting " +
                   std::to_string(g.seconds) + " rating " +
                   (g.rating ? std::to_string(g.rating) : "-") + " name " +
                   Quoted(g.names[waiting]) + "\n";
        }
    }
    return out;
}

}  // namespace qx::sim
