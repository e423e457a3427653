#include <cerrno>
#include <cstring>
#include <fstream>

#include "tools/png/PngWriter.h"

namespace qx {

bool WritePng(const Surface& surface, const std::string& path, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    if (surface.Empty()) return fail("cannot write an empty picture to " + path);
    const std::vector<uint8_t> png = EncodePng(surface);
    if (png.empty()) return fail("cannot encode the picture for " + path);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return fail("cannot open " + path + " for writing: " + std::strerror(errno));
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    file.close();
    if (!file) return fail("cannot write " + path);
    return true;
}

}  // namespace qx
