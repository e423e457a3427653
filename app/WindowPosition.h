#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTimer>
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

class QWidget;

// Where the main window opens and which rectangle it leaves in the settings,
// with whatever a window manager does to it: the stored size is the outer
// one, frame included, which is known only once the window has been framed;
// a maximised window may have a thinner frame (or none), which must not end
// up in the stored rectangle. The static functions read and write the
// stored rectangle.
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

    // Follows `window`, which outlives this.
    explicit WindowPosition(QWidget& window);
    WindowPosition(const WindowPosition&) = delete;
    WindowPosition& operator=(const WindowPosition&) = delete;

    // Gives the window the stored size and centres it; a size too small to
    // play in grows to the window's minimum.
    void Place(const StoredRect& stored);
    // The window was shown, moved or changed size (or became visible).
    void Follow();
    // The restored rectangle, frame included, also when the window is
    // maximised or minimised; kept as Saved().
    StoredRect Capture();
    bool Captured() const { return captured; }
    const StoredRect& Saved() const { return saved; }

  private:
    // Blanks at positions 4, 9 and 14: the columns hold the four numbers.
    static bool InFixedColumns(std::string_view text);
    // Exactly four integers separated by blanks; false leaves `rect` unusable.
    static bool ReadSeparated(std::string_view text, StoredRect& rect);

    void FitFrame();
    bool Restored() const;
    void NoteNormalFrame();

    QWidget& window;
    QSize outerSize;
    QMargins normalMargins;
    QTimer frameNote;
    bool frameFitted = false;
    StoredRect saved;
    bool captured = false;
};
