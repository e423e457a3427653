#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "gfx/Surface.h"

// The pictures compiled into the executable, looked up by resource number.
// Bitmaps (118..215, 127) and icons (113, 132) are separate name spaces, as
// in a Windows resource script.
namespace qx {

enum class ResourceKind { Bitmap, Icon };

// The stored bytes of a resource (a BMP file), or an empty span when there is
// no such resource.
std::span<const uint8_t> FindResource(ResourceKind kind, int id);

// Decodes bitmap / icon `id`. A missing or undecodable resource is a build
// fault, not a runtime condition: it throws std::runtime_error naming the id.
Surface LoadBitmapResource(int id);
Surface LoadIconResource(int id);

}  // namespace qx
