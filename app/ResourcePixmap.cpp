#include "app/ResourcePixmap.h"

#include "app/SurfaceImage.h"
#include "gfx/ResourceLibrary.h"

QImage ResourcePixmap::ToImage(const qx::Surface& surface) {
    return SurfaceImage::Copy(surface);
}

QPixmap ResourcePixmap::Bitmap(int id) {
    return QPixmap::fromImage(ToImage(qx::LoadBitmapResource(id)));
}

QPixmap ResourcePixmap::Icon(int id) {
    return QPixmap::fromImage(ToImage(qx::LoadIconResource(id)));
}
