#include "gfx/ResourceLibrary.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "gfx/BitmapDecoder.h"
#include "gfx/EmbeddedResource.h"

namespace qx {
namespace {

std::string ErrorOf(Surface (*load)(int), int id) {
    try {
        load(id);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no exception";
}

TEST(ResourceLibrary, MissingResourcesAreEmptyAndThrowNamingTheId) {
    EXPECT_TRUE(FindResource(ResourceKind::Bitmap, 99999).empty());
    EXPECT_TRUE(FindResource(ResourceKind::Icon, -1).empty());
    EXPECT_EQ(ErrorOf(LoadBitmapResource, 99999), "bitmap resource 99999 is missing");
    EXPECT_EQ(ErrorOf(LoadIconResource, 99999), "icon resource 99999 is missing");
}

TEST(ResourceLibrary, EveryEmbeddedPictureIsFoundAndDecodes) {
    for (size_t i = 0; i < kEmbeddedResourceCount; ++i) {
        const EmbeddedResource& r = kEmbeddedResources[i];
        SCOPED_TRACE(r.id);
        const auto bytes = FindResource(r.kind, r.id);
        EXPECT_EQ(bytes.data(), r.data);
        const DecodedBitmap d = DecodeBitmap(bytes.data(), bytes.size());
        EXPECT_TRUE(d.ok) << d.error;
        const Surface loaded =
            r.kind == ResourceKind::Bitmap ? LoadBitmapResource(r.id) : LoadIconResource(r.id);
        EXPECT_EQ(loaded, d.surface);
    }
}

}  // namespace
}  // namespace qx
