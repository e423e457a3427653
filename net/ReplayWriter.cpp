#include "net/ReplayWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "game/GameState.h"

namespace qx {
namespace {

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

void WriteInput(const GameInput& in, std::ostream& out) {
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
    }
}

void WriteEvent(const ReplayEvent& event, std::ostream& out) {
    out << ' ';
    switch (event.kind) {
        case ReplayEventKind::Input:
            return WriteInput(event.input, out);
        case ReplayEventKind::EndOfGameClosed:
            out << 'E';
            return;
        case ReplayEventKind::DialogAnswer:
            out << 'A' << Side(event.answer.emperorHuman) << Side(event.answer.rebelHuman);
            return;
    }
}

}  // namespace

void WriteReplay(const Replay& replay, std::ostream& out) {
    out << "quarnex-replay " << Replay::kVersion << '\n'
        << "seed " << replay.seed << '\n'
        << "players " << PlayerWord(replay.players.emperorHuman) << ' '
        << PlayerWord(replay.players.rebelHuman) << '\n'
        << "ticks " << replay.tickCount << '\n';
    for (const ReplayTick& tick : replay.ticks) {
        if (tick.Empty()) continue;
        out << tick.tick;
        for (const ReplayEvent& event : tick.before) WriteEvent(event, out);
        if (!tick.during.empty()) out << " |";
        for (const ReplayEvent& event : tick.during) WriteEvent(event, out);
        out << '\n';
    }
    out << "end " << ChecksumHex(replay.finalChecksum) << '\n';
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
