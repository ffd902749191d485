#include "colors/chevron.h"

#include "graphics/bitmap_pixels.h"
#include "messages/messages.h"
#include "platform/system_colors.h"
#include "support/error.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

namespace velmora
{

namespace
{

struct TPoint64 {
    int64_t x;
    int64_t y;
};

constexpr int MaxChevronScale = 4096;

using TChevronPoints = std::array<std::array<int, 2>, 6>;
constexpr std::array<TChevronPoints, 4> ChevronPoints = { {
    { { { 2, 0 }, { 4, 2 }, { 4, 3 }, { 2, 1 }, { 0, 3 }, { 0, 2 } } }, // up
    { { { 0, 0 }, { 1, 0 }, { 3, 2 }, { 1, 4 }, { 0, 4 }, { 2, 2 } } }, // right
    { { { 0, 0 }, { 2, 2 }, { 4, 0 }, { 4, 1 }, { 2, 3 }, { 0, 1 } } }, // down
    { { { 2, 0 }, { 3, 0 }, { 1, 2 }, { 3, 4 }, { 2, 4 }, { 0, 2 } } }, // left
} };

void Plot(TBitmap& bitmap, int64_t x, int64_t y, TColor color)
{
    if (x >= 0 && y >= 0 && x < bitmap.Width() && y < bitmap.Height())
        SetPixelColor(bitmap, static_cast<int>(x), static_cast<int>(y), color);
}

/// The pen's 1-pixel line from a to b, both ends included (Bresenham). The chevrons' edges
/// are all horizontal, vertical or diagonal, where every line algorithm of a graphics
/// device sets exactly these pixels.
void DrawLine(TBitmap& bitmap, TPoint64 a, TPoint64 b, TColor color)
{
    const int64_t dx = std::abs(b.x - a.x);
    const int64_t dy = -std::abs(b.y - a.y);
    const int64_t sx = a.x < b.x ? 1 : -1;
    const int64_t sy = a.y < b.y ? 1 : -1;
    int64_t error = dx + dy;
    for (;;) {
        Plot(bitmap, a.x, a.y, color);
        if (a.x == b.x && a.y == b.y)
            break;
        const int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            a.x += sx;
        }
        if (twice <= dx) {
            error += dx;
            a.y += sy;
        }
    }
}

/// A crossing of a scan line with an edge at x = numerator / denominator (denominator > 0).
struct TCrossing {
    int64_t numerator;
    int64_t denominator;
    bool operator<(const TCrossing& other) const
    {
        return numerator * other.denominator < other.numerator * denominator;
    }
};

int64_t FloorDiv(int64_t n, int64_t d)
{
    return n / d - ((n % d != 0) && ((n < 0) != (d < 0)));
}
int64_t CeilDiv(int64_t n, int64_t d)
{
    return -FloorDiv(-n, d);
}

/// The polygon's interior by the even-odd rule, sampled at the pixels' own integer
/// coordinates: on each row the pixels from one crossing up to the next are set, both ends
/// included; an edge counts for the rows from its upper end up to, not including, its lower
/// end, so each vertex is crossed once. Pixels on the outline may be left out here; the
/// pen's outline sets them. Edge extents of at most 2^15 and coordinates of at most 2^33
/// (an int plus a scaled corner) keep every product within 64 bits.
void FillPolygon(TBitmap& bitmap, std::span<const TPoint64> points, TColor color)
{
    int64_t top = points[0].y;
    int64_t bottom = points[0].y;
    for (const TPoint64& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    top = std::max<int64_t>(top, 0);
    bottom = std::min<int64_t>(bottom, bitmap.Height() - 1);
    std::vector<TCrossing> crossings;
    for (int64_t y = top; y <= bottom; ++y) {
        crossings.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            TPoint64 a = points[i];
            TPoint64 b = points[(i + 1) % points.size()];
            if (a.y == b.y)
                continue;
            if (a.y > b.y)
                std::swap(a, b);
            if (y < a.y || y >= b.y)
                continue;
            const int64_t denominator = b.y - a.y;
            crossings.push_back({ a.x * denominator + (y - a.y) * (b.x - a.x), denominator });
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int64_t left
                = std::max<int64_t>(CeilDiv(crossings[i].numerator, crossings[i].denominator), 0);
            const int64_t right = std::min<int64_t>(
                FloorDiv(crossings[i + 1].numerator, crossings[i + 1].denominator),
                bitmap.Width() - 1);
            for (int64_t x = left; x <= right; ++x)
                Plot(bitmap, x, y, color);
        }
    }
}

} // namespace

void DrawChevron(TBitmap& bitmap, int direction, int x0, int y0, TColor color, int scale)
{
    if (scale < -MaxChevronScale || scale > MaxChevronScale)
        throw EInvalidGraphic(FormatText(Messages::ChevronScaleRefused, { std::to_string(scale) }));
    if (direction < 0 || direction >= static_cast<int>(ChevronPoints.size()))
        return;
    const TColor rgb = ColorToRGB(color);
    std::array<TPoint64, 6> points {};
    const TChevronPoints& corners = ChevronPoints[static_cast<size_t>(direction)];
    for (size_t i = 0; i < corners.size(); ++i)
        points[i]
            = { int64_t { corners[i][0] } * scale + x0, int64_t { corners[i][1] } * scale + y0 };
    FillPolygon(bitmap, points, rgb);
    for (size_t i = 0; i < points.size(); ++i)
        DrawLine(bitmap, points[i], points[(i + 1) % points.size()], rgb);
}

} // namespace velmora
