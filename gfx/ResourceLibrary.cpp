#include "gfx/ResourceLibrary.h"

#include <stdexcept>
#include <string>

#include "gfx/BitmapDecoder.h"
#include "gfx/EmbeddedResource.h"

namespace qx {
namespace {

const char* KindName(ResourceKind kind) {
    return kind == ResourceKind::Bitmap ? "bitmap" : "icon";
}

Surface LoadResource(ResourceKind kind, int id) {
    const std::span<const uint8_t> bytes = FindResource(kind, id);
    const std::string name = std::string(KindName(kind)) + " resource " + std::to_string(id);
    if (bytes.empty()) throw std::runtime_error(name + " is missing");
    DecodedBitmap decoded = DecodeBitmap(bytes.data(), bytes.size());
    if (!decoded.ok) throw std::runtime_error(name + " cannot be decoded: " + decoded.error);
    return std::move(decoded.surface);
}

}  // namespace

std::span<const uint8_t> FindResource(ResourceKind kind, int id) {
    for (const EmbeddedResource& resource : EmbeddedResources()) {
        if (resource.kind == kind && resource.id == id) return {resource.data, resource.size};
    }
    return {};
}

Surface LoadBitmapResource(int id) {
    return LoadResource(ResourceKind::Bitmap, id);
}

Surface LoadIconResource(int id) {
    return LoadResource(ResourceKind::Icon, id);
}

}  // namespace qx
