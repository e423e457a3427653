#include "Quantizer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace artgen {
namespace {

struct Entry {
    uint32_t color;
    int count;
};

[[gnu::always_inline]] inline int Channel(uint32_t c, int ch) {
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
    // Each box's score is kept: only the two halves of a split change.
    std::vector<double> scores{boxes[0].Score()};
    while (static_cast<int>(boxes.size()) < wanted) {
        size_t best = 0;
        for (size_t i = 1; i < boxes.size(); ++i)
            if (scores[i] > scores[best]) best = i;
        if (scores[best] < 0) break;
        Box other;
        Split(boxes[best], other);
        scores[best] = boxes[best].Score();
        scores.push_back(other.Score());
        boxes.push_back(std::move(other));
    }
    std::vector<uint32_t> out;
    out.reserve(boxes.size());
    for (const Box& b : boxes) out.push_back(b.Mean());
    return out;
}

[[gnu::always_inline]] inline int Distance(uint32_t a, uint32_t b) {
    const int dr = Channel(a, 0) - Channel(b, 0);
    const int dg = Channel(a, 1) - Channel(b, 1);
    const int db = Channel(a, 2) - Channel(b, 2);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// The palette entry (from 1 on) nearest to c; the first of equals.
size_t Nearest(uint32_t c, const std::vector<uint32_t>& palette) {
    size_t best = 1;
    int bestDistance = Distance(c, palette[1]);
    for (size_t k = 2; k < palette.size(); ++k) {
        const int d = Distance(c, palette[k]);
        if (d < bestDistance) {
            best = k;
            bestDistance = d;
        }
    }
    return best;
}

// The distinct colours of a picture (24-bit, so ~0 marks an empty cell),
// sorted, with their counts; SlotOf finds a colour's place among them.
struct ColorSlots {
    std::vector<uint32_t> distinct;
    std::vector<int> counts;
    std::vector<uint32_t> keys;
    std::vector<uint32_t> slot;  // cell -> place in distinct

    explicit ColorSlots(const std::vector<uint32_t>& pixels) {
        size_t size = 16;
        while (size < 2 * pixels.size()) size *= 2;
        keys.assign(size, kEmpty);
        std::vector<int> cellCounts(size, 0);
        for (uint32_t c : pixels) ++cellCounts[Cell(c)];
        for (size_t cell = 0; cell < size; ++cell)
            if (keys[cell] != kEmpty) distinct.push_back(keys[cell]);
        std::sort(distinct.begin(), distinct.end());
        slot.assign(size, 0);
        counts.resize(distinct.size());
        for (size_t i = 0; i < distinct.size(); ++i) {
            const size_t cell = Cell(distinct[i]);
            slot[cell] = static_cast<uint32_t>(i);
            counts[i] = cellCounts[cell];
        }
    }
    size_t SlotOf(uint32_t c) const { return slot[Find(c)]; }

  private:
    static constexpr uint32_t kEmpty = ~0u;
    size_t Find(uint32_t c) const {
        size_t cell = (c * 2654435761u) & (keys.size() - 1);
        while (keys[cell] != c && keys[cell] != kEmpty) cell = (cell + 1) & (keys.size() - 1);
        return cell;
    }
    // Finds c's cell, claiming an empty one for a new colour.
    size_t Cell(uint32_t c) {
        const size_t cell = Find(c);
        keys[cell] = c;
        return cell;
    }
};

}  // namespace

IndexedPicture Quantizer::Quantize(const Canvas& canvas, int bitsPerPixel, uint32_t background) {
    IndexedPicture p;
    p.width = canvas.Width();
    p.height = canvas.Height();
    p.bitsPerPixel = bitsPerPixel;
    std::vector<uint32_t> packed(static_cast<size_t>(p.width) * p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            packed[static_cast<size_t>(y) * p.width + x] = canvas.Packed(x, y);

    // The distinct colours in ascending order with their pixel counts, and
    // each pixel's slot among them (an open-addressed table: far quicker than
    // a map, above all in the browser build, which paints at start).
    const ColorSlots slots(packed);
    std::vector<Entry> colors;
    for (size_t i = 0; i < slots.distinct.size(); ++i)
        if (slots.distinct[i] != background) colors.push_back({slots.distinct[i], slots.counts[i]});
    const std::vector<uint32_t>& distinct = slots.distinct;

    const int room = (1 << bitsPerPixel) - 1;
    p.palette = {background};
    if (static_cast<int>(colors.size()) <= room) {
        for (const Entry& e : colors) p.palette.push_back(e.color);
    } else {
        for (uint32_t c : MedianCut(colors, room)) p.palette.push_back(c);
    }

    // The background maps only to itself; other colours to the nearest
    // painted colour (the first of equals), never to the background. A
    // palette of the picture's own colours holds each one exactly.
    std::vector<uint8_t> indexOf(distinct.size(), 0);
    const bool exact = static_cast<int>(colors.size()) <= room;
    size_t next = 1;
    for (size_t i = 0; i < distinct.size(); ++i) {
        if (distinct[i] == background) continue;
        indexOf[i] = static_cast<uint8_t>(exact ? next++ : Nearest(distinct[i], p.palette));
    }
    p.pixels.resize(packed.size());
    for (size_t i = 0; i < packed.size(); ++i) p.pixels[i] = indexOf[slots.SlotOf(packed[i])];
    return p;
}

}  // namespace artgen
