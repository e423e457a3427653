#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <string_view>

// The window rectangle as the settings keep it: left, top, right and bottom
// of the restored window, frame included, as "%04d %04d %04d %04d". Of a
// stored rectangle only the size takes effect; the window always opens
// centred on the screen.
struct StoredRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const StoredRect&) const = default;
};

class WindowPosition {
  public:
    static constexpr int kDefaultWidth = 600;
    static constexpr int kDefaultHeight = 400;

    // Reads the four numbers at character positions 0, 5, 10 and 15 the way
    // atoi does; an empty text is the default window 0, 0, 600, 400. A text
    // whose numbers have outgrown those columns (a window left at -1000 or
    // 10000 and beyond writes five or more characters for one of them) is
    // read as four numbers separated by blanks instead.
    static StoredRect Parse(const QString& text);
    static QString Format(const StoredRect& rect);
    static StoredRect FromQRect(const QRect& rect);

    // The outer size a stored rectangle opens with: a size that is not
    // positive becomes the default, and the window never outgrows the area.
    static QSize StartSize(const StoredRect& rect, const QSize& available);
    // The top left corner that centres `size` on `available`; a window that
    // does not fit keeps the area's left or top edge.
    static QPoint CentredTopLeft(const QSize& size, const QRect& available);

    // atoi at `pos` (0 past the end): blanks, an optional sign and digits up
    // to the first non-digit; values beyond 32 bits saturate.
    static int32_t ReadNumber(std::string_view text, size_t pos);

  private:
    // Blanks at positions 4, 9 and 14: the columns hold the four numbers.
    static bool InFixedColumns(std::string_view text);
    // Exactly four integers separated by blanks; false leaves `rect` unusable.
    static bool ReadSeparated(std::string_view text, StoredRect& rect);
};
