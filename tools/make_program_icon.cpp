// Draws the program's own icon, a sheet with a folded corner and four coloured tiles (the
// picture of a new icon), at every size the program needs, and writes into OUTDIR:
//   velmora-NNxNN-32bit.bmp   32-bit bitmaps with alpha, from which the build makes the .ico
//   velmora-NNxNN-24bit.bmp   24-bit bitmaps on a magenta ground, the same pictures without
//                             alpha for the icon's true-colour images with a mask only
//   hicolor/NNxNN/apps/com.example.VelmoraIconManager.png   the desktop theme's icons
// The files are kept in the source tree (data/icons); a test checks that this tool still makes
// them byte for byte. Everything is computed with integers and exact floating-point steps (no
// library functions such as exp or pow), so every machine draws the same pixels.

#include "graphics/bitmap.h"
#include "graphics/bmp_codec.h"
#include "graphics/png_codec.h"
#include "support/file_io.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace
{

using velmora::TBitmap;
using velmora::TPixelFormat;

constexpr int SamplesPerSide = 8; // 64 samples per pixel give the edges their coverage
constexpr int Samples = SamplesPerSide * SamplesPerSide;

struct TRgba {
    double R, G, B, A; // 0..255; the canvas keeps them premultiplied by alpha
};

struct TPoint {
    double X, Y;
};

const TRgba Outline { 64, 72, 88, 255 };
const TRgba PaperTop { 255, 255, 255, 255 };
const TRgba PaperBottom { 234, 239, 247, 255 };
const TRgba FoldColour { 208, 214, 224, 255 };
const TRgba ShadowColour { 16, 24, 40, 64 };
const std::array<TRgba, 4> TileColours { TRgba { 230, 72, 60, 255 }, TRgba { 250, 180, 40, 255 },
    TRgba { 60, 160, 80, 255 }, TRgba { 50, 110, 210, 255 } };

/// Where the parts of the picture lie at one size, in pixels. Straight edges fall on whole
/// pixels, so that the small sizes stay sharp.
struct TLayout {
    int Size, Line, Left, Top, Right, Bottom, Fold, Side, Gap, TileLeft, TileTop;
    double Radius;

    explicit TLayout(int size)
        : Size(size)
    {
        auto scaled = [size](int units) { return (size * units + 16) / 32; }; // of 32 units
        Line = std::max(1, size / 48);
        Top = std::max(1, scaled(1));
        Bottom = size - Top;
        Left = (size * 9 + 32) / 64;
        Right = size - Left;
        Fold = scaled(7);
        Gap = std::max(1, scaled(1));
        // The tiles fill about two thirds of the paper's width, centred across it and between
        // the fold and the bottom edge.
        const int paper = Right - Left - 2 * Line;
        Side = (paper * 13 / 20 - Gap + 1) / 2;
        const int block = 2 * Side + Gap;
        TileLeft = (Left + Right - block) / 2;
        TileTop = (Top + Fold + Bottom - Line - block + 1) / 2;
        Radius = size >= 48 ? Side / 5.0 : 0.0;
    }
};

/// The accumulated picture: premultiplied colours, 0..255.
class TCanvas
{
public:
    explicit TCanvas(int size)
        : m_size(size)
        , m_pixels(static_cast<size_t>(size * size), TRgba { 0, 0, 0, 0 })
    {
    }

    int Size() const { return m_size; }

    /// Lays colour over the picture where coverage (0..Samples per pixel) says.
    void Paint(const std::vector<int>& coverage, const std::function<TRgba(int, int)>& colour)
    {
        for (int y = 0; y < m_size; ++y)
            for (int x = 0; x < m_size; ++x) {
                const int c = coverage[Index(x, y)];
                if (c == 0)
                    continue;
                const TRgba src = colour(x, y);
                const double a = src.A / 255.0 * c / Samples;
                TRgba& dst = m_pixels[Index(x, y)];
                dst.R = src.R * a + dst.R * (1 - a);
                dst.G = src.G * a + dst.G * (1 - a);
                dst.B = src.B * a + dst.B * (1 - a);
                dst.A = 255 * a + dst.A * (1 - a);
            }
    }

    /// The picture with straight alpha: red, green, blue, alpha per pixel.
    std::vector<std::array<uint8_t, 4>> Straight() const
    {
        std::vector<std::array<uint8_t, 4>> result(m_pixels.size());
        for (size_t i = 0; i < m_pixels.size(); ++i) {
            const TRgba& p = m_pixels[i];
            const int alpha = ToByte(p.A);
            if (alpha == 0)
                continue;
            result[i] = { ToByte(p.R * 255 / p.A), ToByte(p.G * 255 / p.A), ToByte(p.B * 255 / p.A),
                static_cast<uint8_t>(alpha) };
        }
        return result;
    }

    size_t Index(int x, int y) const { return static_cast<size_t>(y * m_size + x); }

private:
    static uint8_t ToByte(double value)
    {
        return static_cast<uint8_t>(std::clamp(static_cast<int>(value + 0.5), 0, 255));
    }

    int m_size;
    std::vector<TRgba> m_pixels;
};

/// A shape to cover: what lies inside it, the rectangle around it, and whether it is convex.
struct TShape {
    std::function<bool(double, double)> Inside;
    double Left, Top, Right, Bottom;
    bool Convex = true;
};

/// How many of each pixel's samples lie inside the shape. Pixels outside the shape's rectangle
/// are not sampled; neither are those of a convex shape whose four corners lie inside it,
/// since all their samples do too.
std::vector<int> Coverage(int size, const TShape& shape)
{
    std::vector<int> result(static_cast<size_t>(size * size), 0);
    const int x0 = std::max(0, static_cast<int>(shape.Left));
    const int y0 = std::max(0, static_cast<int>(shape.Top));
    const int x1 = std::min(size, static_cast<int>(shape.Right) + 1);
    const int y1 = std::min(size, static_cast<int>(shape.Bottom) + 1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            int count = 0;
            if (shape.Convex && shape.Inside(x, y) && shape.Inside(x + 1, y)
                && shape.Inside(x, y + 1) && shape.Inside(x + 1, y + 1)) {
                count = Samples;
            } else {
                for (int sy = 0; sy < SamplesPerSide; ++sy)
                    for (int sx = 0; sx < SamplesPerSide; ++sx)
                        count += shape.Inside(
                            x + (sx + 0.5) / SamplesPerSide, y + (sy + 0.5) / SamplesPerSide);
            }
            // Below 32 pixels a half-covered pixel would only blur the fold's diagonal:
            // small sizes are drawn sharp, each pixel wholly in or out.
            if (size < 32)
                count = count * 2 >= Samples ? Samples : 0;
            result[static_cast<size_t>(y * size + x)] = count;
        }
    return result;
}

/// Inside a convex polygon whose corners run clockwise on the screen (y downwards).
bool InsideConvex(const std::vector<TPoint>& corners, double x, double y)
{
    for (size_t i = 0; i < corners.size(); ++i) {
        const TPoint& a = corners[i];
        const TPoint& b = corners[(i + 1) % corners.size()];
        if ((b.X - a.X) * (y - a.Y) - (b.Y - a.Y) * (x - a.X) < 0)
            return false;
    }
    return true;
}

/// A convex polygon, clockwise, moved by (dx, dy), as a shape.
TShape Polygon(const std::vector<TPoint>& corners, double dx = 0, double dy = 0)
{
    TShape shape { [corners, dx, dy](
                       double x, double y) { return InsideConvex(corners, x - dx, y - dy); },
        corners[0].X + dx, corners[0].Y + dy, corners[0].X + dx, corners[0].Y + dy };
    for (const TPoint& p : corners) {
        shape.Left = std::min(shape.Left, p.X + dx);
        shape.Top = std::min(shape.Top, p.Y + dy);
        shape.Right = std::max(shape.Right, p.X + dx);
        shape.Bottom = std::max(shape.Bottom, p.Y + dy);
    }
    return shape;
}

/// The convex polygon moved inwards by distance on every side: each side's line is moved
/// along its normal and neighbouring lines meet in the new corners.
std::vector<TPoint> Inset(const std::vector<TPoint>& corners, double distance)
{
    const size_t n = corners.size();
    struct TLine {
        TPoint Point, Direction;
    };
    std::vector<TLine> lines;
    for (size_t i = 0; i < n; ++i) {
        const TPoint& a = corners[i];
        const TPoint& b = corners[(i + 1) % n];
        const double dx = b.X - a.X;
        const double dy = b.Y - a.Y;
        // Only horizontal, vertical and 45-degree sides occur: their lengths are exact enough
        // without a square root of the library.
        const double length = dx == 0 || dy == 0 ? std::max(std::abs(dx), std::abs(dy))
                                                 : std::abs(dx) * 1.4142135623730951;
        const TPoint normal { -dy / length, dx / length }; // inwards for clockwise corners
        lines.push_back({ { a.X + normal.X * distance, a.Y + normal.Y * distance }, { dx, dy } });
    }
    std::vector<TPoint> result;
    for (size_t i = 0; i < n; ++i) {
        const TLine& p = lines[(i + n - 1) % n];
        const TLine& q = lines[i];
        const double det = p.Direction.X * q.Direction.Y - p.Direction.Y * q.Direction.X;
        const double t
            = ((q.Point.X - p.Point.X) * q.Direction.Y - (q.Point.Y - p.Point.Y) * q.Direction.X)
            / det;
        result.push_back({ p.Point.X + t * p.Direction.X, p.Point.Y + t * p.Direction.Y });
    }
    return result;
}

bool InsideRoundedSquare(double left, double top, double side, double radius, double x, double y)
{
    if (x < left || y < top || x >= left + side || y >= top + side)
        return false;
    const double cx = std::clamp(x, left + radius, left + side - radius);
    const double cy = std::clamp(y, top + radius, top + side - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

/// A box blur of the coverage, run twice, in whole numbers.
std::vector<int> Blurred(std::vector<int> coverage, int size, int radius)
{
    const int width = 2 * radius + 1;
    std::vector<int> next(coverage.size());
    for (int pass = 0; pass < 4; ++pass) {
        const bool across = pass % 2 == 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                int sum = 0;
                for (int d = -radius; d <= radius; ++d) {
                    const int sx = across ? x + d : x;
                    const int sy = across ? y : y + d;
                    if (sx >= 0 && sy >= 0 && sx < size && sy < size)
                        sum += coverage[static_cast<size_t>(sy * size + sx)];
                }
                next[static_cast<size_t>(y * size + x)] = (sum + width / 2) / width;
            }
        coverage.swap(next);
    }
    return coverage;
}

TCanvas Draw(int size)
{
    const TLayout l(size);
    TCanvas canvas(size);
    const std::vector<TPoint> sheet { { double(l.Left), double(l.Top) },
        { double(l.Right - l.Fold), double(l.Top) }, { double(l.Right), double(l.Top + l.Fold) },
        { double(l.Right), double(l.Bottom) }, { double(l.Left), double(l.Bottom) } };
    const std::vector<TPoint> fold { { double(l.Right - l.Fold), double(l.Top) },
        { double(l.Right), double(l.Top + l.Fold) },
        { double(l.Right - l.Fold), double(l.Top + l.Fold) } };
    auto solid = [](const TRgba& colour) { return [colour](int, int) { return colour; }; };

    if (size >= 48) {
        // A soft shadow below and right of the sheet lifts it off the desktop.
        const double offset = size / 48.0;
        std::vector<int> shadow = Coverage(size, Polygon(sheet, offset, offset));
        canvas.Paint(Blurred(std::move(shadow), size, std::max(1, size / 64)), solid(ShadowColour));
    }
    canvas.Paint(Coverage(size, Polygon(sheet)), solid(Outline));
    const std::vector<TPoint> paper = Inset(sheet, l.Line);
    canvas.Paint(Coverage(size, Polygon(paper)), [&](int, int y) {
        // Larger sizes get paper that darkens a little towards the bottom.
        if (size < 48)
            return PaperTop;
        const double t = std::clamp((y + 0.5 - l.Top) / (l.Bottom - l.Top), 0.0, 1.0);
        return TRgba { PaperTop.R + (PaperBottom.R - PaperTop.R) * t,
            PaperTop.G + (PaperBottom.G - PaperTop.G) * t,
            PaperTop.B + (PaperBottom.B - PaperTop.B) * t, 255 };
    });
    canvas.Paint(Coverage(size, Polygon(fold)), solid(Outline));
    TShape foldInside = Polygon(Inset(fold, l.Line));
    if (size < 32) {
        // Sharp sizes: the whole pixels between the fold's three outlines.
        foldInside.Inside = [&l](double x, double y) {
            const int dx = static_cast<int>(x) - (l.Right - l.Fold);
            const int dy = static_cast<int>(y) - l.Top;
            return dx >= 1 && dy <= l.Fold - 2 && dx < dy;
        };
        foldInside.Convex = false;
    }
    canvas.Paint(Coverage(size, foldInside), solid(FoldColour));
    for (int i = 0; i < 4; ++i) {
        const double left = l.TileLeft + (i % 2) * (l.Side + l.Gap);
        const double top = l.TileTop + (i / 2) * (l.Side + l.Gap);
        const TShape tile { [&](double x, double y) {
                               return InsideRoundedSquare(left, top, l.Side, l.Radius, x, y);
                           },
            left, top, left + l.Side, top + l.Side };
        canvas.Paint(Coverage(size, tile), solid(TileColours[static_cast<size_t>(i)]));
    }
    return canvas;
}

// The magenta ground of the bitmaps: the import takes the bottom-left pixel's colour as
// transparent, and the picture uses no magenta.
constexpr uint8_t GroundRed = 255, GroundGreen = 0, GroundBlue = 255;

TBitmap ToBitmap(const TCanvas& canvas, TPixelFormat format)
{
    const int size = canvas.Size();
    const auto pixels = canvas.Straight();
    TBitmap bitmap(size, size, format);
    const int bytes = format == TPixelFormat::pf32bit ? 4 : 3;
    for (int y = 0; y < size; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < size; ++x) {
            const auto& p = pixels[canvas.Index(x, y)];
            // Without alpha a pixel is either the picture's or the ground's.
            const bool ground = bytes == 4 ? p[3] == 0 : p[3] < 128;
            uint8_t* out = row + x * bytes;
            out[0] = ground ? GroundBlue : p[2];
            out[1] = ground ? GroundGreen : p[1];
            out[2] = ground ? GroundRed : p[0];
            if (bytes == 4)
                out[3] = p[3];
        }
    }
    return bitmap;
}

velmora::Bytes ToPng(const TCanvas& canvas)
{
    const int size = canvas.Size();
    const auto pixels = canvas.Straight();
    TBitmap bitmap(size, size, TPixelFormat::pf32bit);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const auto& p = pixels[canvas.Index(x, y)];
            uint8_t* out = bitmap.ScanLine(y) + x * 4;
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
            out[3] = p[3];
        }
    return velmora::EncodePng(bitmap);
}

std::string SizeName(int size)
{
    return std::to_string(size) + "x" + std::to_string(size);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_program_icon OUTDIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    // The .ico holds what the import takes (4 to 72 pixels); the theme wants larger ones too.
    constexpr int IconSizes32[] = { 16, 24, 32, 48, 64 };
    constexpr int IconSizes24[] = { 16, 32, 48 };
    constexpr int ThemeSizes[] = { 16, 24, 32, 48, 64, 128, 256 };
    try {
        std::filesystem::create_directories(out);
        for (int size : IconSizes32)
            velmora::SaveBitmapToFile(ToBitmap(Draw(size), TPixelFormat::pf32bit),
                out / ("velmora-" + SizeName(size) + "-32bit.bmp"));
        for (int size : IconSizes24)
            velmora::SaveBitmapToFile(ToBitmap(Draw(size), TPixelFormat::pf24bit),
                out / ("velmora-" + SizeName(size) + "-24bit.bmp"));
        for (int size : ThemeSizes) {
            const std::filesystem::path folder = out / "hicolor" / SizeName(size) / "apps";
            std::filesystem::create_directories(folder);
            velmora::WriteFileAtomically(
                folder / "com.example.VelmoraIconManager.png", ToPng(Draw(size)));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_program_icon: %s\n", error.what());
        return 1;
    }
    return 0;
}
