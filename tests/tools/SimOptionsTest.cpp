#include <gtest/gtest.h>

#include <sstream>

#include "tools/sim/InputScript.h"
#include "tools/sim/SimOptions.h"

using namespace qx::sim;

namespace {

std::optional<SimOptions> Parse(std::vector<std::string> args, std::string& error) {
    return ParseSimOptions(args, error);
}

}  // namespace

TEST(SimOptions, DefaultsAndEveryOption) {
    std::string error;
    auto defaults = Parse({}, error);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->seed, 0u);
    EXPECT_EQ(defaults->ticks, 1000);
    EXPECT_TRUE(defaults->emperorComputer);
    EXPECT_TRUE(defaults->rebelComputer);
    EXPECT_EQ(defaults->clientWidth, 600);
    EXPECT_EQ(defaults->clientHeight, 400);

    auto all = Parse({"--seed", "4294967295", "--ticks", "5", "--emperor", "human", "--rebel",
                      "computer", "--client", "1920x1080", "--input", "in.txt", "--trace", "-",
                      "--frames", "out", "--frame-every", "10"},
                     error);
    ASSERT_TRUE(all) << error;
    EXPECT_EQ(all->seed, 4294967295u);
    EXPECT_EQ(all->ticks, 5);
    EXPECT_FALSE(all->emperorComputer);
    EXPECT_TRUE(all->rebelComputer);
    EXPECT_EQ(all->clientWidth, 1920);
    EXPECT_EQ(all->clientHeight, 1080);
    EXPECT_EQ(all->inputPath, "in.txt");
    EXPECT_EQ(all->tracePath, "-");
    EXPECT_EQ(all->framesDir, "out");
    EXPECT_EQ(all->frameEvery, 10);

    auto replay = Parse({"--replay", "r.qxr", "--export-input", "out.txt", "--record", "again.qxr",
                         "--client", "300x200", "--trace", "-"},
                        error);
    ASSERT_TRUE(replay) << error;
    EXPECT_EQ(replay->replayPath, "r.qxr");
    EXPECT_EQ(replay->exportPath, "out.txt");
    EXPECT_EQ(replay->recordPath, "again.qxr");
}

TEST(SimOptions, BadArgumentsNameTheProblem) {
    const std::vector<std::vector<std::string>> bad = {
        {"--seed", "-1"},
        {"--seed", "4294967296"},
        {"--seed", "12abc"},
        {"--ticks", ""},
        {"--ticks", "-3"},
        {"--emperor", "robot"},
        {"--client", "600"},
        {"--client", "x400"},
        {"--client", "99999x10"},
        {"--frame-every", "0"},
        {"--bogus", "1"},
        {"--ticks"},
        {"--record", ""},
        {"--replay", ""},
        {"--export-input", "out.txt"},
        {"--seed", "1", "--replay", "r.qxr"},
        {"--input", "in.txt", "--replay", "r.qxr"},
        {"--sync-test", "8", "--replay", "r.qxr"},
    };
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(Parse(args, error)) << args[0];
        EXPECT_NE(error.find(args[0]), std::string::npos) << error;
    }
}

TEST(InputScript, ParsesEventsSkippingBlankAndCommentLines) {
    std::istringstream in(
        "# a comment\n\n1 mouse 400 300\n1 lbutton\n2 rbutton\n2 mbutton\n3 key 13\n"
        "  \t\n4 paint\n5 resize 800 600\n5 newgame human computer\n6 dialog computer human\n");
    std::vector<InputEvent> events;
    std::string error;
    ASSERT_TRUE(ParseInputScript(in, events, error)) << error;
    ASSERT_EQ(events.size(), 9u);
    EXPECT_EQ(events[0].kind, EventKind::Mouse);
    EXPECT_EQ(events[0].a, 400);
    EXPECT_EQ(events[0].b, 300);
    EXPECT_EQ(events[0].lineNumber, 3);
    EXPECT_EQ(events[4].kind, EventKind::Key);
    EXPECT_EQ(events[4].a, 13);
    EXPECT_EQ(events[6].kind, EventKind::Resize);
    EXPECT_EQ(events[7].kind, EventKind::NewGame);
    EXPECT_EQ(events[7].a, 0);  // Emperor: human
    EXPECT_EQ(events[7].b, 1);  // Rebel: computer
    EXPECT_EQ(events[8].kind, EventKind::Dialog);
    EXPECT_EQ(events[8].a, 1);
    EXPECT_EQ(events[8].b, 0);
}

TEST(InputScript, BadLinesAreReportedWithTheirNumber) {
    const std::vector<std::string> bad = {
        "0 paint",
        "x paint",
        "1 jump",
        "1 mouse 5",
        "1 mouse a b",
        "1 key 256",
        "1 key -1",
        "1 resize -1 10",
        "1 resize 10 99999",
        "1 newgame human",
        "1 newgame a b",
        "1 dialog human",
        "1 paint now",
        "1",
    };
    for (const std::string& line : bad) {
        std::istringstream in("1 paint\n# fine\n" + line + "\n");
        std::vector<InputEvent> events;
        std::string error;
        EXPECT_FALSE(ParseInputScript(in, events, error)) << line;
        EXPECT_NE(error.find("line 3"), std::string::npos) << line << ": " << error;
    }
    std::istringstream decreasing("5 paint\n4 paint\n");
    std::vector<InputEvent> events;
    std::string error;
    EXPECT_FALSE(ParseInputScript(decreasing, events, error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
}

TEST(SimOptions, NetworkPlayOptions) {
    std::string error;
    auto host =
        Parse({"--net-host", "29030", "--side", "rebel", "--realtime", "--ticks", "50"}, error);
    ASSERT_TRUE(host) << error;
    EXPECT_TRUE(host->net.hosting);
    EXPECT_EQ(host->net.port, 29030);
    EXPECT_EQ(host->net.side, "rebel");
    EXPECT_TRUE(host->net.realtime);
    auto join = Parse({"--net-join", "::1:7", "--sync-test", "16"}, error);
    ASSERT_TRUE(join) << error;
    EXPECT_TRUE(join->net.joining);
    EXPECT_EQ(join->net.host, "::1");
    EXPECT_EQ(join->net.port, 7);

    const std::vector<std::vector<std::string>> bad = {
        {"--net-host", "0"},
        {"--net-host", "65536"},
        {"--net-join", "localhost"},
        {"--net-join", ":5"},
        {"--net-join", "a:0"},
        {"--side", "both", "--net-host", "1"},
        {"--side", "rebel"},
        {"--realtime"},
        {"--net-host", "1", "--net-join", "a:1"},
        {"--net-host", "1", "--emperor", "human"},
        {"--net-host", "1", "--frames", "out"},
        {"--net-host", "1", "--ticks", "2147483648"},
        {"--net-host", "1", "--ticks", "0"},
        {"--net-host", "1", "--sync-test", "17"},
    };
    for (const auto& args : bad) {
        EXPECT_FALSE(Parse(args, error)) << args[0] << " " << args[1 % args.size()];
        EXPECT_FALSE(error.empty());
    }
}

TEST(SimOptions, MatchServerRequests) {
    std::string error;
    auto create = Parse({"--server", "play.example:29030", "--create", "--side", "rebel", "--seed",
                         "7", "--ticks", "500", "--invite-file", "code.txt", "--realtime",
                         "--input", "in.txt", "--trace", "-", "--record", "r.qxr"},
                        error);
    ASSERT_TRUE(create) << error;
    EXPECT_TRUE(create->net.Active());
    EXPECT_EQ(create->net.action, ServerAction::Create);
    EXPECT_EQ(create->net.host, "play.example");
    EXPECT_EQ(create->net.port, 29030);
    EXPECT_EQ(create->net.side, "rebel");
    EXPECT_EQ(create->net.inviteFile, "code.txt");

    auto join = Parse({"--join", "7k2m-9qxz", "--server", "127.0.0.1:5"}, error);
    ASSERT_TRUE(join) << error;
    EXPECT_EQ(join->net.action, ServerAction::Join);
    EXPECT_EQ(join->net.code, "7k2m-9qxz");
    ASSERT_TRUE(Parse({"--server", "h:1", "--quick", "--sync-test", "4"}, error)) << error;
    // A room without a length, as the page makes them.
    ASSERT_TRUE(Parse({"--server", "h:1", "--create", "--ticks", "0"}, error)) << error;
    auto watch = Parse({"--server", "h:1", "--watch", "7K2M9QXZ", "--ticks", "50"}, error);
    ASSERT_TRUE(watch) << error;
    EXPECT_TRUE(watch->net.Watching());
    EXPECT_TRUE(watch->net.ticksGiven);
}

TEST(SimOptions, MatchServerMisuseNamesTheOption) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{"--create"}, "--create"},
        {{"--watch", "7K2M9QXZ"}, "--watch"},
        {{"--invite-file", "f", "--net-host", "5000"}, "--invite-file"},
        {{"--server", "h:1"}, "--server"},
        {{"--server", "h"}, "--server"},
        {{"--server", "h:0", "--quick"}, "--server"},
        {{"--server", "h:1", "--create", "--quick"}, "--quick"},
        {{"--server", "h:1", "--join", "A", "--watch", "B"}, "--watch"},
        {{"--server", "h:1", "--net-join", "h:2", "--quick"}, "--net-join"},
        {{"--server", "h:1", "--watch", "7K2M9QXZ", "--input", "in.txt"}, "--input"},
        {{"--server", "h:1", "--watch", "7K2M9QXZ", "--side", "rebel"}, "--side"},
        {{"--server", "h:1", "--create", "--emperor", "computer"}, "--emperor"},
        {{"--server", "h:1", "--create", "--side", "both"}, "--side"},
        {{"--server", "h:1", "--join", ""}, "--join"},
        {{"--server", "h:1", "--quick", "--ticks", "0"}, "--ticks"},
    };
    for (const auto& [args, named] : bad) {
        std::string error;
        EXPECT_FALSE(Parse(args, error)) << args.back();
        EXPECT_NE(error.find(named), std::string::npos) << error;
    }
}
