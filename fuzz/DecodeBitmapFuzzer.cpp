// libFuzzer entry for the bitmap decoder: any byte string must either decode
// to a non-empty picture of opaque colours (0xFFRRGGBB) or fail with a
// message, without a sanitizer report.
#include <cstddef>
#include <cstdint>

#include "gfx/BitmapDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const qx::DecodedBitmap decoded = qx::DecodeBitmap(data, size);
    if (!decoded.ok) {
        if (decoded.error.empty() || !decoded.surface.Empty()) __builtin_trap();
        return 0;
    }
    const qx::Surface& s = decoded.surface;
    if (s.Empty() || !decoded.error.empty() || decoded.bitsPerPixel == 0) __builtin_trap();
    uint32_t alpha = 0xFF000000u;
    const size_t count = static_cast<size_t>(s.Width()) * static_cast<size_t>(s.Height());
    for (size_t i = 0; i < count; ++i) alpha &= s.Data()[i];
    if (alpha != 0xFF000000u) __builtin_trap();
    return 0;
}
