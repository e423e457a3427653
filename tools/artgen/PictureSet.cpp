#include "PictureSet.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "ArtCatalog.h"
#include "BmpWriter.h"
#include "gfx/BitmapDecoder.h"
#include "gfx/PictureCatalogue.h"

namespace artgen {
namespace {

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

PictureSet PictureSet::Painted() {
    PictureSet set;
    for (const Artwork& art : ArtCatalog::PaintAll()) {
        const std::vector<uint8_t> bytes = BmpWriter::Encode(art.picture);
        qx::DecodedBitmap decoded = qx::DecodeBitmap(bytes.data(), bytes.size());
        (art.icon ? set.icons_ : set.bitmaps_)[art.id] = std::move(decoded.surface);
    }
    return set;
}

bool PictureSet::Load(const std::string& dir, PictureSet& out, std::string& error) {
    out = PictureSet();
    for (int pass = 0; pass < 2; ++pass) {
        const bool icons = pass == 1;
        for (const qx::PictureEntry& entry : icons ? qx::IconInventory() : qx::BitmapInventory()) {
            const std::string path =
                dir + (icons ? "/icons/" : "/bitmaps/") + std::to_string(entry.id) + ".bmp";
            std::vector<uint8_t> bytes;
            if (!ReadFile(path, bytes)) {
                error = "cannot read " + path;
                return false;
            }
            qx::DecodedBitmap decoded = qx::DecodeBitmap(bytes.data(), bytes.size());
            if (!decoded.ok) {
                error = path + ": " + decoded.error;
                return false;
            }
            (icons ? out.icons_ : out.bitmaps_)[entry.id] = std::move(decoded.surface);
        }
    }
    return true;
}

const qx::Surface& PictureSet::Bitmap(int id) const {
    static const qx::Surface empty;
    auto it = bitmaps_.find(id);
    return it == bitmaps_.end() ? empty : it->second;
}

const qx::Surface& PictureSet::Icon(int id) const {
    static const qx::Surface empty;
    auto it = icons_.find(id);
    return it == icons_.end() ? empty : it->second;
}

}  // namespace artgen
