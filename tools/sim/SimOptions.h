#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qx::sim {

// What this run asks the match server for (--server HOST:PORT and one of
// --create, --join CODE, --quick, --watch CODE, --lobby).
enum class ServerAction { None, Create, Join, Quick, Watch, Lobby };

// Network play: this run is one of two machines playing one game, directly
// (--net-host, --net-join) or through a match server; or, through a match
// server, a spectator of a game.
struct NetSimOptions {
    bool hosting = false;  // --net-host PORT
    bool joining = false;  // --net-join HOST:PORT
    uint16_t port = 0;
    std::string host;
    std::string side;       // --side: "emperor", "rebel" or "" (not given)
    bool realtime = false;  // --realtime: 30 ms ticks instead of as fast as the link allows
    bool seedGiven = false;
    bool ticksGiven = false;
    bool viaServer = false;  // --server HOST:PORT (in host and port)
    ServerAction action = ServerAction::None;
    std::string code;          // --join CODE, --watch CODE: the invite code as typed
    std::string inviteFile;    // --invite-file: where the room's code is written
    std::string name;          // --name: the player's name sent to the server (empty: anonymous)
    std::string keyFile;       // --key-file: the player's secret key (made when missing)
    bool listed = false;       // --public: a created room is listed in the lobby
    int64_t lobbyUpdates = 0;  // --lobby-updates: copies printed after the first

    bool Active() const { return hosting || joining || viaServer; }
    bool Watching() const { return action == ServerAction::Watch; }
};

struct SimOptions {
    uint32_t seed = 0;
    int64_t ticks = 1000;
    bool emperorComputer = true;
    bool rebelComputer = true;
    int32_t clientWidth = 600;
    int32_t clientHeight = 400;
    std::string inputPath;  // empty: no scripted input
    std::string tracePath;  // empty: no trace; "-": standard output
    std::string framesDir;  // empty: no frames
    int64_t frameEvery = 1;
    // When above 0: at every tick, restore the state of this many ticks back,
    // run those ticks again without drawing and check the state comes out the
    // same.
    int32_t syncTestTicks = 0;
    std::string recordPath;  // empty: no replay written
    std::string replayPath;  // a replay to run instead of the seed, sides, ticks and input
    std::string exportPath;  // with replayPath: write the replay as an input script here
    NetSimOptions net;
};

constexpr int64_t kMaxSyncTestTicks = 1000;
// In network play the sync test goes back at most this far, and a game has
// at most this many ticks.
constexpr int64_t kMaxNetSyncTestTicks = 16;
constexpr int64_t kMaxNetTicks = 0x7FFFFFFF;

// The largest client side the simulator accepts, so a typo cannot ask for
// gigabytes of screen.
constexpr int32_t kMaxClientSide = 16384;

// Parses the command line (without the program name). On a bad argument
// returns nothing and sets `error` to a message naming the problem.
std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args, std::string& error);

// Strict decimal parsing of a whole string into [min, max].
bool ParseInteger(const std::string& text, int64_t min, int64_t max, int64_t& value);

std::string SimUsage();

}  // namespace qx::sim
