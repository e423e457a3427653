#include "app/WindowPosition.h"

#include <algorithm>
#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Clamps a size that is not positive to the default and a size that does
// not fit to the available extent.
int FitExtent(int64_t stored, int fallback, int available) {
    const int64_t size = stored > 0 ? stored : fallback;
    if (available > 0 && size > available) return available;
    return static_cast<int>(std::min<int64_t>(size, std::numeric_limits<int>::max()));
}

}  // namespace

int32_t WindowPosition::ReadNumber(std::string_view text, size_t pos) {
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = std::min<int64_t>(value * 10 + (text[pos] - '0'), kMax + 1);
    }
    if (negative) return static_cast<int32_t>(std::max(-value, kMin));
    return static_cast<int32_t>(std::min(value, kMax));
}

StoredRect WindowPosition::Parse(const QString& text) {
    if (text.isEmpty()) return {0, 0, kDefaultWidth, kDefaultHeight};
    const QByteArray bytes = text.toLatin1();
    const std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
    StoredRect rect;
    if (!InFixedColumns(view) && ReadSeparated(view, rect)) return rect;
    return {ReadNumber(view, 0), ReadNumber(view, 5), ReadNumber(view, 10), ReadNumber(view, 15)};
}

bool WindowPosition::InFixedColumns(std::string_view text) {
    for (const size_t gap : {size_t{4}, size_t{9}, size_t{14}}) {
        if (gap >= text.size() || !IsBlank(text[gap])) return false;
    }
    return true;
}

bool WindowPosition::ReadSeparated(std::string_view text, StoredRect& rect) {
    int32_t* const fields[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    size_t pos = 0;
    for (int32_t* field : fields) {
        while (pos < text.size() && IsBlank(text[pos])) ++pos;
        const size_t start = pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        const size_t digits = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
        if (pos == digits) return false;
        if (pos < text.size() && !IsBlank(text[pos])) return false;
        *field = ReadNumber(text, start);
    }
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    return pos == text.size();
}

QString WindowPosition::Format(const StoredRect& rect) {
    return QString::asprintf("%04d %04d %04d %04d", rect.left, rect.top, rect.right, rect.bottom);
}

StoredRect WindowPosition::FromQRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QSize WindowPosition::StartSize(const StoredRect& rect, const QSize& available) {
    const int64_t width = int64_t{rect.right} - rect.left;
    const int64_t height = int64_t{rect.bottom} - rect.top;
    return {FitExtent(width, kDefaultWidth, available.width()),
            FitExtent(height, kDefaultHeight, available.height())};
}

QPoint WindowPosition::CentredTopLeft(const QSize& size, const QRect& available) {
    const int x = available.left() + std::max(0, (available.width() - size.width()) / 2);
    const int y = available.top() + std::max(0, (available.height() - size.height()) / 2);
    return {x, y};
}
