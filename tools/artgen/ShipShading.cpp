#include "ShipShading.h"

namespace artgen {

void ShipShading::Cylinder(Canvas& canvas, const Shape& region, const Rgb* stops, int count) {
    // Each unbroken run of a column is one round piece seen from the side.
    for (int x = 0; x < region.Width(); ++x) {
        int y = 0;
        while (y < region.Height()) {
            if (!region.At(x, y)) {
                ++y;
                continue;
            }
            const int top = y;
            while (region.At(x, y)) ++y;
            const float span = static_cast<float>(y - 1 - top);
            for (int i = top; i < y; ++i)
                canvas.Set(x, i, Ramp(stops, count, span > 0 ? (i - top) / span : 0.3f));
        }
    }
}

void ShipShading::CylinderAcross(Canvas& canvas, const Shape& region, const Rgb* stops, int count) {
    for (int y = 0; y < region.Height(); ++y) {
        int left = -1, right = -1;
        for (int x = 0; x < region.Width(); ++x)
            if (region.At(x, y)) {
                if (left < 0) left = x;
                right = x;
            }
        if (left < 0) continue;
        const float span = static_cast<float>(right - left);
        for (int x = left; x <= right; ++x)
            if (region.At(x, y))
                canvas.Set(x, y, Ramp(stops, count, span > 0 ? (x - left) / span : 0.3f));
    }
}

void ShipShading::Outline(Canvas& canvas, const Shape& silhouette, const Shape& keep, float k) {
    Canvas before = canvas;
    for (int y = 0; y < silhouette.Height(); ++y)
        for (int x = 0; x < silhouette.Width(); ++x)
            if (silhouette.IsEdge(x, y) && !keep.At(x, y))
                canvas.Set(x, y, Scale(before.At(x, y), k));
}

void ShipShading::SeamBelow(Canvas& canvas, const Shape& lower, const Shape& upper, float k) {
    for (int y = 1; y < lower.Height(); ++y)
        for (int x = 0; x < lower.Width(); ++x)
            if (lower.At(x, y) && upper.At(x, y - 1)) canvas.Set(x, y, Scale(canvas.At(x, y), k));
}

void ShipShading::Darken(Canvas& canvas, const Shape& region, float k) {
    for (int y = 0; y < region.Height(); ++y)
        for (int x = 0; x < region.Width(); ++x)
            if (region.At(x, y)) canvas.Set(x, y, Scale(canvas.At(x, y), k));
}

}  // namespace artgen
