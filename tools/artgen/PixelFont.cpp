#include "PixelFont.h"

namespace artgen {
namespace {

// Rows of each glyph, top to bottom, three bits per row (left bit first).
const unsigned char* Glyph(char ch) {
    static const unsigned char digits[10][5] = {
        {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
        {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
    };
    static const unsigned char plus[5] = {0, 2, 7, 2, 0};
    static const unsigned char minus[5] = {0, 0, 7, 0, 0};
    static const unsigned char slash[5] = {1, 1, 2, 4, 4};
    static const unsigned char colon[5] = {0, 2, 0, 2, 0};
    static const unsigned char blank[5] = {0, 0, 0, 0, 0};
    if (ch >= '0' && ch <= '9') return digits[ch - '0'];
    switch (ch) {
        case '+':
            return plus;
        case '-':
            return minus;
        case '/':
            return slash;
        case ':':
            return colon;
        default:
            return blank;
    }
}

}  // namespace

void PixelFont::Draw(qx::Surface& surface, int x, int y, std::string_view text, uint32_t color,
                     int scale) {
    for (char ch : text) {
        const unsigned char* rows = Glyph(ch);
        for (int r = 0; r < kGlyphHeight; ++r)
            for (int c = 0; c < kGlyphWidth; ++c) {
                if (!(rows[r] & (4 >> c))) continue;
                for (int sy = 0; sy < scale; ++sy)
                    for (int sx = 0; sx < scale; ++sx)
                        surface.SetPixel(x + c * scale + sx, y + r * scale + sy, color);
            }
        x += (kGlyphWidth + 1) * scale;
    }
}

int PixelFont::Width(std::string_view text, int scale) {
    if (text.empty()) return 0;
    return static_cast<int>(text.size()) * (kGlyphWidth + 1) * scale - scale;
}

}  // namespace artgen
