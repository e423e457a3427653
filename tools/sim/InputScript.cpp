#include "tools/sim/InputScript.h"

#include <limits>
#include <sstream>

#include "tools/sim/SimOptions.h"

namespace qx::sim {
namespace {

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

struct EventShape {
    const char* name;
    EventKind kind;
    int arguments;
};

constexpr EventShape kShapes[] = {
    {"mouse", EventKind::Mouse, 2},     {"lbutton", EventKind::LButton, 0},
    {"rbutton", EventKind::RButton, 0}, {"mbutton", EventKind::MButton, 0},
    {"key", EventKind::Key, 1},         {"paint", EventKind::Paint, 0},
    {"resize", EventKind::Resize, 2},   {"newgame", EventKind::NewGame, 2},
    {"dialog", EventKind::Dialog, 2},
};

bool ParsePlayerWord(const std::string& word, int32_t& computer) {
    if (word == "human")
        computer = 0;
    else if (word == "computer")
        computer = 1;
    else
        return false;
    return true;
}

// Parses the arguments of one event; returns an empty string or what is wrong.
std::string ParseArguments(EventKind kind, const std::vector<std::string>& args,
                           InputEvent& event) {
    int64_t a = 0;
    int64_t b = 0;
    switch (kind) {
        case EventKind::Mouse:
            if (!ParseInteger(args[0], kInt32Min, kInt32Max, a) ||
                !ParseInteger(args[1], kInt32Min, kInt32Max, b)) {
                return "mouse needs two integer coordinates";
            }
            break;
        case EventKind::Key:
            if (!ParseInteger(args[0], 0, 255, a)) return "key needs a virtual-key code 0..255";
            break;
        case EventKind::Resize:
            if (!ParseInteger(args[0], 0, kMaxClientSide, a) ||
                !ParseInteger(args[1], 0, kMaxClientSide, b)) {
                return "resize needs a width and a height from 0 to " +
                       std::to_string(kMaxClientSide);
            }
            break;
        case EventKind::NewGame:
        case EventKind::Dialog: {
            int32_t e = 0;
            int32_t r = 0;
            if (!ParsePlayerWord(args[0], e) || !ParsePlayerWord(args[1], r)) {
                return kind == EventKind::Dialog ? "dialog needs two of human|computer"
                                                 : "newgame needs two of human|computer";
            }
            a = e;
            b = r;
            break;
        }
        default:
            break;
    }
    event.a = static_cast<int32_t>(a);
    event.b = static_cast<int32_t>(b);
    return {};
}

// Parses one non-blank line; returns an empty string or what is wrong.
std::string ParseLine(const std::string& line, int64_t lastTick, InputEvent& event) {
    std::istringstream words(line);
    std::vector<std::string> fields;
    for (std::string w; words >> w;) fields.push_back(w);
    if (fields.size() < 2) return "expected 'T EVENT ARGS'";
    if (!ParseInteger(fields[0], 1, std::numeric_limits<int64_t>::max(), event.tick)) {
        return "tick must be an integer of at least 1";
    }
    if (event.tick < lastTick) return "ticks must not decrease";
    for (const EventShape& shape : kShapes) {
        if (fields[1] != shape.name) continue;
        if (static_cast<int>(fields.size()) - 2 != shape.arguments) {
            return std::string(shape.name) + " takes " + std::to_string(shape.arguments) +
                   " argument(s)";
        }
        event.kind = shape.kind;
        return ParseArguments(shape.kind, {fields.begin() + 2, fields.end()}, event);
    }
    return "unknown event '" + fields[1] + "'";
}

}  // namespace

bool ParseInputScript(std::istream& in, std::vector<InputEvent>& events, std::string& error) {
    std::string line;
    int number = 0;
    int64_t lastTick = 1;
    while (std::getline(in, line)) {
        ++number;
        const auto start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#') continue;
        InputEvent event;
        event.lineNumber = number;
        const std::string problem = ParseLine(line, lastTick, event);
        if (!problem.empty()) {
            error = "input line " + std::to_string(number) + ": " + problem;
            return false;
        }
        lastTick = event.tick;
        events.push_back(event);
    }
    return true;
}

}  // namespace qx::sim
