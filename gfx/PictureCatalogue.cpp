#include "gfx/PictureCatalogue.h"

namespace qx {
namespace {

constexpr int kFrames = 11;
constexpr int kVariants = 3;
constexpr int kShotSlots = 6;
constexpr int kMeteorPictures = 9;

// [side][facing][frame]
constexpr int kShipFrames[2][2][kFrames] = {
    {{118, 160, 161, 152, 153, 154, 155, 156, 157, 158, 144},
     {177, 178, 179, 152, 153, 154, 155, 156, 157, 158, 144}},
    {{123, 163, 164, 159, 145, 146, 147, 148, 149, 150, 151},
     {182, 183, 184, 159, 145, 146, 147, 148, 149, 150, 151}},
};
constexpr int kShipMasks[2][2][kFrames] = {
    {{165, 165, 165, 165, 165, 165, 165, 165, 162, 162, 162},
     {209, 209, 209, 165, 165, 165, 165, 165, 162, 162, 162}},
    {{124, 167, 168, 169, 170, 172, 176, 175, 174, 173, 162},
     {211, 211, 211, 169, 170, 172, 176, 175, 174, 173, 162}},
};
// [side][facing][variant]
constexpr int kShipHits[2][2][kVariants] = {
    {{195, 196, 197}, {198, 199, 200}},
    {{201, 202, 203}, {204, 205, 206}},
};
// [side][direction][slot]
constexpr int kShots[2][2][kShotSlots] = {
    {{125, 126, 189, 190, 191, 192}, {180, 181, 189, 190, 191, 192}},
    {{185, 186, 187, 188, 193, 194}, {128, 129, 187, 188, 193, 194}},
};
constexpr int kMeteorFrames[kMeteorPictures] = {207, 207, 207, 207, 207, 213, 212, 214, 215};

template <int Cols>
int Slot(const int (&table)[2][2][Cols], int side, int row, int col) {
    if (side < 0 || side > 1 || row < 0 || row > 1 || col < 0 || col >= Cols) return 0;
    return table[side][row][col];
}

void AddAll(std::vector<PictureEntry>& out, std::initializer_list<int> ids, int w, int h, int bpp,
            PictureRole role) {
    for (int id : ids) out.push_back({id, w, h, bpp, role});
}

void AddRange(std::vector<PictureEntry>& out, int first, int last, int w, int h, int bpp,
              PictureRole role) {
    for (int id = first; id <= last; ++id) out.push_back({id, w, h, bpp, role});
}

std::vector<PictureEntry> MakeBitmaps() {
    using R = PictureRole;
    std::vector<PictureEntry> v;
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

int PictureInSlot(PictureTable table, int side, int row, int col) {
    switch (table) {
        case PictureTable::ShipFrame:
            return Slot(kShipFrames, side, row, col);
        case PictureTable::ShipMask:
            return Slot(kShipMasks, side, row, col);
        case PictureTable::ShipHit:
            return Slot(kShipHits, side, row, col);
        case PictureTable::Shot:
            return Slot(kShots, side, row, col);
        case PictureTable::MeteorFrame:
            return col >= 0 && col < kMeteorPictures ? kMeteorFrames[col] : 0;
    }
    return 0;
}

const std::vector<PictureEntry>& BitmapInventory() {
    static const std::vector<PictureEntry> inventory = MakeBitmaps();
    return inventory;
}

const std::vector<PictureEntry>& IconInventory() {
    static const std::vector<PictureEntry> icons = {
        {picture::kEmperorIcon, 32, 32, 4, PictureRole::Scene},
        {picture::kRebelIcon, 32, 32, 4, PictureRole::Scene},
    };
    return icons;
}

}  // namespace qx
