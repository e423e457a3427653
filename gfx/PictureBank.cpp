#include "gfx/PictureBank.h"

#include <algorithm>
#include <utility>

#include "gfx/Blit.h"
#include "gfx/PictureCatalogue.h"
#include "gfx/ResourceLibrary.h"

namespace qx {

PictureBank::PictureBank() {
    for (const PictureEntry& entry : BitmapInventory()) {
        if (entry.id >= 0 && entry.id < kMaxId) pictures_[entry.id] = LoadBitmapResource(entry.id);
    }
}

const Surface& PictureBank::Get(int32_t id) const {
    return id >= 0 && id < kMaxId ? pictures_[id] : none_;
}

Surface PictureBank::Take(int32_t id) {
    if (id < 0 || id >= kMaxId) return {};
    return std::exchange(pictures_[id], Surface{});
}

void PictureBank::PadTo(int32_t id, int w, int h, uint32_t fill) {
    if (id < 0 || id >= kMaxId) return;
    Surface& picture = pictures_[id];
    if (picture.Width() >= w && picture.Height() >= h) return;
    Surface padded(std::max(picture.Width(), w), std::max(picture.Height(), h), fill);
    Blit(padded, 0, 0, picture.Width(), picture.Height(), picture, 0, 0, RasterOp::Copy);
    picture = std::move(padded);
}

}  // namespace qx
