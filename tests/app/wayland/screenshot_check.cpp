// Checks a screenshot of the desktop taken while the game runs with its New
// game dialog open: no pixel is transparent, the scene's colours fill a
// rectangle the size of a window's client area, and the dialog's four
// pictures appear pixel for pixel.
// Usage: wayland_screenshot_check SCREENSHOT.png
// Prints what it found; exit status 0 when all holds, 1 when not, 2 when the
// screenshot cannot be read.
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "gfx/ResourceLibrary.h"

namespace {

// The smallest scene that counts: the default window's client area is about
// 590 x 330 pixels.
constexpr int kMinSceneWidth = 400;
constexpr int kMinSceneHeight = 250;
// Share of the scene's rectangle in the backdrop's colours (the ships, the
// meteor and the gauges cover the rest).
constexpr double kMinSceneShare = 0.8;

struct Picture {
    const char* name;
    qx::ResourceKind kind;
    int id;
};

constexpr Picture kDialogPictures[] = {
    {"Emperor's ship", qx::ResourceKind::Bitmap, 118},
    {"Rebel's ship", qx::ResourceKind::Bitmap, 123},
    {"Emperor's icon", qx::ResourceKind::Icon, 113},
    {"Rebel's icon", qx::ResourceKind::Icon, 132},
};
constexpr int kBackdrop = 127;

uint32_t Rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

int64_t TransparentPixels(const QImage& shot) {
    int64_t count = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) count += qAlpha(shot.pixel(x, y)) != 255;
    return count;
}

bool MatchesAt(const QImage& shot, const qx::Surface& picture, int left, int top) {
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (Rgb(shot, left + x, top + y) != picture.Pixel(x, y)) return false;
    return true;
}

// Where the picture appears pixel for pixel, or (-1, -1).
QPoint Find(const QImage& shot, const qx::Surface& picture) {
    for (int top = 0; top + picture.Height() <= shot.height(); ++top)
        for (int left = 0; left + picture.Width() <= shot.width(); ++left)
            if (MatchesAt(shot, picture, left, top)) return {left, top};
    return {-1, -1};
}

bool CheckPictures(const QImage& shot) {
    bool ok = true;
    for (const Picture& p : kDialogPictures) {
        const qx::Surface picture = p.kind == qx::ResourceKind::Bitmap
                                        ? qx::LoadBitmapResource(p.id)
                                        : qx::LoadIconResource(p.id);
        const QPoint at = Find(shot, picture);
        std::printf("%s (%dx%d): %s at %d,%d\n", p.name, picture.Width(), picture.Height(),
                    at.x() < 0 ? "NOT FOUND" : "found", at.x(), at.y());
        ok = ok && at.x() >= 0;
    }
    return ok;
}

bool CheckScene(const QImage& shot) {
    const qx::Surface backdrop = qx::LoadBitmapResource(kBackdrop);
    std::unordered_set<uint32_t> colours;
    for (int y = 0; y < backdrop.Height(); ++y)
        for (int x = 0; x < backdrop.Width(); ++x) colours.insert(backdrop.Pixel(x, y));
    // The scene is the bounding box of the rows and columns that are mostly
    // in the backdrop's colours (a stray matching pixel elsewhere is ignored).
    std::vector<int> perRow(static_cast<size_t>(shot.height()));
    std::vector<int> perColumn(static_cast<size_t>(shot.width()));
    std::unordered_set<uint32_t> seen;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (!colours.contains(Rgb(shot, x, y))) continue;
            ++perRow[static_cast<size_t>(y)];
            ++perColumn[static_cast<size_t>(x)];
            seen.insert(Rgb(shot, x, y));
        }
    }
    auto span = [](const std::vector<int>& counts, int least) {
        const auto first =
            std::find_if(counts.begin(), counts.end(), [&](int c) { return c >= least; });
        const auto last =
            std::find_if(counts.rbegin(), counts.rend(), [&](int c) { return c >= least; });
        if (first == counts.end()) return std::pair<int, int>(0, 0);
        return std::pair<int, int>(static_cast<int>(first - counts.begin()),
                                   static_cast<int>(counts.rend() - last));
    };
    const auto [top, bottom] = span(perRow, kMinSceneWidth / 2);
    const auto [left, right] = span(perColumn, kMinSceneHeight / 2);
    int64_t inside = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) inside += colours.contains(Rgb(shot, x, y));
    const int64_t area = int64_t{right - left} * (bottom - top);
    const double share = area > 0 ? static_cast<double>(inside) / static_cast<double>(area) : 0;
    std::printf("scene: %dx%d at %d,%d, %.1f%% in the backdrop's colours, %zu of its %zu colours\n",
                right - left, bottom - top, left, top, 100 * share, seen.size(), colours.size());
    return right - left >= kMinSceneWidth && bottom - top >= kMinSceneHeight &&
           share >= kMinSceneShare && seen.size() * 2 >= colours.size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SCREENSHOT.png\n", argv[0]);
        return 2;
    }
    const QImage shot =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
    if (shot.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const int64_t transparent = TransparentPixels(shot);
    std::printf("transparent pixels: %lld\n", static_cast<long long>(transparent));
    const bool scene = CheckScene(shot);
    const bool pictures = CheckPictures(shot);
    return transparent == 0 && scene && pictures ? 0 : 1;
}
