#pragma once

#include <array>
#include <cstdint>

#include "gfx/Surface.h"

namespace qx {

// Every compiled-in bitmap, decoded once and looked up by resource number.
class PictureBank {
  public:
    static constexpr int kMaxId = 256;

    // Decodes every bitmap of the inventory.
    PictureBank();

    // The picture `id`; an empty surface for a number with no bitmap.
    const Surface& Get(int32_t id) const;
    // Hands picture `id` over to the caller (the bank keeps an empty surface),
    // for a picture only ever used through a copy made from it.
    Surface Take(int32_t id);

    // Widens picture `id` to at least w x h with `fill` (used for masks that
    // are smaller than the pictures they cut out, so the missing part stays
    // transparent).
    void PadTo(int32_t id, int w, int h, uint32_t fill);

  private:
    std::array<Surface, kMaxId> pictures_;
    Surface none_;
};

}  // namespace qx
