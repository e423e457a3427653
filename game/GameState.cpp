#include "game/GameState.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "common/Fnv1a.h"

namespace qx {
namespace {

struct Field {
    const char* object;
    int shot;
    const char* field;
    int64_t value;
};

std::vector<Field> Fields(const GameState& state) {
    std::vector<Field> fields;
    VisitFields(state, [&](const char* object, int shot, const char* field, int64_t value) {
        fields.push_back({object, shot, field, value});
    });
    return fields;
}

}  // namespace

GameState GameState::Start(uint32_t seed, PlayerChoice players) {
    GameState state;
    state.rng = Random(Random::kStartState);
    state.meteor.Respawn(state.rng);
    state.rng.Seed(seed);
    state.emperor.SetComputer(!players.emperorHuman);
    state.rebel.SetComputer(!players.rebelHuman);
    state.emperor.FreeAllShots();
    state.rebel.FreeAllShots();
    state.timerRunning = true;
    return state;
}

namespace {

uint64_t Hash(const GameState& state, bool withWait) {
    Fnv1a hash;
    VisitFields(state, [&hash, withWait](const char* object, int, const char*, int64_t value) {
        if (!withWait && std::string_view(object) == "wait") return;
        const auto word = static_cast<uint64_t>(value);
        for (int byte = 0; byte < 8; ++byte) hash.Add(static_cast<uint8_t>(word >> (8 * byte)));
    });
    return hash.Value();
}

}  // namespace

uint64_t Checksum(const GameState& state) {
    return Hash(state, true);
}

uint64_t ChecksumWithoutWait(const GameState& state) {
    return Hash(state, false);
}

std::string FirstDifference(const GameState& a, const GameState& b) {
    const std::vector<Field> fa = Fields(a);
    const std::vector<Field> fb = Fields(b);
    for (size_t i = 0; i < fa.size(); ++i) {
        if (fa[i].value == fb[i].value) continue;
        std::string name = fa[i].object;
        if (fa[i].shot >= 0) name += ".shots[" + std::to_string(fa[i].shot) + "]";
        return name + "." + fa[i].field + ": " + std::to_string(fa[i].value) +
               " != " + std::to_string(fb[i].value);
    }
    return {};
}

std::string ChecksumHex(uint64_t checksum) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(checksum));
    return text;
}

}  // namespace qx
