#include "gfx/BitmapInventory.h"

namespace qx {
namespace {

void AddAll(std::vector<PictureSpec>& out, std::initializer_list<int> ids, int w, int h, int bpp,
            PictureRole role) {
    for (int id : ids) out.push_back({id, w, h, bpp, role});
}

void AddRange(std::vector<PictureSpec>& out, int first, int last, int w, int h, int bpp,
              PictureRole role) {
    for (int id = first; id <= last; ++id) out.push_back({id, w, h, bpp, role});
}

std::vector<PictureSpec> MakeBitmaps() {
    using R = PictureRole;
    std::vector<PictureSpec> v;
    AddAll(v, {127}, 600, 400, 8, R::Scene);
    AddAll(v, {118, 123}, 50, 21, 8, R::Image);
    AddRange(v, 144, 161, 50, 21, 8, R::Image);
    AddAll(v, {163, 164}, 50, 21, 8, R::Image);
    AddRange(v, 177, 179, 50, 21, 8, R::Image);
    AddRange(v, 182, 184, 50, 21, 8, R::Image);
    AddRange(v, 195, 206, 50, 21, 8, R::Image);
    AddAll(v, {124, 165, 167, 168, 169, 170, 172, 173, 174, 175, 176, 209, 211}, 50, 21, 1,
           R::Mask);
    AddAll(v, {162}, 50, 20, 4, R::Mask);
    AddAll(v, {125, 185, 191, 193}, 20, 10, 8, R::Image);
    AddAll(v, {192}, 20, 10, 8, R::Mask);
    AddAll(v, {128, 180}, 20, 10, 4, R::Image);
    AddAll(v, {129}, 20, 10, 4, R::Mask);
    AddAll(v, {126, 181, 186, 194}, 20, 10, 1, R::Mask);
    AddAll(v, {187, 189}, 20, 20, 8, R::Image);
    AddAll(v, {188, 190}, 20, 20, 1, R::Mask);
    AddAll(v, {207, 212, 213, 214, 215}, 20, 20, 8, R::Image);
    AddAll(v, {208}, 20, 20, 1, R::Mask);
    AddAll(v, {133, 134}, 290, 20, 8, R::Scene);
    return v;
}

}  // namespace

const std::vector<PictureSpec>& BitmapInventory() {
    static const std::vector<PictureSpec> inventory = MakeBitmaps();
    return inventory;
}

const std::vector<PictureSpec>& IconInventory() {
    static const std::vector<PictureSpec> icons = {
        {113, 32, 32, 4, PictureRole::Scene},
        {132, 32, 32, 4, PictureRole::Scene},
    };
    return icons;
}

}  // namespace qx
