#include "tools/sim/RoomEntry.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include <chrono>

#include "net/MatchProtocol.h"
#include "net/NetEndTexts.h"
#include "tools/sim/NetLinks.h"
#include "tools/sim/PlayerKey.h"

namespace qx::sim {
namespace {

using Cause = net::RoomEnd::Cause;

// How long one wait for the server's answer may take; the connection gives
// up by itself after a few seconds.
constexpr uint32_t kUpdateMs = 50;

uint64_t MsSince(std::chrono::steady_clock::time_point start) {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count());
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
    net::MatchRoomOptions roomOptions;
    roomOptions.server = Where(options);
    roomOptions.handOver = true;
    // A joiner asks for its own length too (the host plays the shorter).
    roomOptions.ownTicks = options.net.ticksGiven ? static_cast<uint32_t>(options.ticks) : 0;
    auto room = std::make_unique<net::MatchRoom>(std::move(connection), roomOptions);
    const auto start = std::chrono::steady_clock::now();
    bool entered = false;
    while (!entered && !room->End().Over()) {
        if (StopSignalled()) {
            entry.message = "stopped before the room was entered";
            return entry;
        }
        for (const net::RoomRequest& r : room->Update(MsSince(start))) {
            entered = entered || r.kind == net::RoomRequest::Kind::InRoom;
        }
        if (!entered && !room->End().Over()) room->Connection()->Wait(kUpdateMs);
    }
    const net::RoomEnd& end = room->End();
    if (end.Over()) {
        const bool refused = end.cause == Cause::Refused;
        entry.roomRefused = refused && IsRoomRefusal(end.refusal);
        entry.badArgument = refused && end.refusal == net::MatchError::BadName;
        entry.message = refused ? net::RefusalEnglish(end.refusal)
                                : room->Client().Failure() + " (" + end.figure + ")";
        return entry;
    }
    Announce(options, room->Code(), log, entry);
    if (entry.message.empty()) entry.room = std::move(room);
    return entry;
}

void TellClosing(const net::MatchClient& client, uint32_t& told, std::ostream* log) {
    if (client.ClosingNotices() == told) return;
    told = client.ClosingNotices();
    if (log) {
        *log << "the server is closing: the game may go on for at most " << client.ClosingSeconds()
             << " s" << std::endl;
    }
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
