#include "PaintedResources.h"

#include "ArtCatalog.h"
#include "BmpWriter.h"

namespace artgen {

PaintedResources::PaintedResources() {
    const std::vector<Artwork> art = ArtCatalog::PaintAll();
    files_.reserve(art.size());
    table_.reserve(art.size());
    for (const Artwork& item : art) {
        files_.push_back(BmpWriter::Encode(item.picture));
        const qx::ResourceKind kind = item.icon ? qx::ResourceKind::Icon : qx::ResourceKind::Bitmap;
        table_.push_back({kind, item.id, files_.back().data(), files_.back().size()});
    }
}

const PaintedResources& PaintedResources::Instance() {
    static const PaintedResources painted;
    return painted;
}

}  // namespace artgen

namespace qx {

std::span<const EmbeddedResource> EmbeddedResources() {
    return artgen::PaintedResources::Instance().Table();
}

}  // namespace qx
