#include "tools/sim/RoomEntry.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "net/MatchProtocol.h"
#include "tools/sim/NetLinks.h"
#include "tools/sim/PlayerKey.h"

namespace qx::sim {
namespace {

using State = net::MatchClient::State;

// How long one wait for the server's answer may take; the connection gives
// up by itself after a few seconds.
constexpr uint32_t kUpdateMs = 50;

std::string RefusalText(net::MatchError error) {
    switch (error) {
        case net::MatchError::UnknownRoom:
            return "the server knows no room with this code";
        case net::MatchError::RoomFull:
            return "the room is full (both sides are taken, or its game is over)";
        case net::MatchError::Throttled:
            return "the server refused: too many attempts from this address, try again later";
        case net::MatchError::BadRequest:
            return "the server did not understand the request";
        case net::MatchError::ServerFull:
            return "the server is full: it holds as many rooms as it may, try again later";
        case net::MatchError::NotWatchable:
            return "the room's game is too long for the server to keep: it cannot be watched";
        case net::MatchError::BadName:
            return "the server refused the name: 1 to 20 letters, no control or invisible "
                   "characters";
    }
    return "the server refused";
}

bool IsRoomRefusal(net::MatchError error) {
    return error == net::MatchError::UnknownRoom || error == net::MatchError::RoomFull ||
           error == net::MatchError::NotWatchable;
}

std::string Where(const SimOptions& options) {
    return options.net.host + ":" + std::to_string(options.net.port);
}

void Announce(const SimOptions& options, const std::string& code, std::ostream* log,
              RoomEntry& entry) {
    if (log) *log << "invite " << code << std::endl;
    std::string error;
    if (!options.net.inviteFile.empty() && !WriteInviteFile(options.net.inviteFile, code, error)) {
        entry.message = "cannot write the invite file: " + error;
        entry.badArgument = true;
    }
}

}  // namespace

net::MatchRequest RequestFor(const SimOptions& options) {
    net::MatchRequest request;
    switch (options.net.action) {
        case ServerAction::Create:
            request.kind = net::MatchRequest::Kind::Create;
            request.side =
                options.net.side == "rebel" ? net::NetSide::Rebel : net::NetSide::Emperor;
            request.hasSeed = options.net.seedGiven;
            request.seed = options.seed;
            request.listed = options.net.listed;
            break;
        case ServerAction::Join:
            request.kind = net::MatchRequest::Kind::Join;
            break;
        case ServerAction::Watch:
            request.kind = net::MatchRequest::Kind::Watch;
            break;
        case ServerAction::Quick:
        case ServerAction::Lobby:
        case ServerAction::None:
            request.kind = net::MatchRequest::Kind::Quick;
            break;
    }
    request.ticks = static_cast<uint32_t>(options.ticks);
    request.code = options.net.code;
    return request;
}

RoomEntry EnterRoom(const SimOptions& options, std::ostream* log) {
    RoomEntry entry;
    const net::MatchRequest request = RequestFor(options);
    if (request.Encode().empty()) {
        entry.badArgument = true;
        entry.message = "'" + request.code + "' is no invite code (8 letters and digits)";
        return entry;
    }
    net::MatchRequest asked = request;
    if (!options.net.name.empty()) {
        // A name comes with the player's key: its file's, or one for this game.
        asked.identify = true;
        asked.name = options.net.name;
        const bool keyed = options.net.keyFile.empty()
                               ? MakePlayerKey(asked.key, entry.message)
                               : LoadOrMakePlayerKey(options.net.keyFile, asked.key, entry.message);
        if (!keyed) {
            entry.badArgument = true;
            return entry;
        }
    }
    auto connection =
        ConnectToMatchServer(options.net.host, options.net.port, asked, entry.message);
    if (!connection) return entry;
    State state = connection->Update(kUpdateMs);
    while (state != State::InRoom && state != State::Failed) {
        if (StopSignalled()) {
            entry.message = "stopped before the room was entered";
            return entry;
        }
        state = connection->Update(kUpdateMs);
    }
    const net::MatchClient& client = connection->Client();
    if (state == State::Failed) {
        entry.roomRefused = client.Refused() && IsRoomRefusal(client.Refusal());
        entry.badArgument = client.Refused() && client.Refusal() == net::MatchError::BadName;
        entry.message = client.Refused() ? RefusalText(client.Refusal())
                                         : client.Failure() + " (" + Where(options) + ")";
        return entry;
    }
    Announce(options, client.Answer().code, log, entry);
    if (entry.message.empty()) entry.connection = std::move(connection);
    return entry;
}

bool WriteInviteFile(const std::string& path, const std::string& code, std::string& error) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << code << '\n';
        out.flush();
        if (!out) {
            error = temporary + ": " + std::strerror(errno);
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace qx::sim
