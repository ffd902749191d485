#include "graphics/bitmap_ops.h"
#include "pane/icon_pane.h"

namespace velmora
{

namespace
{

constexpr TColor Transparent = RGB(255, 0, 255);
constexpr TColor Outline = RGB(64, 72, 88);
constexpr TColor Paper = RGB(255, 255, 255);
constexpr TColor Fold = RGB(208, 214, 224);

void Line(TBitmap& bitmap, int x, int y, int w, int h, TColor color)
{
    FillRect(bitmap, x, y, w, h, color);
}

} // namespace

TBitmap TIconPane::TemplateIconBitmap()
{
    // A blank sheet with a folded corner and four coloured tiles, the sizes of an icon, on a
    // transparent ground. The bottom-left pixel is the transparent colour.
    TBitmap bitmap(32, 32, TPixelFormat::pf24bit);
    FillBitmap(bitmap, Transparent);

    constexpr int left = 5, top = 1, right = 26, bottom = 30, fold = 7;
    Line(bitmap, left + 1, top + 1, right - left - 1, bottom - top - 1, Paper);
    Line(bitmap, left, top, right - left - fold + 1, 1, Outline); // top edge
    Line(bitmap, left, top, 1, bottom - top + 1, Outline); // left edge
    Line(bitmap, left, bottom, right - left + 1, 1, Outline); // bottom edge
    Line(bitmap, right, top + fold, 1, bottom - top - fold + 1, Outline); // right edge
    // The folded corner: cut away above the diagonal, shaded below it.
    for (int i = 0; i < fold; ++i) {
        const int x = right - fold + 1 + i;
        Line(bitmap, x, top, 1, i + 1, Transparent);
        Line(bitmap, x, top + i, 1, 1, Outline);
        Line(bitmap, right - fold, top + i, 1, 1, Outline);
        Line(bitmap, right - fold + 1, top + fold, fold, 1, Outline);
        if (i > 0)
            Line(bitmap, right - fold + 1, top + i + 1, i, fold - i - 1, Fold);
    }

    constexpr TColor tiles[]
        = { RGB(230, 72, 60), RGB(250, 180, 40), RGB(60, 160, 80), RGB(50, 110, 210) };
    Line(bitmap, 9, 13, 6, 6, tiles[0]);
    Line(bitmap, 16, 13, 6, 6, tiles[1]);
    Line(bitmap, 9, 20, 6, 6, tiles[2]);
    Line(bitmap, 16, 20, 6, 6, tiles[3]);
    return bitmap;
}

} // namespace velmora
