#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/sim/RoomEntry.h"

namespace qx::sim {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(RoomEntry, TheInviteFileHoldsTheWholeCodeAndNothingIsLeftBeside) {
    const fs::path dir = fs::temp_directory_path() / ("quarnex-invite-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path file = dir / "code";
    std::string error;
    ASSERT_TRUE(WriteInviteFile(file.string(), "7K2M9QXZ", error)) << error;
    EXPECT_EQ(ReadAll(file), "7K2M9QXZ\n");
    // A second room's code replaces the first whole.
    ASSERT_TRUE(WriteInviteFile(file.string(), "ABCDEFGH", error)) << error;
    EXPECT_EQ(ReadAll(file), "ABCDEFGH\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    // A folder that cannot exist (under a regular file): a clear error and
    // no file.
    const std::string impossible = (file / "code").string();
    EXPECT_FALSE(WriteInviteFile(impossible, "7K2M9QXZ", error));
    EXPECT_NE(error.find(impossible), std::string::npos) << error;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}

TEST(RoomEntry, ACodeThatIsNoCodeIsABadArgumentBeforeAnyConnection) {
    SimOptions options;
    options.net.viaServer = true;
    options.net.host = "no.such.host.invalid";
    options.net.port = 1;
    for (const ServerAction action : {ServerAction::Join, ServerAction::Watch}) {
        options.net.action = action;
        options.net.code = "7K2M-9QX!";
        std::ostringstream log;
        const RoomEntry entry = EnterRoom(options, &log);
        EXPECT_FALSE(entry.room);
        EXPECT_TRUE(entry.badArgument);
        EXPECT_FALSE(entry.roomRefused);
        EXPECT_NE(entry.message.find("7K2M-9QX!"), std::string::npos) << entry.message;
        EXPECT_EQ(log.str(), "");
    }
}

}  // namespace
}  // namespace qx::sim
