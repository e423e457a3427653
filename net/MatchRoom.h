#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/MatchConnection.h"
#include "net/NetGame.h"
#include "net/NetWatch.h"
#include "net/RoomEnd.h"

namespace qx::net {

struct MatchRoomOptions {
    // The server as the player named it (the words of a failure name it).
    std::string server;
    // The game's options apart from what the room decides (hosting, side,
    // seed, length): the clock, the box, the liveness of the server's link.
    NetGameOptions game;
    NetWatchOptions watch;
    // A joiner's own wish for the game's length (0: none): the shorter of
    // it and the room's is played.
    uint32_t ownTicks = 0;
    // The room's answer must come within this from the first Update (0: as
    // long as the connection itself waits).
    uint32_t answerMs = 0;
    // The host runs the game itself: the room stops at InRoom, and the host
    // takes the connection (TakeConnection) with GameOptions.
    bool handOver = false;
};

// What the host has to do after an Update, in order: the room's own
// events, then those of the game it runs (NetGame's or NetWatch's).
struct RoomRequest {
    enum class Kind {
        InRoom,      // the room answered: Code() and the side are known
        Begin,       // the shared game starts: show SharedGame() from now on
        Draw,        // the shared game's picture changed
        ShowEndBox,  // a confirmed tick ended a game: show its box
        Ended,       // it is over: End() says why
    };
    Kind kind = Kind::Draw;
    uint32_t tick = 0;
    std::string caption;
    std::string text;
};

// A network game through the match server, the same for every host (the
// window, the page, the simulator): connecting, in a room with its code,
// waiting for the other player, then the game, which it hands to NetGame
// (a player) or NetWatch (a spectator) with the options the room's answer
// decides, until it ends. The host hands it its clock and reads requests as
// from NetGame; every way it can end is one RoomEnd.
//
// A host that runs the game itself (the window's controller, the
// simulator's own loop) asks for the hand-over and takes the connection
// after InRoom with TakeConnection and GameOptions; the room then only
// tells how asking ended.
class MatchRoom {
  public:
    enum class Phase { Connecting, Waiting, Playing, Watching, Ended };

    MatchRoom(std::unique_ptr<MatchConnection> connection, const MatchRoomOptions& options);
    ~MatchRoom();
    MatchRoom(const MatchRoom&) = delete;
    MatchRoom& operator=(const MatchRoom&) = delete;

    const std::vector<RoomRequest>& Update(uint64_t nowMs);

    Phase GetPhase() const;
    const RoomEnd& End() const { return end; }
    const MatchClient& Client() const { return connection->Client(); }
    // The room's invite code (empty before InRoom).
    const std::string& Code() const { return Client().Answer().code; }
    bool Spectating() const { return Client().Spectating(); }

    // The game's options as the room's answer decides them.
    NetGameOptions GameOptions() const;
    NetWatchOptions WatchOptions() const { return options.watch; }
    // Hands the room's connection to a host that runs the game itself
    // (after InRoom, before the next Update); from then on the room only
    // keeps End(), and Client() is the taken connection's business.
    std::unique_ptr<MatchConnection> TakeConnection();

    // The running game (null before the room, or when the other is).
    NetGame* Game() { return game.get(); }
    const NetGame* Game() const { return game.get(); }
    NetWatch* Watch() { return watch.get(); }
    const NetWatch* Watch() const { return watch.get(); }
    MatchConnection* Connection() { return connection.get(); }

    // The local player leaves (the other learns it at once).
    void Leave();
    // Sends what is queued and closes the connection (see NetGame::Close).
    void Close(uint32_t lingerMs);

  private:
    void Ask(uint64_t nowMs);
    void Enter(uint64_t nowMs);
    void Run(uint64_t nowMs);
    void Finish(RoomEnd::Cause cause);
    void FinishGame();
    void Push(RoomRequest::Kind kind) { requests.push_back({kind, 0, {}, {}}); }

    std::unique_ptr<MatchConnection> connection;
    MatchRoomOptions options;
    std::unique_ptr<NetGame> game;
    std::unique_ptr<NetWatch> watch;
    std::vector<RoomRequest> requests;
    RoomEnd end;
    bool entered = false;
    bool taken = false;
    bool clockStarted = false;
    uint64_t startedMs = 0;
};

}  // namespace qx::net
