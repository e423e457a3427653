// The committed pictures are the generator's output: running quarnex-artgen
// again must give the same files byte for byte, so res/ never drifts from
// the program that paints it.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/PictureCatalogue.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

std::vector<char> ReadAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(GeneratorReproducesResources, FreshRunMatchesCommittedFiles) {
    const fs::path generator = fs::path(QUARNEX_BINARY_DIR) / "tools/artgen/quarnex-artgen";
    if (!fs::exists(generator)) GTEST_SKIP() << "quarnex-artgen is not built";
    const fs::path out =
        fs::temp_directory_path() / ("quarnex-artgen-test-" + std::to_string(::getpid()));
    fs::remove_all(out);
    std::string command = "\"";
    command.append(generator.string()).append("\" --out \"").append(out.string());
    command.append("\" > /dev/null");
    ASSERT_EQ(std::system(command.c_str()), 0);

    const fs::path committed = fs::path(QUARNEX_SOURCE_DIR) / "res";
    int files = 0;
    for (const char* folder : {"bitmaps", "icons"}) {
        for (const auto& entry : fs::directory_iterator(out / folder)) {
            const fs::path mine = committed / folder / entry.path().filename();
            SCOPED_TRACE(mine.string());
            ASSERT_TRUE(fs::exists(mine)) << "generated but not committed";
            EXPECT_TRUE(ReadAll(entry.path()) == ReadAll(mine)) << "differs from a fresh run";
            ++files;
        }
    }
    EXPECT_EQ(files, static_cast<int>(BitmapInventory().size() + IconInventory().size()));
    fs::remove_all(out);
}

}  // namespace
}  // namespace qx
