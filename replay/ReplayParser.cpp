#include "replay/ReplayParser.h"

#include <charconv>
#include <limits>

namespace qx {
namespace {

using Code = ReplayError::Code;

constexpr std::string_view kMagic = "quarnex-replay";

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

enum class Number { Ok, NotANumber, OutOfRange };

// Strict decimal: an optional minus and digits only, within [min, max].
Number ParseNumber(std::string_view text, int64_t min, int64_t max, int64_t& value) {
    const size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == digits) return Number::NotANumber;
    for (size_t i = digits; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return Number::NotANumber;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range || value < min || value > max) {
        return Number::OutOfRange;
    }
    return end == text.data() + text.size() ? Number::Ok : Number::NotANumber;
}

std::optional<bool> HumanLetter(char c) {
    if (c == 'h') return true;
    if (c == 'c') return false;
    return std::nullopt;
}

std::optional<PlayerChoice> ChoiceLetters(std::string_view two) {
    if (two.size() != 2) return std::nullopt;
    const auto emperor = HumanLetter(two[0]);
    const auto rebel = HumanLetter(two[1]);
    if (!emperor || !rebel) return std::nullopt;
    return PlayerChoice{*emperor, *rebel};
}

std::optional<Weapon> WeaponFromLetter(std::string_view one) {
    if (one == "f") return Weapon::Forward;
    if (one == "d") return Weapon::Down;
    if (one == "u") return Weapon::Up;
    if (one == "n") return Weapon::None;
    return std::nullopt;
}

}  // namespace

bool ReplayParser::Fail(Code code, std::string detail) {
    error.code = code;
    error.line = lineNumber;
    error.detail = std::move(detail);
    return false;
}

// A line must end with a line feed: a last line without one was cut off.
bool ReplayParser::NextLine(std::string_view& line) {
    if (position >= text.size()) {
        ++lineNumber;
        return Fail(Code::Truncated, "the closing 'end' line is missing");
    }
    ++lineNumber;
    const size_t feed = text.find('\n', position);
    const size_t stop = feed == std::string_view::npos ? text.size() : feed;
    if (static_cast<int64_t>(stop - position) > Replay::kMaxLineBytes) {
        return Fail(Code::TooLong, "line longer than " + std::to_string(Replay::kMaxLineBytes));
    }
    if (feed == std::string_view::npos) return Fail(Code::Truncated, "the last line is cut off");
    line = text.substr(position, stop - position);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    position = stop + 1;
    digest.Add(line);
    digest.Add(uint8_t{'\n'});
    return true;
}

bool ReplayParser::ReadFormatLine(Replay& replay) {
    const std::string_view head = text.substr(0, kMagic.size() + 1);
    if (head.size() <= kMagic.size() && kMagic.substr(0, head.size()) == head) {
        lineNumber = 1;
        return Fail(Code::Truncated, "the file ends inside its first line");
    }
    std::string_view line;
    if (text.substr(0, kMagic.size() + 1) != std::string(kMagic) + " ") {
        lineNumber = 1;
        return Fail(Code::NotAReplay, "the first line must be 'quarnex-replay VERSION'");
    }
    if (!NextLine(line)) return false;
    const auto words = Words(line);
    int64_t version = 0;
    if (words.size() != 2)
        return Fail(Code::NotAReplay, "the first line must be 'quarnex-replay VERSION'");
    const Number parsed = ParseNumber(words[1], 0, std::numeric_limits<int64_t>::max(), version);
    if (parsed == Number::NotANumber) return Fail(Code::NotAReplay, "no version number");
    if (parsed == Number::OutOfRange || version < Replay::kOldestVersion ||
        version > Replay::kVersion) {
        return Fail(Code::WrongVersion, "version " + std::string(words[1]) + ", this game reads " +
                                            std::to_string(Replay::kOldestVersion) + " to " +
                                            std::to_string(Replay::kVersion));
    }
    replay.version = static_cast<int>(version);
    this->version = replay.version;
    return true;
}

bool ReplayParser::ReadField(std::string_view name, std::vector<std::string_view>& words) {
    std::string_view line;
    if (!NextLine(line)) return false;
    words = Words(line);
    if (words.empty() || words[0] != name) {
        return Fail(Code::Malformed, "expected the '" + std::string(name) + "' line");
    }
    words.erase(words.begin());
    return true;
}

bool ReplayParser::ReadCount(std::string_view word, int64_t min, int64_t max, int64_t& value,
                             const char* what) {
    switch (ParseNumber(word, min, max, value)) {
        case Number::Ok:
            return true;
        case Number::NotANumber:
            return Fail(Code::Malformed, std::string(what) + " is not a number");
        case Number::OutOfRange:
            break;
    }
    return Fail(Code::OutOfRange, std::string(what) + " " + std::string(word) + " is not within " +
                                      std::to_string(min) + ".." + std::to_string(max));
}

bool ReplayParser::ReadHeader(Replay& replay) {
    std::vector<std::string_view> words;
    int64_t number = 0;
    if (!ReadField("seed", words)) return false;
    if (words.size() != 1) return Fail(Code::Malformed, "'seed' takes one number");
    if (!ReadCount(words[0], 0, std::numeric_limits<uint32_t>::max(), number, "the seed")) {
        return false;
    }
    replay.seed = static_cast<uint32_t>(number);

    if (!ReadField("players", words)) return false;
    if (words.size() != 2 || (words[0] != "human" && words[0] != "computer") ||
        (words[1] != "human" && words[1] != "computer")) {
        return Fail(Code::Malformed, "'players' takes two of human|computer");
    }
    replay.players = {words[0] == "human", words[1] == "human"};

    if (!ReadField("ticks", words)) return false;
    if (words.size() != 1) return Fail(Code::Malformed, "'ticks' takes one number");
    if (ParseNumber(words[0], 0, std::numeric_limits<int64_t>::max(), number) == Number::Ok &&
        number > Replay::kMaxTicks) {
        return Fail(Code::TooLong, "more than " + std::to_string(Replay::kMaxTicks) + " ticks");
    }
    if (!ReadCount(words[0], 0, Replay::kMaxTicks, number, "the tick count")) return false;
    replay.tickCount = number;
    return true;
}

bool ReplayParser::ReadTarget(std::string_view word, GameInput& event) {
    const size_t comma = word.find(',');
    if (comma == std::string_view::npos) return Fail(Code::Malformed, "a target needs 'Tx,y'");
    int64_t x = 0;
    int64_t y = 0;
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    if (!ReadCount(word.substr(1, comma - 1), lo, hi, x, "a target's x") ||
        !ReadCount(word.substr(comma + 1), lo, hi, y, "a target's y")) {
        return false;
    }
    event = GameInput::Target(static_cast<int32_t>(x), static_cast<int32_t>(y));
    return true;
}

bool ReplayParser::ReadEvent(std::string_view word, GameInput& event) {
    const std::string_view rest = word.substr(1);
    switch (word[0]) {
        case 'T':
            return ReadTarget(word, event);
        case 'F':
            if (const auto weapon = WeaponFromLetter(rest)) {
                event = GameInput::Fire(*weapon);
                return true;
            }
            break;
        case 'K': {
            int64_t key = 0;
            if (!ReadCount(rest, 0, static_cast<int64_t>(GameKey::DownRight), key, "a key")) {
                return false;
            }
            event = GameInput::Key(static_cast<GameKey>(key));
            return true;
        }
        case 'N':
            if (rest.empty()) {
                event = GameInput::NewGame();
                return true;
            }
            if (const auto choice = ChoiceLetters(rest)) {
                event = GameInput::NewGame(*choice);
                return true;
            }
            break;
        case 'R':
            if (!rest.empty()) break;
            event = GameInput::Repaint();
            return true;
        case 'E':
            if (!rest.empty()) break;
            event = GameInput::EndOfGameClosed();
            return true;
        case 'A':
            // Version 2 writes a dialog closed without OK as a bare 'A'.
            if (rest.empty() && version >= 2) {
                event = GameInput::PlayersChosen(std::nullopt);
                return true;
            }
            if (const auto choice = ChoiceLetters(rest)) {
                event = GameInput::PlayersChosen(*choice);
                return true;
            }
            break;
        default:
            break;
    }
    return Fail(Code::Malformed, "unknown event '" + std::string(word.substr(0, 40)) + "'");
}

bool ReplayParser::ReadTickLine(const std::vector<std::string_view>& words, Replay& replay) {
    int64_t tick = 0;
    if (!ReadCount(words[0], 0, replay.tickCount, tick, "the tick")) return false;
    if (tick <= lastTick) return Fail(Code::Malformed, "ticks must increase from line to line");
    if (words.size() < 2) return Fail(Code::Malformed, "a tick line needs at least one event");
    if (static_cast<int64_t>(words.size()) - 1 > Replay::kMaxEventsPerTick + 1) {
        return Fail(Code::TooLong, "more than " + std::to_string(Replay::kMaxEventsPerTick) +
                                       " events in one tick");
    }
    lastTick = tick;
    ReplayTick entry;
    entry.tick = tick;
    bool duringTick = false;
    for (size_t i = 1; i < words.size(); ++i) {
        if (words[i] == "|") {
            if (duringTick || tick == 0 || i + 1 == words.size()) {
                return Fail(Code::Malformed, "'|' must come once, before events of a timer tick");
            }
            duringTick = true;
            continue;
        }
        if (++events > Replay::kMaxEvents) {
            return Fail(Code::TooLong,
                        "more than " + std::to_string(Replay::kMaxEvents) + " events");
        }
        GameInput event;
        if (!ReadEvent(words[i], event)) return false;
        (duringTick ? entry.after : entry.before).push_back(event);
    }
    if (entry.before.size() + entry.after.size() > Replay::kMaxEventsPerTick) {
        return Fail(Code::TooLong, "more than " + std::to_string(Replay::kMaxEventsPerTick) +
                                       " events in one tick");
    }
    replay.ticks.push_back(std::move(entry));
    return true;
}

// Version 2: `check T SUM` after every tick T that is a multiple of
// Replay::kCheckpointEvery, in order, none missing; SUM 8 hex digits.
bool ReplayParser::ReadCheckpoint(const std::vector<std::string_view>& words, Replay& replay) {
    if (version < 2) return Fail(Code::Malformed, "version 1 has no 'check' lines");
    if (words.size() != 3 || words[2].size() != 8) {
        return Fail(Code::Malformed, "'check' takes a tick and 8 hex digits");
    }
    int64_t tick = 0;
    if (!ReadCount(words[1], 0, replay.tickCount, tick, "the checkpoint's tick")) return false;
    const int64_t expected =
        Replay::kCheckpointEvery * (static_cast<int64_t>(replay.checkpoints.size()) + 1);
    if (tick != expected || tick < lastTick) {
        return Fail(Code::Malformed, "expected the checkpoint of tick " + std::to_string(expected));
    }
    ReplayCheckpoint point;
    point.tick = tick;
    const auto [ptr, ec] = std::from_chars(words[2].data(), words[2].data() + 8, point.sum, 16);
    if (ec != std::errc() || ptr != words[2].data() + 8) {
        return Fail(Code::Malformed, "'check' takes a tick and 8 hex digits");
    }
    lastTick = tick;
    replay.checkpoints.push_back(point);
    return true;
}

// A version 2 file without all its checkpoints is cut or made up: it cannot
// be the game it claims to be, however many ticks it names.
bool ReplayParser::CheckpointsComplete(const Replay& replay) {
    if (version < 2) return true;
    const auto wanted = replay.tickCount / Replay::kCheckpointEvery;
    if (static_cast<int64_t>(replay.checkpoints.size()) == wanted) return true;
    return Fail(Code::Truncated,
                "the checkpoint of tick " +
                    std::to_string(Replay::kCheckpointEvery *
                                   (static_cast<int64_t>(replay.checkpoints.size()) + 1)) +
                    " is missing");
}

bool ReplayParser::ReadEnd(const std::vector<std::string_view>& words, Replay& replay) {
    if (words.size() != 2 || words[1].size() != 16) {
        return Fail(Code::Malformed, "'end' takes the checksum as 16 hex digits");
    }
    const auto [ptr, ec] =
        std::from_chars(words[1].data(), words[1].data() + 16, replay.finalChecksum, 16);
    if (ec != std::errc() || ptr != words[1].data() + 16) {
        return Fail(Code::Malformed, "'end' takes the checksum as 16 hex digits");
    }
    if (position < text.size() && version >= 2) return ReadDigest(replay);
    if (position < text.size()) {
        ++lineNumber;
        return Fail(Code::Malformed, "text after the 'end' line");
    }
    return true;
}

// Version 2: `digest HEX`, the Fnv1a of every line before it as the game
// writes them (each with a line feed and without a carriage return), 16
// lowercase hex digits exactly, so that no byte of it can change unnoticed.
// A digest that does not match is noted in the replay, not refused here:
// CheckReplay refuses it after playing it to name the tick where it parts.
bool ReplayParser::ReadDigest(Replay& replay) {
    const uint64_t content = digest.Value();
    std::string_view line;
    if (!NextLine(line)) return false;
    constexpr std::string_view kWord = "digest ";
    const bool lowerHex =
        line.size() == kWord.size() + 16 &&
        line.find_first_not_of("0123456789abcdef", kWord.size()) == std::string_view::npos;
    if (!line.starts_with(kWord) || !lowerHex) {
        return Fail(Code::Malformed, "after 'end' only 'digest' and 16 lowercase hex digits");
    }
    uint64_t recorded = 0;
    std::from_chars(line.data() + kWord.size(), line.data() + line.size(), recorded, 16);
    if (recorded != content) replay.damagedDigestLine = lineNumber;
    if (position < text.size()) {
        ++lineNumber;
        return Fail(Code::Malformed, "text after the 'digest' line");
    }
    return true;
}

std::optional<Replay> ReplayParser::Run() {
    Replay replay;
    if (!ReadFormatLine(replay) || !ReadHeader(replay)) return std::nullopt;
    for (;;) {
        std::string_view line;
        if (!NextLine(line)) return std::nullopt;
        const auto words = Words(line);
        if (words.empty()) {
            Fail(Code::Malformed, "empty line");
            return std::nullopt;
        }
        if (words[0] == "end") {
            if (!CheckpointsComplete(replay) || !ReadEnd(words, replay)) return std::nullopt;
            return replay;
        }
        if (words[0] == "check") {
            if (!ReadCheckpoint(words, replay)) return std::nullopt;
            continue;
        }
        if (!ReadTickLine(words, replay)) return std::nullopt;
    }
}

}  // namespace qx
