#include "replay/ReplayWriter.h"

#include <charconv>
#include <concepts>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "common/Fnv1a.h"
#include "game/GameState.h"

namespace qx {
namespace {

// The replay's text is built in a string, not a stream: the browser's build
// then links no stream library at all (a good part of its download).
class TextOut {
  public:
    TextOut& operator<<(char c) {
        text += c;
        return *this;
    }
    TextOut& operator<<(std::string_view s) {
        text += s;
        return *this;
    }
    template <std::integral T>
    requires(!std::same_as<T, char> && !std::same_as<T, bool>) TextOut& operator<<(T value) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        text.append(digits, end);
        return *this;
    }
    std::string text;
};

char Side(bool human) {
    return human ? 'h' : 'c';
}

const char* PlayerWord(bool human) {
    return human ? "human" : "computer";
}

char WeaponLetter(Weapon weapon) {
    switch (weapon) {
        case Weapon::Forward:
            return 'f';
        case Weapon::Down:
            return 'd';
        case Weapon::Up:
            return 'u';
        case Weapon::None:
            break;
    }
    return 'n';
}

void WriteInput(const GameInput& in, TextOut& out) {
    switch (in.kind) {
        case InputKind::Target:
            out << 'T' << in.x << ',' << in.y;
            return;
        case InputKind::Fire:
            out << 'F' << WeaponLetter(in.weapon);
            return;
        case InputKind::Key:
            out << 'K' << static_cast<int>(in.key);
            return;
        case InputKind::NewGame:
            out << 'N';
            if (in.choice) out << Side(in.choice->emperorHuman) << Side(in.choice->rebelHuman);
            return;
        case InputKind::Repaint:
            out << 'R';
            return;
        case InputKind::EndOfGameClosed:
            out << 'E';
            return;
        case InputKind::PlayersChosen:
            out << 'A';
            if (in.choice) out << Side(in.choice->emperorHuman) << Side(in.choice->rebelHuman);
            return;
    }
}

void WriteEvent(const GameInput& event, TextOut& out) {
    out << ' ';
    WriteInput(event, out);
}

void WriteCheckpoint(const ReplayCheckpoint& point, TextOut& out) {
    char sum[9];
    std::snprintf(sum, sizeof sum, "%08x", static_cast<unsigned>(point.sum));
    out << "check " << point.tick << ' ' << sum << '\n';
}

// Tick lines and checkpoints in the order of their ticks; a checkpoint
// comes after the line of its own tick.
void WriteContent(const Replay& replay, TextOut& out) {
    out << "quarnex-replay " << replay.version << '\n'
        << "seed " << replay.seed << '\n'
        << "players " << PlayerWord(replay.players.emperorHuman) << ' '
        << PlayerWord(replay.players.rebelHuman) << '\n'
        << "ticks " << replay.tickCount << '\n';
    size_t check = 0;
    for (const ReplayTick& tick : replay.ticks) {
        for (; check < replay.checkpoints.size() && replay.checkpoints[check].tick < tick.tick;
             ++check) {
            WriteCheckpoint(replay.checkpoints[check], out);
        }
        if (tick.Empty()) continue;
        out << tick.tick;
        for (const GameInput& event : tick.before) WriteEvent(event, out);
        if (!tick.after.empty()) out << " |";
        for (const GameInput& event : tick.after) WriteEvent(event, out);
        out << '\n';
    }
    for (; check < replay.checkpoints.size(); ++check)
        WriteCheckpoint(replay.checkpoints[check], out);
    out << "end " << ChecksumHex(replay.finalChecksum) << '\n';
}

}  // namespace

// Version 2 closes with the digest of everything before it.
std::string ReplayText(const Replay& replay) {
    TextOut out;
    WriteContent(replay, out);
    if (replay.version >= 2) {
        Fnv1a digest;
        digest.Add(out.text);
        out << "digest " << ChecksumHex(digest.Value()) << '\n';
    }
    return std::move(out.text);
}

void WriteReplay(const Replay& replay, std::ostream& out) {
    out << ReplayText(replay);
}

bool SaveReplay(const Replay& replay, const std::string& path, std::string& error) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) WriteReplay(replay, out);
        out.flush();
        if (!out) {
            error = "cannot write " + temporary;
            std::remove(temporary.c_str());
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        error = "cannot replace " + path + ": " + ec.message();
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace qx
