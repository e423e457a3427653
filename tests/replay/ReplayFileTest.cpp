// The replay file: what the writer writes reads back the same, and every kind
// of bad file is refused with its own error.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "replay/ReplayCheck.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayWriter.h"

using namespace qx;
using Code = ReplayError::Code;

namespace {

const char* const kGood =
    "quarnex-replay 1\n"
    "seed 4294967295\n"
    "players human computer\n"
    "ticks 40\n"
    "0 R N Ahc\n"
    "3 T-2147483648,2147483647 Ff Fd Fu Fn K0 K13 Nch Ncc R\n"
    "39 R | R E R Ahh\n"
    "end 00ff00ff00ff00ff\n";

ReplayError ErrorOf(const std::string& text) {
    ReplayError error;
    EXPECT_FALSE(ReadReplayText(text, error).has_value()) << text;
    return error;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

}  // namespace

TEST(ReplayFile, ReadsAndWritesEveryEventTheSame) {
    ReplayError error;
    const auto replay = ReadReplayText(kGood, error);
    ASSERT_TRUE(replay) << error.Describe();
    EXPECT_EQ(replay->seed, 4294967295u);
    EXPECT_EQ(replay->players, (PlayerChoice{true, false}));
    EXPECT_EQ(replay->tickCount, 40);
    EXPECT_EQ(replay->finalChecksum, 0x00ff00ff00ff00ffULL);
    ASSERT_EQ(replay->ticks.size(), 3u);
    const ReplayTick& t3 = replay->ticks[1];
    ASSERT_EQ(t3.before.size(), 10u);
    EXPECT_EQ(t3.before[0], GameInput::Target(INT32_MIN, INT32_MAX));
    EXPECT_EQ(t3.before[4], GameInput::Fire(Weapon::None));
    EXPECT_EQ(t3.before[6], GameInput::Key(GameKey::DownRight));
    EXPECT_EQ(t3.before[7], GameInput::NewGame(PlayerChoice{false, true}));
    const ReplayTick& t39 = replay->ticks[2];
    EXPECT_EQ(t39.after.size(), 4u);
    EXPECT_EQ(t39.after[1], GameInput::EndOfGameClosed());
    EXPECT_EQ(t39.after[3], GameInput::PlayersChosen(PlayerChoice{true, true}));
    std::ostringstream out;
    WriteReplay(*replay, out);
    EXPECT_EQ(out.str(), kGood);
    // Windows line ends are read as well.
    std::string crlf;
    for (char c : std::string(kGood)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_TRUE(ReadReplayText(crlf, error)) << error.Describe();
}

// Version 2: a checkpoint after every 60th tick, a dialog closed without OK
// as a bare 'A', answers on any later tick (the game waits meanwhile) and
// the digest of the lines before it last.
const char* const kGood2 =
    "quarnex-replay 2\n"
    "seed 7\n"
    "players human computer\n"
    "ticks 130\n"
    "0 R N A\n"
    "60 K1\n"
    "check 60 0a0b0c0d\n"
    "61 | E\n"
    "75 Ach\n"
    "check 120 ffffffff\n"
    "end 00ff00ff00ff00ff\n"
    "digest 1b49bc3520a719b0\n";

TEST(ReplayFile, VersionTwoKeepsCheckpointsAndAnswersOfLaterTicks) {
    ReplayError error;
    const auto replay = ReadReplayText(kGood2, error);
    ASSERT_TRUE(replay) << error.Describe();
    EXPECT_EQ(replay->version, 2);
    EXPECT_EQ(replay->ticks[0].before.back(), GameInput::PlayersChosen(std::nullopt));
    EXPECT_EQ(replay->checkpoints,
              (std::vector<ReplayCheckpoint>{{60, 0x0a0b0c0du}, {120, 0xffffffffu}}));
    std::ostringstream out;
    WriteReplay(*replay, out);
    EXPECT_EQ(out.str(), kGood2);

    const std::string good = kGood2;
    const std::pair<std::string, Code> bad[] = {
        {Replace(good, "check 120 ffffffff\n", ""), Code::Truncated},
        {Replace(good, "check 60", "check 59"), Code::Malformed},
        {Replace(good, "check 60 0a0b0c0d", "check 60 0a0b0c0"), Code::Malformed},
        {Replace(good, "check 60 0a0b0c0d", "check 60 0a0b0c0g"), Code::Malformed},
        {Replace(good, "60 K1\ncheck 60 0a0b0c0d", "check 60 0a0b0c0d\n60 K1"), Code::Malformed},
        {Replace(good, "ticks 130", "ticks 2880000"), Code::Truncated},
        {Replace(good, "digest 1b49bc3520a719b0", "digest 1B49BC3520A719B0"), Code::Malformed},
        {Replace(good, "digest 1b49", "digest\t1b49"), Code::Malformed},
        {Replace(good, "19b0\n", "19b0"), Code::Truncated},
        {good + "digest 1b49bc3520a719b0\n", Code::Malformed},
    };
    for (const auto& [text, code] : bad) EXPECT_EQ(ErrorOf(text).code, code) << text;

    // A digest the content does not match reads, noting the digest's line
    // for CheckReplay to refuse; the same file without its digest (as written
    // before there were digests) and with Windows line ends is read as good.
    const auto damaged = ReadReplayText(Replace(good, "75 Ach", "75 Ahc"), error);
    ASSERT_TRUE(damaged) << error.Describe();
    EXPECT_EQ(damaged->damagedDigestLine, 12);
    std::string crlf;
    for (char c : good) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& text : {good.substr(0, good.find("digest")), crlf}) {
        const auto read = ReadReplayText(text, error);
        ASSERT_TRUE(read) << error.Describe();
        EXPECT_EQ(*read, *replay);
    }
}

TEST(ReplayFile, BadFilesAreRefusedWithTheirReason) {
    const std::string good = kGood;
    struct Case {
        std::string text;
        Code code;
        int64_t line;
    };
    const Case cases[] = {
        // Truncated: anywhere, even inside the first line or the last.
        {"", Code::Truncated, 1},
        {"quarnex-rep", Code::Truncated, 1},
        {good.substr(0, good.size() - 1), Code::Truncated, 8},
        {good.substr(0, good.find("39 R")), Code::Truncated, 7},
        {good.substr(0, good.find("39 R") + 5), Code::Truncated, 7},
        // Not a replay at all.
        {"\x89PNG\r\n\x1a\n garbage", Code::NotAReplay, 1},
        {"quarnex-replay one\n", Code::NotAReplay, 1},
        // Another version.
        {Replace(good, "replay 1", "replay 3"), Code::WrongVersion, 1},
        {Replace(good, "replay 1", "replay 0"), Code::WrongVersion, 1},
        // Version 1 has no checkpoints and no bare 'A'.
        {Replace(good, "39 R", "check 60 00000000\n39 R"), Code::Malformed, 7},
        {Replace(good, "replay 1", "replay 99999999999999999999999"), Code::WrongVersion, 1},
        // Huge numbers and counts.
        {Replace(good, "seed 4294967295", "seed 4294967296"), Code::OutOfRange, 2},
        {Replace(good, "ticks 40", "ticks 99999999999999999999"), Code::OutOfRange, 4},
        {Replace(good, "ticks 40", "ticks 9000000000"), Code::TooLong, 4},
        {Replace(good, "T-2147483648", "T-2147483649"), Code::OutOfRange, 6},
        {Replace(good, "K13", "K14"), Code::OutOfRange, 6},
        {Replace(good, "39 R", "41 R"), Code::OutOfRange, 7},
        // Damaged lines.
        {Replace(good, "players human", "players person"), Code::Malformed, 3},
        {Replace(good, "seed", "sead"), Code::Malformed, 2},
        {Replace(good, "Fu", "Fx"), Code::Malformed, 6},
        {Replace(good, "T-2147483648,", "T-2147483648;"), Code::Malformed, 6},
        {Replace(good, "Ahc", "A"), Code::Malformed, 5},
        {Replace(good, "3 T", "0 T"), Code::Malformed, 6},
        {Replace(good, "0 R N", "0 | R N"), Code::Malformed, 5},
        {Replace(good, "39 R | R", "39 R | | R"), Code::Malformed, 7},
        {Replace(good, "end 00ff00ff00ff00ff", "end 00ff00ff00ff00f"), Code::Malformed, 8},
        {Replace(good, "end 00ff00ff00ff00ff", "end 00ff00ff00ff00fg"), Code::Malformed, 8},
        {good + "more\n", Code::Malformed, 9},
        {Replace(good, "39 R", "\n39 R"), Code::Malformed, 7},
    };
    for (const Case& c : cases) {
        const ReplayError error = ErrorOf(c.text);
        EXPECT_EQ(error.code, c.code) << c.text << "\n" << error.Describe();
        EXPECT_EQ(error.line, c.line) << c.text << "\n" << error.Describe();
        EXPECT_FALSE(error.Describe().empty());
    }
}

TEST(ReplayFile, SizesBeyondTheBoundsAreRefusedBeforeAllocating) {
    std::string head = "quarnex-replay 1\nseed 1\nplayers human human\nticks 10\n";
    // One line with more events than a tick may have.
    std::string line = "1";
    for (int64_t i = 0; i <= Replay::kMaxEventsPerTick; ++i) line += " R";
    EXPECT_EQ(ErrorOf(head + line + "\nend 0000000000000000\n").code, Code::TooLong);
    // A line without end.
    EXPECT_EQ(ErrorOf(head + "1 " + std::string(Replay::kMaxLineBytes + 1, 'R')).code,
              Code::TooLong);
    // A file larger than any replay.
    EXPECT_EQ(ErrorOf(std::string(Replay::kMaxFileBytes + 1, 'x')).code, Code::TooLarge);
    const auto path = std::filesystem::temp_directory_path() / "quarnex-replay-too-large.qxr";
    {
        std::ofstream big(path, std::ios::binary);
        big.seekp(Replay::kMaxFileBytes);
        big.put('\n');
    }
    ReplayError error;
    EXPECT_FALSE(LoadReplay(path.string(), error));
    EXPECT_EQ(error.code, Code::TooLarge);
    std::filesystem::remove(path);
    EXPECT_FALSE(LoadReplay("/nonexistent/replay.qxr", error));
    EXPECT_EQ(error.code, Code::CannotOpen);
}

TEST(ReplayFile, ReplaysThatDoNotFitTheGameAreFoundByPlayingThem) {
    const std::string head = "quarnex-replay 1\nseed 3\nplayers human computer\nticks 30\n";
    const auto check = [&](const std::string& body) {
        ReplayError error;
        const auto replay = ReadReplayText(head + body, error);
        EXPECT_TRUE(replay) << error.Describe();
        return replay ? CheckReplay(*replay) : error;
    };
    // A checksum that is not the state's.
    ReplayError error = check("0 R N Ahc\nend 0123456789abcdef\n");
    EXPECT_EQ(error.code, Code::ChecksumMismatch) << error.Describe();
    // An answer with no dialog open, a dialog left without answer, events
    // left over after a tick, windows inside each other without end.
    for (const char* body : {"0 R Ahc\n", "0 R N\n", "5 | E\n", "0 N N N N N N N N N N\n"}) {
        error = check(std::string(body) + "end 0123456789abcdef\n");
        EXPECT_EQ(error.code, Code::Mismatch) << body << error.Describe();
        EXPECT_GE(error.tick, 0);
    }
}

TEST(ReplayFile, SavingReplacesTheFileOnlyWhenTheWholeReplayIsWritten) {
    const auto dir = std::filesystem::temp_directory_path() / "quarnex-replay-save";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "game.qxr").string();
    Replay replay;
    replay.tickCount = 5;
    std::string error;
    ASSERT_TRUE(SaveReplay(replay, path, error)) << error;
    ReplayError readError;
    EXPECT_EQ(LoadReplay(path, readError), replay);
    EXPECT_FALSE(SaveReplay(replay, (dir / "missing" / "game.qxr").string(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
    std::filesystem::remove_all(dir);
}
