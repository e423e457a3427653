#include "app/DesktopIcon.h"

#include <numeric>
#include <vector>

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

}  // namespace

QImage DesktopIcon::Cutout(const qx::Surface& art) {
    const int w = art.Width(), h = art.Height();
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    std::vector<QPoint> open;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixel(x, y, kOpaque | (art.Pixel(x, y) & 0xFFFFFFu));
            if ((x == 0 || y == 0 || x == w - 1 || y == h - 1) && image.pixel(x, y) == kOpaque) {
                open.emplace_back(x, y);
            }
        }
    }
    // Flood the black background from the border.
    while (!open.empty()) {
        const QPoint p = open.back();
        open.pop_back();
        if (!image.rect().contains(p) || image.pixel(p) != kOpaque) continue;
        image.setPixel(p, 0);
        open.insert(open.end(),
                    {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    return image;
}

QImage DesktopIcon::Render(const qx::Surface& art, int size) {
    const QImage cutout = Cutout(art);
    if (cutout.isNull() || size <= 0) return {};
    // Enlarge by the smallest whole factor after which `size` divides evenly.
    const int up = size / std::gcd(size, cutout.width());
    const QImage large = cutout.scaled(cutout.width() * up, cutout.height() * up,
                                       Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return AverageDown(large, large.width() / size);
}

// Each output pixel is the mean of a factor x factor block; premultiplied
// colours average correctly across transparent edges.
QImage DesktopIcon::AverageDown(const QImage& image, int factor) {
    if (factor == 1) return image;
    QImage out(image.width() / factor, image.height() / factor,
               QImage::Format_ARGB32_Premultiplied);
    const int area = factor * factor;
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            int sum[4] = {0, 0, 0, 0};
            for (int dy = 0; dy < factor; ++dy) {
                for (int dx = 0; dx < factor; ++dx) {
                    const QRgb p = image.pixel(x * factor + dx, y * factor + dy);
                    sum[0] += qAlpha(p), sum[1] += qRed(p), sum[2] += qGreen(p), sum[3] += qBlue(p);
                }
            }
            const auto mean = [&](int i) { return (sum[i] + area / 2) / area; };
            out.setPixel(x, y, qRgba(mean(1), mean(2), mean(3), mean(0)));
        }
    }
    return out;
}
