// The generator as a whole: it paints every picture of the inventory in the
// stated format, does so identically every time, and the contact sheet
// shows every sprite.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "ArtCatalog.h"
#include "ArtRandom.h"
#include "ContactSheet.h"
#include "PixelFont.h"
#include "gfx/PictureCatalogue.h"

namespace artgen {
namespace {

TEST(ArtgenCatalog, PaintsExactlyTheInventoryAtItsSizesAndDepths) {
    std::map<std::pair<bool, int>, const IndexedPicture*> painted;
    const std::vector<Artwork> items = ArtCatalog::PaintAll();
    for (const Artwork& a : items) {
        EXPECT_TRUE(painted.emplace(std::make_pair(a.icon, a.id), &a.picture).second) << a.id;
        EXPECT_LE(a.picture.palette.size(), static_cast<size_t>(1 << a.picture.bitsPerPixel));
    }
    size_t expected = 0;
    for (bool icons : {false, true})
        for (const qx::PictureEntry& entry : icons ? qx::IconInventory() : qx::BitmapInventory()) {
            ++expected;
            auto it = painted.find({icons, entry.id});
            ASSERT_NE(it, painted.end()) << entry.id;
            EXPECT_EQ(it->second->width, entry.width) << entry.id;
            EXPECT_EQ(it->second->height, entry.height) << entry.id;
            EXPECT_EQ(it->second->bitsPerPixel, entry.bitsPerPixel) << entry.id;
        }
    EXPECT_EQ(painted.size(), expected);
}

TEST(ArtgenCatalog, PaintingIsDeterministic) {
    const std::vector<Artwork> a = ArtCatalog::PaintAll();
    const std::vector<Artwork> b = ArtCatalog::PaintAll();
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].picture.palette, b[i].picture.palette) << a[i].id;
        EXPECT_EQ(a[i].picture.pixels, b[i].picture.pixels) << a[i].id;
    }
    ArtRandom r1(5), r2(5), r3(6);
    EXPECT_EQ(r1.Next(), r2.Next());
    EXPECT_NE(r2.Next(), r3.Next());
}

TEST(ArtgenContactSheet, ShowsEverySpritePicture) {
    std::set<int> shown = {127, 133, 134};
    for (const auto& row : ContactSheet::SpriteRows())
        for (const SheetCell& c : row) {
            shown.insert(c.image);
            shown.insert(c.mask);
        }
    for (const qx::PictureEntry& entry : qx::BitmapInventory())
        EXPECT_TRUE(shown.count(entry.id)) << entry.id << " is missing from the sheet";
}

TEST(ArtgenPixelFont, DrawsDigitsWithinTheirWidth) {
    qx::Surface s(40, 10);
    PixelFont::Draw(s, 1, 1, "18", 0xFFFFFF, 2);
    EXPECT_EQ(PixelFont::Width("18", 2), 14);
    int lit = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x)
            if (s.Pixel(x, y)) {
                ++lit;
                EXPECT_LT(x, 1 + 14);
            }
    EXPECT_GT(lit, 0);
}

}  // namespace
}  // namespace artgen
