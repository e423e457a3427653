#include "Quantizer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>
#include <vector>

namespace artgen {
namespace {

struct Entry {
    uint32_t color;
    int count;
};

int Channel(uint32_t c, int ch) {
    return static_cast<int>((c >> (16 - 8 * ch)) & 0xFF);
}

struct Box {
    std::vector<Entry> entries;

    int Range(int ch) const {
        int lo = 255, hi = 0;
        for (const Entry& e : entries) {
            lo = std::min(lo, Channel(e.color, ch));
            hi = std::max(hi, Channel(e.color, ch));
        }
        return hi - lo;
    }
    int WidestChannel() const {
        int best = 0;
        for (int ch = 1; ch < 3; ++ch)
            if (Range(ch) > Range(best)) best = ch;
        return best;
    }
    long Pixels() const {
        long n = 0;
        for (const Entry& e : entries) n += e.count;
        return n;
    }
    // How much splitting this box would help: wide boxes with many pixels first.
    double Score() const {
        if (entries.size() < 2) return -1;
        return Range(WidestChannel()) * std::sqrt(static_cast<double>(Pixels()));
    }
    uint32_t Mean() const {
        double sum[3] = {0, 0, 0};
        long n = Pixels();
        for (const Entry& e : entries)
            for (int ch = 0; ch < 3; ++ch)
                sum[ch] += static_cast<double>(Channel(e.color, ch)) * e.count;
        uint32_t c = 0;
        for (int ch = 0; ch < 3; ++ch)
            c = (c << 8) | static_cast<uint32_t>(std::lround(sum[ch] / static_cast<double>(n)));
        return c;
    }
};

// Splits the box at the pixel-weighted median of its widest channel.
void Split(Box& box, Box& other) {
    const int ch = box.WidestChannel();
    std::sort(box.entries.begin(), box.entries.end(), [ch](const Entry& a, const Entry& b) {
        if (Channel(a.color, ch) != Channel(b.color, ch))
            return Channel(a.color, ch) < Channel(b.color, ch);
        return a.color < b.color;
    });
    const long half = box.Pixels() / 2;
    long seen = 0;
    size_t cut = 1;
    for (size_t i = 0; i + 1 < box.entries.size(); ++i) {
        seen += box.entries[i].count;
        cut = i + 1;
        if (seen >= half) break;
    }
    other.entries.assign(box.entries.begin() + static_cast<long>(cut), box.entries.end());
    box.entries.resize(cut);
}

std::vector<uint32_t> MedianCut(const std::vector<Entry>& colors, int wanted) {
    std::vector<Box> boxes(1);
    boxes[0].entries = colors;
    while (static_cast<int>(boxes.size()) < wanted) {
        size_t best = 0;
        for (size_t i = 1; i < boxes.size(); ++i)
            if (boxes[i].Score() > boxes[best].Score()) best = i;
        if (boxes[best].Score() < 0) break;
        Box other;
        Split(boxes[best], other);
        boxes.push_back(std::move(other));
    }
    std::vector<uint32_t> out;
    out.reserve(boxes.size());
    for (const Box& b : boxes) out.push_back(b.Mean());
    return out;
}

int Distance(uint32_t a, uint32_t b) {
    const int dr = Channel(a, 0) - Channel(b, 0);
    const int dg = Channel(a, 1) - Channel(b, 1);
    const int db = Channel(a, 2) - Channel(b, 2);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

}  // namespace

IndexedPicture Quantizer::Quantize(const Canvas& canvas, int bitsPerPixel, uint32_t background) {
    IndexedPicture p;
    p.width = canvas.Width();
    p.height = canvas.Height();
    p.bitsPerPixel = bitsPerPixel;
    std::vector<uint32_t> packed(static_cast<size_t>(p.width) * p.height);
    std::map<uint32_t, int> histogram;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const uint32_t c = canvas.Packed(x, y);
            packed[static_cast<size_t>(y) * p.width + x] = c;
            if (c != background) ++histogram[c];
        }

    std::vector<Entry> colors;
    colors.reserve(histogram.size());
    for (const auto& [c, n] : histogram) colors.push_back({c, n});
    const int room = (1 << bitsPerPixel) - 1;
    p.palette = {background};
    if (static_cast<int>(colors.size()) <= room) {
        for (const Entry& e : colors) p.palette.push_back(e.color);
    } else {
        for (uint32_t c : MedianCut(colors, room)) p.palette.push_back(c);
    }

    std::unordered_map<uint32_t, uint8_t> lookup;
    p.pixels.resize(packed.size());
    for (size_t i = 0; i < packed.size(); ++i) {
        const uint32_t c = packed[i];
        auto it = lookup.find(c);
        if (it == lookup.end()) {
            // The background maps only to itself; other colours to the nearest
            // painted colour, never to the background.
            size_t best = 0;
            if (c != background) {
                best = 1;
                for (size_t k = 2; k < p.palette.size(); ++k)
                    if (Distance(c, p.palette[k]) < Distance(c, p.palette[best])) best = k;
            }
            it = lookup.emplace(c, static_cast<uint8_t>(best)).first;
        }
        p.pixels[i] = it->second;
    }
    return p;
}

}  // namespace artgen
