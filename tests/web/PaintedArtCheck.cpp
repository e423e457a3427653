// The browser build paints its pictures instead of carrying res/'s files:
// run under Node (node quarnex-paintcheck.js RES_DIR), this paints them as
// the page does and requires every one to be its committed file byte for
// byte, and every picture of the inventory to be there.
#include <cstdio>
#include <string>
#include <vector>

#include "gfx/EmbeddedResource.h"
#include "gfx/PictureCatalogue.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
            bytes.push_back(static_cast<uint8_t>(c));
        std::fclose(file);
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quarnex-paintcheck RES_DIR\n");
        return 2;
    }
    int wrong = 0;
    const auto painted = qx::EmbeddedResources();
    for (const qx::EmbeddedResource& r : painted) {
        const bool icon = r.kind == qx::ResourceKind::Icon;
        const std::string path =
            std::string(argv[1]) + (icon ? "/icons/" : "/bitmaps/") + std::to_string(r.id) + ".bmp";
        if (ReadFile(path) != std::vector<uint8_t>(r.data, r.data + r.size)) {
            std::printf("painted %s differs from %s\n", icon ? "icon" : "bitmap", path.c_str());
            ++wrong;
        }
    }
    const size_t expected = qx::BitmapInventory().size() + qx::IconInventory().size();
    if (painted.size() != expected) {
        std::printf("%zu pictures painted, the inventory has %zu\n", painted.size(), expected);
        ++wrong;
    }
    std::printf("%zu pictures painted, %d wrong\n", painted.size(), wrong);
    return wrong == 0 ? 0 : 1;
}
