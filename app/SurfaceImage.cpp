#include "app/SurfaceImage.h"

QImage SurfaceImage::View(const qx::Surface& surface) {
    if (surface.Empty()) return {};
    return QImage(reinterpret_cast<const uchar*>(surface.Data()), surface.Width(), surface.Height(),
                  surface.Width() * 4, QImage::Format_RGB32);
}

QImage SurfaceImage::Copy(const qx::Surface& surface) {
    return View(surface).copy();
}
