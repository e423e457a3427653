#include "ContactSheet.h"

#include <algorithm>
#include <string>

#include "PixelFont.h"
#include "ScenePreview.h"
#include "SpriteComposer.h"
#include "gfx/Blit.h"
#include "ships/ShipSpriteSet.h"

namespace artgen {
namespace {

constexpr int kScale = 3;
constexpr int kGap = 12;
constexpr int kLabelHeight = 16;
constexpr int kFontScale = 2;
constexpr int kSheetWidth = 1790;
constexpr uint32_t kSheetColor = 0x1C1C24;
constexpr uint32_t kLabelColor = 0xD0D0DC;

void Label(qx::Surface& sheet, int x, int y, const std::string& text) {
    PixelFont::Draw(sheet, x, y + 2, text, kLabelColor, kFontScale);
}

// Pastes `picture` enlarged `scale` times at (x, y) under a label.
void Paste(qx::Surface& sheet, int x, int y, const qx::Surface& picture, int scale,
           const std::string& label) {
    Label(sheet, x, y, label);
    qx::StretchBlit(sheet, x, y + kLabelHeight, picture.Width() * scale, picture.Height() * scale,
                    picture, 0, 0, picture.Width(), picture.Height());
}

std::vector<SheetCell> ShipRow(qx::Side side, bool hits) {
    const bool emperor = side == qx::Side::Emperor;
    const int baseX = emperor ? 170 : 426, baseY = emperor ? 383 : 380;
    const int skyX = emperor ? 200 : 430, skyY = emperor ? 230 : 170;
    std::vector<SheetCell> row;
    for (int facing = 0; facing < 2; ++facing)
        for (int i = 0; i < 3; ++i) {
            const int image = hits ? qx::ShipSpriteSet::HitSpriteId(side, facing, i)
                                   : qx::ShipSpriteSet::ShipSpriteId(side, facing, i);
            const int mask = qx::ShipSpriteSet::ShipMaskId(side, facing, hits ? 0 : i);
            row.push_back({image, mask, facing == 0 ? baseX : skyX, facing == 0 ? baseY : skyY, 9});
        }
    return row;
}

std::vector<SheetCell> ExplosionRow(qx::Side side) {
    const bool emperor = side == qx::Side::Emperor;
    std::vector<SheetCell> row;
    for (int frame = 3; frame <= 10; ++frame)
        row.push_back({qx::ShipSpriteSet::ShipSpriteId(side, 0, frame),
                       qx::ShipSpriteSet::ShipMaskId(side, 0, frame), emperor ? 170 : 300,
                       emperor ? 383 : 130, 9});
    return row;
}

std::vector<SheetCell> ShotRow() {
    std::vector<SheetCell> row;
    int x = 60;
    for (qx::Side side : {qx::Side::Emperor, qx::Side::Rebel}) {
        const int slots[][2] = {{0, 0}, {1, 0}, {0, 2}, {0, 4}};  // [direction, first slot]
        for (const auto& s : slots) {
            const int y = s[1] == 4 ? 335 : (s[1] == 2 ? 300 : 250);
            row.push_back({qx::ShipSpriteSet::ShotSpriteId(side, s[0], s[1]),
                           qx::ShipSpriteSet::ShotSpriteId(side, s[0], s[1] + 1), x, y, 8});
            x += 62;
        }
    }
    return row;
}

int RowHeight(const PictureSet& p, const std::vector<SheetCell>& row) {
    int h = 0;
    for (const SheetCell& c : row) h = std::max(h, p.Bitmap(c.image).Height() + 2 * c.margin);
    return kLabelHeight + h * kScale + kGap;
}

}  // namespace

std::vector<std::vector<SheetCell>> ContactSheet::SpriteRows() {
    using qx::Side;
    std::vector<std::vector<SheetCell>> rows;
    for (Side side : {Side::Emperor, Side::Rebel}) {
        rows.push_back(ShipRow(side, false));
        rows.push_back(ShipRow(side, true));
        rows.push_back(ExplosionRow(side));
    }
    rows.push_back(ShotRow());
    rows.push_back({{207, 208, 90, 110, 8},
                    {213, 208, 230, 150, 8},
                    {212, 208, 470, 80, 8},
                    {214, 208, 380, 200, 8},
                    {215, 208, 300, 372, 8}});
    return rows;
}

qx::Surface ContactSheet::Build(const PictureSet& p) {
    const auto rows = SpriteRows();
    const int sceneHeight = kLabelHeight + 400 * 2 + kGap;
    const int panelHeight = kLabelHeight + 20 * kScale + kGap;
    int height = kGap + sceneHeight + panelHeight;
    for (const auto& row : rows) height += RowHeight(p, row);

    qx::Surface sheet(kSheetWidth, height, kSheetColor);
    int y = kGap;
    Paste(sheet, kGap, y, ScenePreview::Compose(p), 2, "127+133+134");
    Paste(sheet, 1240, y, p.Icon(113), 4, "113");
    Paste(sheet, 1420, y, p.Icon(132), 4, "132");
    Paste(sheet, 1240, y + 170, p.Bitmap(127), 1, "127");
    y += sceneHeight;
    Paste(sheet, kGap, y, p.Bitmap(133), kScale, "133");
    Paste(sheet, kGap + 290 * kScale + 2 * kGap, y, p.Bitmap(134), kScale, "134");
    y += panelHeight;

    const qx::Surface& backdrop = p.Bitmap(127);
    for (const auto& row : rows) {
        int x = kGap;
        for (const SheetCell& c : row) {
            const qx::Surface box = SpriteComposer::Box(backdrop, c.cx, c.cy, c.margin,
                                                        p.Bitmap(c.image), p.Bitmap(c.mask));
            Paste(sheet, x, y, box, kScale, std::to_string(c.image) + "+" + std::to_string(c.mask));
            x += box.Width() * kScale + kGap;
        }
        y += RowHeight(p, row);
    }
    return sheet;
}

}  // namespace artgen
