// Writes a small seed corpus for the bitmap decoder's fuzzer: one file per
// supported layout (depths, row orders, containers, header sizes).
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/gfx/BmpFixture.h"

namespace {

using qx::bmp::BmpSpec;
using qx::bmp::Layout;

std::vector<uint32_t> Ramp(size_t n, uint32_t modulo) {
    std::vector<uint32_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint32_t>(i * 7 % modulo);
    return v;
}

std::vector<uint32_t> Palette(size_t n) {
    std::vector<uint32_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint32_t>(i * 0x0A0B0C % 0x1000000);
    return v;
}

std::vector<std::pair<std::string, BmpSpec>> Seeds() {
    std::vector<std::pair<std::string, BmpSpec>> seeds = {
        {"mask1", Layout(50, 21, 1, {0x000000, 0xFFFFFF}, Ramp(50 * 21, 2))},
        {"odd4", Layout(5, 3, 4, Palette(16), Ramp(15, 16))},
        {"image8", Layout(20, 10, 8, Palette(256), Ramp(200, 256))},
        {"short8", Layout(7, 2, 8, Palette(5), Ramp(14, 5), 5)},
        {"top4", Layout(20, -10, 4, Palette(16), Ramp(200, 16))},
        {"rgb24", Layout(3, 2, 24, {}, Palette(6))},
        {"rgb32", Layout(2, -2, 32, {}, Palette(4))},
    };
    BmpSpec dib = Layout(9, 4, 8, Palette(3), Ramp(36, 3), 3);
    dib.fileHeader = false;
    seeds.push_back({"dib8", dib});
    BmpSpec v5 = Layout(10, 3, 1, {0x040404, 0xFFFFFF}, Ramp(30, 2));
    v5.headerSize = 124;
    seeds.push_back({"v5mask", v5});
    return seeds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    for (const auto& [name, entry] : Seeds()) {
        const std::vector<uint8_t> bytes = qx::bmp::MakeBmp(entry);
        std::ofstream file(std::string(argv[1]) + "/seed-" + name + ".bmp", std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (!file) {
            std::fprintf(stderr, "cannot write seed %s\n", name.c_str());
            return 1;
        }
    }
    return 0;
}
