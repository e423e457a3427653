#include "app/ResourcePixmap.h"

#include "gfx/ResourceLibrary.h"

QImage ResourcePixmap::ToImage(const qx::Surface& surface) {
    if (surface.Empty()) return {};
    const QImage view(reinterpret_cast<const uchar*>(surface.Data()), surface.Width(),
                      surface.Height(), surface.Width() * 4, QImage::Format_RGB32);
    return view.copy();
}

QPixmap ResourcePixmap::Bitmap(int id) {
    return QPixmap::fromImage(ToImage(qx::LoadBitmapResource(id)));
}

QPixmap ResourcePixmap::Icon(int id) {
    return QPixmap::fromImage(ToImage(qx::LoadIconResource(id)));
}
