#include "gfx/ImageDiff.h"

#include <cstring>

namespace {

// The first and one-past-last columns in which two rows of 32-bit pixels differ.
bool differingColumns(const quint32 *a, const quint32 *b, int width, int *first, int *end)
{
    int lo = 0;
    while (lo < width && a[lo] == b[lo])
        ++lo;
    if (lo == width)
        return false;
    int hi = width;
    while (hi > lo && a[hi - 1] == b[hi - 1])
        --hi;
    *first = lo;
    *end = hi;
    return true;
}

} // namespace

QRect ChangedRect(const QImage &before, const QImage &after)
{
    if (after.isNull())
        return {};
    if (before.isNull() || before.size() != after.size() || before.format() != after.format()
        || after.depth() != 32)
        return after.rect();
    if (before.cacheKey() == after.cacheKey())
        return {}; // the same pixels, shared
    const int w = after.width();
    const std::size_t rowBytes = sizeof(quint32) * std::size_t(w);
    int top = -1, bottom = -1, left = w, right = 0;
    for (int y = 0; y < after.height(); ++y) {
        const auto *a = reinterpret_cast<const quint32 *>(before.constScanLine(y));
        const auto *b = reinterpret_cast<const quint32 *>(after.constScanLine(y));
        if (std::memcmp(a, b, rowBytes) == 0)
            continue;
        int first = 0, end = 0;
        differingColumns(a, b, w, &first, &end);
        if (top < 0)
            top = y;
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, end);
    }
    if (top < 0)
        return {};
    return QRect(left, top, right - left, bottom - top + 1);
}
