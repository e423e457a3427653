#include "tools/sim/SimOptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>

namespace qx::sim {
namespace {

bool ParsePlayer(const std::string& text, bool& computer) {
    if (text == "human") {
        computer = false;
        return true;
    }
    if (text == "computer") {
        computer = true;
        return true;
    }
    return false;
}

bool ParseClient(const std::string& text, int32_t& w, int32_t& h) {
    const auto cross = text.find('x');
    if (cross == std::string::npos) return false;
    int64_t width = 0;
    int64_t height = 0;
    if (!ParseInteger(text.substr(0, cross), 0, kMaxClientSide, width)) return false;
    if (!ParseInteger(text.substr(cross + 1), 0, kMaxClientSide, height)) return false;
    w = static_cast<int32_t>(width);
    h = static_cast<int32_t>(height);
    return true;
}

bool ParsePort(const std::string& text, uint16_t& port) {
    int64_t number = 0;
    if (!ParseInteger(text, 1, 65535, number)) return false;
    port = static_cast<uint16_t>(number);
    return true;
}

// HOST:PORT, split at the last colon.
bool ParseHostPort(const std::string& text, std::string& host, uint16_t& port) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    host = text.substr(0, colon);
    return ParsePort(text.substr(colon + 1), port);
}

bool Gave(const std::vector<std::string>& given, const char* name) {
    return std::find(given.begin(), given.end(), name) != given.end();
}

// The rules of play through a match server: --server and exactly one of the
// four requests; a spectator plays no side.
std::string CheckServerOptions(const NetSimOptions& net, const std::vector<std::string>& given) {
    const char* actions[] = {"--create", "--join", "--quick", "--watch", "--lobby"};
    std::vector<std::string> asked;
    for (const char* name : actions) {
        if (Gave(given, name)) asked.push_back(name);
    }
    if (!net.viaServer) {
        for (const char* name : {"--create", "--join", "--quick", "--watch", "--invite-file",
                                 "--name", "--key-file", "--lobby", "--public"}) {
            if (Gave(given, name)) return std::string("option ") + name + " needs --server";
        }
        return {};
    }
    if (net.hosting || net.joining) {
        return std::string("option --server excludes ") +
               (net.hosting ? "--net-host" : "--net-join");
    }
    if (asked.empty()) {
        return "option --server needs one of --create, --join, --quick, --watch, --lobby";
    }
    if (asked.size() > 1) return "options " + asked[0] + " and " + asked[1] + " exclude each other";
    if (Gave(given, "--public") && net.action != ServerAction::Create) {
        return "option --public needs --create";
    }
    if (Gave(given, "--lobby-updates") && net.action != ServerAction::Lobby) {
        return "option --lobby-updates needs --lobby";
    }
    if (net.action == ServerAction::Lobby) {
        for (const char* name : {"--input", "--side", "--seed", "--trace", "--record",
                                 "--invite-file", "--name", "--key-file", "--sync-test"}) {
            if (Gave(given, name))
                return std::string("option ") + name + " does not go with --lobby";
        }
    }
    if (net.Watching()) {
        for (const char* name : {"--input", "--side", "--seed"}) {
            if (Gave(given, name)) {
                return std::string("option ") + name + " is not available when watching";
            }
        }
    }
    return {};
}

// The rules of network play: one of host and join; in a network game both
// sides are persons and the picture is each machine's own, so the options
// that choose players or write frames do not apply.
std::string CheckNetOptions(const SimOptions& options, const std::vector<std::string>& given) {
    const NetSimOptions& net = options.net;
    if (std::string error = CheckServerOptions(net, given); !error.empty()) return error;
    if (!net.Active()) {
        for (const char* name : {"--side", "--realtime"}) {
            if (Gave(given, name)) {
                return std::string("option ") + name + " needs --net-host, --net-join or --server";
            }
        }
        return {};
    }
    if (net.hosting && net.joining) return "options --net-host and --net-join exclude each other";
    for (const char* name :
         {"--emperor", "--rebel", "--frames", "--frame-every", "--replay", "--export-input"}) {
        if (Gave(given, name)) {
            return std::string("option ") + name + " is not available in network play";
        }
    }
    // A room made with --ticks 0 has no length (as a room made in the page):
    // its game is as long as the joiner asks for, or endless.
    const bool endlessRoom = net.action == ServerAction::Create && options.ticks == 0;
    if ((options.ticks < 1 && !endlessRoom) || options.ticks > kMaxNetTicks) {
        return "bad value for --ticks in network play: 1 to " + std::to_string(kMaxNetTicks);
    }
    if (options.syncTestTicks > kMaxNetSyncTestTicks) {
        return "bad value for --sync-test in network play: at most " +
               std::to_string(kMaxNetSyncTestTicks);
    }
    return {};
}

// A replay brings its own seed, players, ticks and inputs.
std::string CheckReplayOptions(const SimOptions& options, const std::vector<std::string>& given) {
    const auto gave = [&given](const char* name) {
        return std::find(given.begin(), given.end(), name) != given.end();
    };
    if (options.replayPath.empty()) {
        return gave("--export-input") ? "option --export-input needs --replay" : "";
    }
    if (options.net.Active()) return "option --replay is not available in network play";
    for (const char* name :
         {"--seed", "--ticks", "--emperor", "--rebel", "--input", "--sync-test"}) {
        if (gave(name)) {
            return std::string("option ") + name +
                   " cannot be used with --replay, which brings its own";
        }
    }
    return {};
}

}  // namespace

bool ParseInteger(const std::string& text, int64_t min, int64_t max, int64_t& value) {
    if (text.empty() || text.size() > 20) return false;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    for (size_t k = i; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return false;
    }
    errno = 0;
    const long long parsed = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || parsed < min || parsed > max) return false;
    value = parsed;
    return true;
}

std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    SimOptions options;
    bool framesGiven = false;
    std::vector<std::string> given;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        given.push_back(name);
        if (name == "--realtime") {
            options.net.realtime = true;
            continue;
        }
        if (name == "--create" || name == "--quick") {
            options.net.action = name == "--create" ? ServerAction::Create : ServerAction::Quick;
            continue;
        }
        if (name == "--lobby" || name == "--public") {
            if (name == "--lobby") options.net.action = ServerAction::Lobby;
            options.net.listed = options.net.listed || name == "--public";
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "option " + name + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        int64_t number = 0;
        bool ok = true;
        if (name == "--seed") {
            ok = ParseInteger(value, 0, std::numeric_limits<uint32_t>::max(), number);
            options.seed = static_cast<uint32_t>(number);
            options.net.seedGiven = true;
        } else if (name == "--ticks") {
            ok = ParseInteger(value, 0, std::numeric_limits<int64_t>::max(), number);
            options.ticks = number;
            options.net.ticksGiven = true;
        } else if (name == "--emperor") {
            ok = ParsePlayer(value, options.emperorComputer);
        } else if (name == "--rebel") {
            ok = ParsePlayer(value, options.rebelComputer);
        } else if (name == "--client") {
            ok = ParseClient(value, options.clientWidth, options.clientHeight);
        } else if (name == "--input") {
            options.inputPath = value;
        } else if (name == "--trace") {
            options.tracePath = value;
        } else if (name == "--frames") {
            options.framesDir = value;
            framesGiven = true;
        } else if (name == "--frame-every") {
            ok = ParseInteger(value, 1, std::numeric_limits<int64_t>::max(), number);
            options.frameEvery = number;
        } else if (name == "--record") {
            options.recordPath = value;
            ok = !value.empty();
        } else if (name == "--replay") {
            options.replayPath = value;
            ok = !value.empty();
        } else if (name == "--export-input") {
            options.exportPath = value;
            ok = !value.empty();
        } else if (name == "--sync-test") {
            ok = ParseInteger(value, 1, kMaxSyncTestTicks, number);
            options.syncTestTicks = static_cast<int32_t>(number);
        } else if (name == "--net-host") {
            ok = ParsePort(value, options.net.port);
            options.net.hosting = true;
        } else if (name == "--net-join") {
            ok = ParseHostPort(value, options.net.host, options.net.port);
            options.net.joining = true;
        } else if (name == "--server") {
            ok = ParseHostPort(value, options.net.host, options.net.port);
            options.net.viaServer = true;
        } else if (name == "--join" || name == "--watch") {
            options.net.action = name == "--join" ? ServerAction::Join : ServerAction::Watch;
            options.net.code = value;
            ok = !value.empty();
        } else if (name == "--invite-file") {
            options.net.inviteFile = value;
            ok = !value.empty();
        } else if (name == "--name") {
            options.net.name = value;
            ok = !value.empty();
        } else if (name == "--key-file") {
            options.net.keyFile = value;
            ok = !value.empty();
        } else if (name == "--lobby-updates") {
            ok = ParseInteger(value, 0, 1'000'000, options.net.lobbyUpdates);
        } else if (name == "--side") {
            ok = value == "emperor" || value == "rebel";
            options.net.side = value;
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
        if (!ok) {
            error = "bad value for " + name + ": '" + value + "'";
            return std::nullopt;
        }
    }
    if (!framesGiven) options.framesDir.clear();
    error = CheckNetOptions(options, given);
    if (error.empty()) error = CheckReplayOptions(options, given);
    if (!error.empty()) return std::nullopt;
    return options;
}

std::string SimUsage() {
    return "usage: quarnex-sim [--seed N] [--ticks N] [--emperor human|computer]\n"
           "                   [--rebel human|computer] [--client WxH] [--input FILE]\n"
           "                   [--trace FILE|-] [--frames DIR --frame-every K]\n"
           "                   [--sync-test K] [--record FILE]\n"
           "       quarnex-sim --replay FILE [--export-input OUT] [--client WxH]\n"
           "                   [--trace FILE|-] [--frames DIR --frame-every K] [--record FILE]\n"
           "       quarnex-sim --net-host PORT | --net-join HOST:PORT [--side emperor|rebel]\n"
           "                   [--realtime] [--seed N (host)] [--ticks N] [--client WxH]\n"
           "                   [--input FILE (this side's events)] [--trace FILE|-]\n"
           "                   [--sync-test K]\n"
           "       quarnex-sim --server HOST:PORT --create [--side emperor|rebel] [--seed N]\n"
           "                   | --join CODE | --quick\n"
           "                   [--invite-file FILE] [--realtime] [--ticks N] [--client WxH]\n"
           "                   [--input FILE (this side's events)] [--trace FILE|-]\n"
           "                   [--record FILE] [--sync-test K] [--name NAME [--key-file FILE]]\n"
           "       quarnex-sim --server HOST:PORT --watch CODE [--ticks N] [--trace FILE|-]\n"
           "                   [--record FILE] [--sync-test K] [--invite-file FILE] [--name NAME]\n"
           "       quarnex-sim --server HOST:PORT --lobby [--lobby-updates N]\n"
           "\n"
           "Through a match server: --create makes a room (its invite code goes to standard\n"
           "error as 'invite CODE' and, with --invite-file, to FILE), --join CODE takes its\n"
           "free side, --quick plays the next player who asks for anyone, --watch CODE\n"
           "follows a room's game from tick 1 until it ends (or for --ticks ticks).\n"
           "--public (with --create) lists the room in the lobby (quick match rooms are\n"
           "listed anyway). --lobby prints the server's public games to standard output\n"
           "and exits (with --lobby-updates N, after N more copies as the lobby changes):\n"
           "  lobby open N live N          (the server's totals; the lines of the games follow)\n"
           "  open CODE side rebel|emperor waiting SECONDS rating R|- name \"NAME\"\n"
           "  live CODE ticks N seconds SECONDS spectators N emperor \"NAME\" rebel \"NAME\"\n"
           "(side: the free side a joiner gets; names quoted, quotes and backslashes\n"
           "escaped, \"\" anonymous). Join an open game with --join CODE, watch a live one\n"
           "with --watch CODE. The lobby is native only (not under Node).\n"
           "Exit status: 0 done, 1 the machines' games went apart, 2 bad arguments,\n"
           "3 the other machine or the server could not be reached, went silent or left\n"
           "(or the server refused: throttled, full), 4 no such room or the room is full.\n";
}

}  // namespace qx::sim
