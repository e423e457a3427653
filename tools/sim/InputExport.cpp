#include "tools/sim/InputExport.h"

#include <sstream>

#include "replay/ReplayPlayer.h"
#include "replay/ReplayRulesTarget.h"
#include "tools/sim/InputScript.h"
#include "tools/sim/Simulator.h"
#include "tools/sim/VirtualKeys.h"

namespace qx::sim {
namespace {

const char* Word(bool human) {
    return human ? "human" : "computer";
}

std::string Players(const PlayerChoice& players) {
    return std::string(Word(players.emperorHuman)) + " " + Word(players.rebelHuman);
}

PlayerChoice PlayersOf(const GameState& state) {
    return {!state.emperor.Computer(), !state.rebel.Computer()};
}

// The script line's event for one input, or an empty text when no window
// event gives it.
std::string EventFor(const GameInput& in) {
    switch (in.kind) {
        case InputKind::Target:
            return "mouse " + std::to_string(in.x) + " " + std::to_string(in.y);
        case InputKind::Fire:
            if (in.weapon == Weapon::Forward) return "lbutton";
            if (in.weapon == Weapon::Down) return "rbutton";
            if (in.weapon == Weapon::Up) return "key 13";  // Enter: the same request
            return {};
        case InputKind::Key:
            return "key " + std::to_string(VirtualKeyForGameKey(in.key));
        case InputKind::NewGame:
            return in.choice ? "newgame " + Players(*in.choice) : std::string();
        case InputKind::Repaint:
            return "paint";
        case InputKind::EndOfGameClosed:
        case InputKind::PlayersChosen:
            break;
    }
    return {};
}

// Turns the events of one tick into script lines.
class TickWriter {
  public:
    TickWriter(const ReplayTick& entry, PlayerChoice players, std::ostream& out)
        : entry(entry), players(players), out(out) {}

    bool Write(std::string& error);

  private:
    bool Line(const std::string& event, std::string& error);
    bool Before(std::string& error);
    bool During(std::string& error);

    const ReplayTick& entry;
    PlayerChoice players;  // as the game has them at this point of the tick
    std::ostream& out;
};

bool TickWriter::Line(const std::string& event, std::string& error) {
    if (event.empty()) {
        error = "tick " + std::to_string(entry.tick) + " has an input no window event gives";
        return false;
    }
    out << entry.tick << ' ' << event << '\n';
    return true;
}

// New game asking the dialog is written with the dialog's answer; inputs
// that came while the dialog was open follow it.
bool TickWriter::Before(std::string& error) {
    const auto& events = entry.before;
    for (size_t i = 0; i < events.size(); ++i) {
        const GameInput& in = events[i];
        if (in.kind != InputKind::NewGame || in.choice) {
            if (!Line(EventFor(in), error)) return false;
            if (in.kind == InputKind::NewGame) players = *in.choice;
            continue;
        }
        size_t close = i + 1;
        while (close < events.size() && !events[close].IsAnswer() &&
               events[close].kind != InputKind::NewGame) {
            ++close;
        }
        if (close == events.size() || events[close].kind != InputKind::PlayersChosen) {
            error =
                "tick " + std::to_string(entry.tick) + " has New game dialogs inside each other";
            return false;
        }
        players = events[close].choice.value_or(players);
        if (!Line("newgame " + Players(players), error)) return false;
        for (size_t k = i + 1; k < close; ++k) {
            if (!Line(EventFor(events[k]), error)) return false;
        }
        i = close;
    }
    return true;
}

// The end-of-game box needs nothing; the simulator's dialog keeps the
// players unless a `dialog` line says otherwise.
bool TickWriter::During(std::string& error) {
    for (const GameInput& event : entry.after) {
        if (!event.IsAnswer()) {
            error = "tick " + std::to_string(entry.tick) +
                    " has inputs while a window was open in the middle of the tick";
            return false;
        }
        if (event.kind == InputKind::PlayersChosen && event.choice && *event.choice != players) {
            players = *event.choice;
            if (!Line("dialog " + Players(players), error)) return false;
        }
    }
    return true;
}

bool TickWriter::Write(std::string& error) {
    return Before(error) && During(error);
}

// Runs the script and the replay and compares their states tick by tick.
bool CheckScript(const Replay& replay, const std::string& script, const SimOptions& options,
                 std::string& error) {
    std::istringstream in(script);
    std::vector<InputEvent> events;
    if (!ParseInputScript(in, events, error)) return false;
    std::vector<uint64_t> fromScript;
    std::vector<uint64_t> fromReplay;
    SimOutputs outputs;
    outputs.checksums = &fromScript;
    RunSimulation(options, events, outputs);
    SimOptions bare = options;
    bare.clientWidth = 0;
    bare.clientHeight = 0;
    outputs.checksums = &fromReplay;
    RunReplay(bare, replay, outputs);
    for (size_t tick = 0; tick < fromReplay.size(); ++tick) {
        if (tick >= fromScript.size() || fromScript[tick] != fromReplay[tick]) {
            error = tick == 0 ? "the replay starts otherwise than the simulator (a repaint, then "
                                "New game), which a script cannot change"
                              : "the script would reach another state than the replay at tick " +
                                    std::to_string(tick);
            return false;
        }
    }
    return true;
}

}  // namespace

bool ExportInputScript(const Replay& replay, std::string& script, std::string& error) {
    ReplayPlayer player(replay);
    GameState state = GameState::Start(replay.seed, replay.players);
    ReplayRulesTarget target(state);
    player.Step(target);  // the start-up: its players go on the command line

    SimOptions options;
    options.seed = replay.seed;
    options.ticks = replay.tickCount;
    options.emperorComputer = state.emperor.Computer();
    options.rebelComputer = state.rebel.Computer();
    std::ostringstream out;
    out << "# --seed " << replay.seed << " --emperor " << Word(!options.emperorComputer)
        << " --rebel " << Word(!options.rebelComputer) << " --ticks " << replay.tickCount << '\n';
    for (const ReplayTick& entry : replay.ticks) {
        if (entry.tick == 0) continue;
        while (!player.Done() && player.NextTick() < entry.tick) player.Step(target);
        if (player.Failed()) break;
        if (!TickWriter(entry, PlayersOf(state), out).Write(error)) return false;
    }
    if (player.Failed()) {
        error = player.Failure().Describe();
        return false;
    }
    script = out.str();
    return CheckScript(replay, script, options, error);
}

}  // namespace qx::sim
