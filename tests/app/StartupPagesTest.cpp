#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/StartupPages.h"

using Range = StartupPages::Range;

// Lines as /proc/self/maps writes them: only read-only private mappings of
// real files may be released.
TEST(StartupPages, ReleasesOnlyReadOnlyMappingsOfFiles) {
    struct Case {
        std::string line;
        std::optional<Range> expected;
    };
    const Case cases[] = {
        {"7f1c2a000000-7f1c2a3c5000 r-xp 00054000 08:01 131 "
         "/usr/lib/x86_64-linux-gnu/libQt6Gui.so.6",
         Range{0x7f1c2a000000, 0x7f1c2a3c5000}},
        {"55d0c0a00000-55d0c0a01000 r--p 00000000 08:01 7 /opt/a game/quarnex",
         Range{0x55d0c0a00000, 0x55d0c0a01000}},
        {"7f1c2a3c5000-7f1c2a3d0000 rw-p 003c5000 08:01 131 /usr/lib/libQt6Gui.so.6", std::nullopt},
        {"7f1c2a3c5000-7f1c2a3d0000 r--s 00000000 00:01 9 /memfd:xorg (deleted)", std::nullopt},
        {"7f1c2a3c5000-7f1c2a3d0000 r--s 00000000 00:05 9 /SYSV00000000 (deleted)", std::nullopt},
        {"7f1c2a3c5000-7f1c2a3d0000 r--s 00000000 08:01 131 /usr/share/fonts/a.ttf", std::nullopt},
        {"7f1c2a3c5000-7f1c2a3d0000 r--p 00000000 00:06 5 /dev/dri/card0", std::nullopt},
        {"55d0c1000000-55d0c1200000 rw-p 00000000 00:00 0 [heap]", std::nullopt},
        {"7ffd1000-7ffd3000 r-xp 00000000 00:00 0 [vdso]", std::nullopt},
        {"7f1c20000000-7f1c20100000 ---p 00000000 00:00 0", std::nullopt},
        {"7f1c2a3d0000-7f1c2a3c5000 r--p 00000000 08:01 131 /usr/lib/libz.so", std::nullopt},
        {"zz-7f1c2a3c5000 r--p 00000000 08:01 131 /usr/lib/libz.so", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(StartupPages::Releasable(c.line), c.expected) << c.line;
}

// In this very process: this test's own code is mapped read-only from its
// file, so some mapping is released, and the code still runs afterwards.
TEST(StartupPages, ReleasingKeepsTheProgramRunning) {
    EXPECT_GT(StartupPages::Release(), 0);
    EXPECT_EQ(StartupPages::Releasable("10-20 r-xp 0 0:0 1 /x"), (Range{0x10, 0x20}));
}
