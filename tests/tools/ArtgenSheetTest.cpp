// Composition on the contact sheet follows the game's rule, including the
// short all-white mask, and pictures are read back from a res/ folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "ContactSheet.h"
#include "PictureSet.h"
#include "SpriteComposer.h"

namespace artgen {
namespace {

TEST(ArtgenSpriteComposer, MaskAndThenImageOverTheBackdrop) {
    qx::Surface dst(4, 1, 0x808080);
    qx::Surface mask(4, 1, 0xFFFFFF);
    mask.SetPixel(1, 0, 0x000000);
    qx::Surface image(4, 1, 0x040404);
    image.SetPixel(1, 0, 0xFF0000);
    SpriteComposer::Compose(dst, 0, 0, image, mask);
    EXPECT_EQ(dst.Pixel(0, 0), 0x848484u) << "background ORed onto the scene";
    EXPECT_EQ(dst.Pixel(1, 0), 0xFF0000u) << "the shape shows the image";
}

TEST(ArtgenSpriteComposer, RowsAShortMaskLacksStayTransparent) {
    qx::Surface dst(2, 3, 0x204060);
    const qx::Surface mask(2, 2, 0xFFFFFF);
    const qx::Surface image(2, 3, 0x000000);
    SpriteComposer::Compose(dst, 0, 0, image, mask);
    EXPECT_EQ(dst.Pixel(0, 2), 0x204060u);
}

TEST(ArtgenSpriteComposer, BoxCarriesTheBackdropAroundTheSprite) {
    qx::Surface backdrop(10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) backdrop.SetPixel(x, y, static_cast<uint32_t>(y * 16 + x));
    const qx::Surface image(2, 2, 0x000000), mask(2, 2, 0xFFFFFF);
    const qx::Surface box = SpriteComposer::Box(backdrop, 5, 5, 1, image, mask);
    ASSERT_EQ(box.Width(), 4);
    ASSERT_EQ(box.Height(), 4);
    EXPECT_EQ(box.Pixel(0, 0), backdrop.Pixel(3, 3));
    EXPECT_EQ(box.Pixel(3, 3), backdrop.Pixel(6, 6));
}

TEST(ArtgenPictureSet, LoadNamesTheMissingFile) {
    PictureSet set;
    std::string error;
    const auto empty = std::filesystem::temp_directory_path() / "quarnex-artgen-no-such-res";
    EXPECT_FALSE(PictureSet::Load(empty.string(), set, error));
    EXPECT_NE(error.find("bitmaps"), std::string::npos) << error;
}

TEST(ArtgenContactSheet, BuildsFromPaintedPictures) {
    const PictureSet pictures = PictureSet::Painted();
    EXPECT_EQ(pictures.Bitmap(127).Width(), 600);
    EXPECT_EQ(pictures.Icon(113).Width(), 32);
    const qx::Surface sheet = ContactSheet::Build(pictures);
    EXPECT_GT(sheet.Width(), 1200);
    EXPECT_GT(sheet.Height(), 800 + 20 * 3);
}

}  // namespace
}  // namespace artgen
