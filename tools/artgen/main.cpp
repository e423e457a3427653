// quarnex-artgen: paints the game's pictures.
//
//   quarnex-artgen --out DIR                 writes DIR/bitmaps/<id>.bmp and DIR/icons/<id>.bmp
//   quarnex-artgen --contact-sheet FILE.png  [--res DIR]
//       composes every sprite over the backdrop the way the game does and
//       writes one enlarged, labelled sheet (from DIR's BMP files if given,
//       otherwise from freshly painted pictures)
//   quarnex-artgen --desktop-icons DIR NAME
//       writes the large desktop icons, DIR/hicolor/<n>x<n>/apps/NAME.png
//       for n = 64, 128, 256
#include <cstdio>
#include <filesystem>
#include <string>

#include "ArtCatalog.h"
#include "BmpWriter.h"
#include "ContactSheet.h"
#include "DesktopIcons.h"
#include "PictureSet.h"
#include "tools/png/PngWriter.h"

namespace {

int WriteAll(const std::string& outDir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(fs::path(outDir) / "bitmaps", ec);
    fs::create_directories(fs::path(outDir) / "icons", ec);
    int written = 0;
    for (const artgen::Artwork& art : artgen::ArtCatalog::PaintAll()) {
        const fs::path path =
            fs::path(outDir) / (art.icon ? "icons" : "bitmaps") / (std::to_string(art.id) + ".bmp");
        if (!artgen::BmpWriter::WriteFile(path.string(), artgen::BmpWriter::Encode(art.picture))) {
            std::fprintf(stderr, "quarnex-artgen: cannot write %s\n", path.string().c_str());
            return 1;
        }
        ++written;
    }
    std::printf("quarnex-artgen: wrote %d pictures to %s\n", written, outDir.c_str());
    return 0;
}

int WriteSheet(const std::string& path, const std::string& resDir) {
    artgen::PictureSet pictures;
    if (resDir.empty()) {
        pictures = artgen::PictureSet::Painted();
    } else {
        std::string error;
        if (!artgen::PictureSet::Load(resDir, pictures, error)) {
            std::fprintf(stderr, "quarnex-artgen: %s\n", error.c_str());
            return 1;
        }
    }
    std::string error;
    if (!qx::WritePng(artgen::ContactSheet::Build(pictures), path, &error)) {
        std::fprintf(stderr, "quarnex-artgen: cannot write %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    std::printf("quarnex-artgen: contact sheet in %s\n", path.c_str());
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: quarnex-artgen --out DIR\n"
                 "       quarnex-artgen --contact-sheet FILE.png [--res DIR]\n"
                 "       quarnex-artgen --desktop-icons DIR NAME\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--desktop-icons") {
        std::string error;
        if (artgen::DesktopIcons::WriteAll(argv[2], argv[3], error)) return 0;
        std::fprintf(stderr, "quarnex-artgen: %s\n", error.c_str());
        return 1;
    }
    std::string out, sheet, res;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        if (arg == "--out") {
            out = argv[++i];
        } else if (arg == "--contact-sheet") {
            sheet = argv[++i];
        } else if (arg == "--res") {
            res = argv[++i];
        } else {
            return Usage();
        }
    }
    if (!out.empty() && !sheet.empty()) return Usage();
    if (!out.empty()) return WriteAll(out);
    if (!sheet.empty()) return WriteSheet(sheet, res);
    return Usage();
}
