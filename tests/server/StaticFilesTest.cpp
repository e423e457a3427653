#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "server/StaticFiles.h"

namespace qx::server {
namespace {

namespace fs = std::filesystem;

struct WebFolder : ::testing::Test {
    fs::path base = fs::temp_directory_path() / ("qx-static-" + std::to_string(::getpid()));
    fs::path root = base / "web";

    void SetUp() override {
        fs::remove_all(base);
        fs::create_directories(root / "sub");
        Write(root / "index.html", "<html>");
        Write(root / "quarnex.js", "let a = 1;");
        Write(root / "quarnex.js.gz", "gz");
        Write(root / "quarnex.js.br", "br");
        Write(root / "quarnex.wasm", "wasm");
        Write(root / "sub" / "index.html", "sub");
        Write(root / ".secret", "no");
        Write(base / "outside.txt", "no");
        fs::create_symlink(base / "outside.txt", root / "link.txt");
    }
    void TearDown() override { fs::remove_all(base); }
    static void Write(const fs::path& path, const std::string& text) {
        std::ofstream(path) << text;
    }
};

TEST_F(WebFolder, ServesFilesInsideTheFolderOnly) {
    StaticFiles files(root.string());
    StaticFiles::File file;
    ASSERT_EQ(files.Resolve("/", "", file), StaticFiles::Result::Ok);
    EXPECT_EQ(fs::path(file.path).filename(), "index.html");
    EXPECT_EQ(file.contentType, "text/html; charset=utf-8");
    ASSERT_EQ(files.Resolve("/sub/?x=1", "", file), StaticFiles::Result::Ok);
    EXPECT_EQ(file.size, 3u);
    ASSERT_EQ(files.Resolve("/quarnex.wasm", "", file), StaticFiles::Result::Ok);
    EXPECT_EQ(file.contentType, "application/wasm");
    ASSERT_EQ(files.Resolve("/quarnex%2Ejs", "", file), StaticFiles::Result::Ok);

    EXPECT_EQ(files.Resolve("/../outside.txt", "", file), StaticFiles::Result::Forbidden);
    EXPECT_EQ(files.Resolve("/sub/%2e%2e/%2e%2e/outside.txt", "", file),
              StaticFiles::Result::Forbidden);
    EXPECT_EQ(files.Resolve("/.secret", "", file), StaticFiles::Result::Forbidden);
    EXPECT_EQ(files.Resolve("/link.txt", "", file), StaticFiles::Result::Forbidden);
    EXPECT_EQ(files.Resolve("/a%00b", "", file), StaticFiles::Result::Forbidden);
    EXPECT_EQ(files.Resolve("/a%zz", "", file), StaticFiles::Result::BadRequest);
    EXPECT_EQ(files.Resolve("relative", "", file), StaticFiles::Result::BadRequest);
    EXPECT_EQ(files.Resolve("/missing.js", "", file), StaticFiles::Result::NotFound);
}

TEST_F(WebFolder, SendsThePrecompressedFileTheBrowserAccepts) {
    StaticFiles files(root.string());
    StaticFiles::File file;
    ASSERT_EQ(files.Resolve("/quarnex.js", "gzip, deflate, br", file), StaticFiles::Result::Ok);
    EXPECT_EQ(file.encoding, "br");
    EXPECT_EQ(fs::path(file.path).filename(), "quarnex.js.br");
    EXPECT_EQ(file.contentType, "text/javascript; charset=utf-8");
    ASSERT_EQ(files.Resolve("/quarnex.js", "gzip;q=0.5, br;q=0", file), StaticFiles::Result::Ok);
    EXPECT_EQ(file.encoding, "gzip");
    ASSERT_EQ(files.Resolve("/quarnex.js", "identity", file), StaticFiles::Result::Ok);
    EXPECT_EQ(file.encoding, "");
    EXPECT_EQ(file.size, 10u);
    ASSERT_EQ(files.Resolve("/quarnex.wasm", "br, gzip", file), StaticFiles::Result::Ok);
    EXPECT_EQ(file.encoding, "");  // none beside it
}

TEST_F(WebFolder, ValidatorsAndCachingByName) {
    Write(root / "main.0123456789abcdef.mjs", "x");
    StaticFiles files(root.string());
    StaticFiles::File plain, packed, hashed;
    ASSERT_EQ(files.Resolve("/quarnex.js", "", plain), StaticFiles::Result::Ok);
    ASSERT_EQ(files.Resolve("/quarnex.js", "br", packed), StaticFiles::Result::Ok);
    ASSERT_EQ(files.Resolve("/main.0123456789abcdef.mjs", "br", hashed), StaticFiles::Result::Ok);
    EXPECT_EQ(plain.etag.front(), '"');
    EXPECT_NE(plain.etag, packed.etag);  // each encoding is its own representation
    EXPECT_EQ(plain.cacheControl, "no-cache");
    EXPECT_EQ(hashed.cacheControl, "public, max-age=31536000, immutable");

    EXPECT_TRUE(StaticFiles::NoneMatchHits(plain.etag, plain.etag));
    EXPECT_TRUE(StaticFiles::NoneMatchHits("\"a\", W/" + plain.etag, plain.etag));
    EXPECT_TRUE(StaticFiles::NoneMatchHits("*", plain.etag));
    EXPECT_FALSE(StaticFiles::NoneMatchHits("", plain.etag));
    EXPECT_FALSE(StaticFiles::NoneMatchHits(packed.etag, plain.etag));

    EXPECT_FALSE(StaticFiles::HashedName("quarnex.wasm"));
    EXPECT_FALSE(StaticFiles::HashedName(".0123456789abcdef.js"));
    EXPECT_FALSE(StaticFiles::HashedName("a.0123456789ABCDEF.js"));
    EXPECT_FALSE(StaticFiles::HashedName("a.0123456789abcde.js"));
    EXPECT_TRUE(StaticFiles::HashedName("quarnex.0123456789abcdef.wasm"));
}

TEST_F(WebFolder, RefusesABuildFolderAndAMissingOne) {
    Write(root / "CMakeCache.txt", "CMAKE_HOME_DIRECTORY=/home/someone/quarnex");
    StaticFiles build(root.string());
    EXPECT_FALSE(build.Valid());
    EXPECT_NE(build.Problem().find("build folder"), std::string::npos) << build.Problem();
    EXPECT_FALSE(StaticFiles((base / "missing").string()).Valid());
    EXPECT_TRUE(StaticFiles((root / "sub").string()).Valid());
}

}  // namespace
}  // namespace qx::server
