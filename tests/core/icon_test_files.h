#pragma once

// Files, images and bitmaps built byte by byte for the tests, and the folders and commands
// the tests work with.

#include "graphics/bitmap.h"
#include "graphics/bitmap_info_header.h"
#include "graphics/bitmap_pixels.h"
#include "support/byte_io.h"
#include "support/error.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::test
{

/// A .bmp file described field by field, the often set ones first, built into bytes.
struct TBmpFile {
    uint16_t bits = 24;
    int32_t width = 1;
    int32_t height = 1;
    Bytes data {}; // the pixel data as stored
    Bytes palette {}; // the colour table as stored, or any bytes before the pixel data
    uint32_t compression = BI_RGB;
    std::vector<uint32_t> masks {}; // inside a V2+ header, or after a 40-byte header
    uint32_t clrUsed = 0;
    uint32_t headerSize = 40;
    std::optional<uint32_t> offBits {}; // default: right after the colour table

    Bytes Build() const;
};

/// A bitmap of the format whose pixels and palette follow a simple pseudo-random sequence;
/// row padding and unused bits stay 0, as the reader leaves them.
TBitmap PatternBitmap(int width, int height, TPixelFormat format, uint32_t seed);

using TBgra = std::array<uint8_t, 4>;

/// The bytes (blue, green, red, alpha) of pixel (x, y) of a 32-bit bitmap.
inline TBgra PixelAt(const TBitmap& bitmap, int x, int y)
{
    const uint8_t* p = bitmap.ScanLine(y) + x * 4;
    return { p[0], p[1], p[2], p[3] };
}

/// A 24- or 32-bit bitmap whose pixel (x, y) has the colour colorAt(x, y); 32-bit pixels get
/// the alpha byte alpha.
TBitmap MakeTrueColorBitmap(int width, int height, TPixelFormat format,
    const std::function<TColor(int, int)>& colorAt, uint8_t alpha = 0);

/// A 24-bit bitmap of one colour.
inline TBitmap MakeSolidBitmap(int width, int height, TColor color)
{
    return MakeTrueColorBitmap(
        width, height, TPixelFormat::pf24bit, [color](int, int) { return color; });
}

/// A 32-bit picture whose pixel (x, y) is colourAt(x, y) as blue, green, red, alpha.
inline TBitmap Rgba(int w, int h, const std::function<TBgra(int, int)>& colourAt)
{
    TBitmap bitmap(w, h, TPixelFormat::pf32bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TBgra c = colourAt(x, y);
            std::copy(c.begin(), c.end(), bitmap.ScanLine(y) + 4 * x);
        }
    return bitmap;
}

/// A BMP-style icon image to build: pixel values (palette indices or packed colours as stored,
/// blue in the lowest byte) and mask bits come from functions of (x, y), y = 0 the top row.
struct TImageRecipe {
    int Width = 4;
    int Height = 4;
    int BitCount = 24;
    uint32_t Compression = 0;
    std::vector<uint32_t> Masks {}; // written after the 40-byte header
    std::vector<TRGBQuad> Palette {}; // written as the colour table
    uint32_t ClrUsed = 0;
    std::function<uint32_t(int, int)> Pixel = [](int, int) { return 0u; };
    std::function<bool(int, int)> MaskBit = [](int, int) { return false; };
    bool WithMask = true;
};

/// The bytes of an icon image: header, masks, colour table, colour rows and mask rows.
Bytes BuildImage(const TImageRecipe& recipe);

/// One image of an icon file to build.
struct TTestImage {
    Bytes Data;
    uint8_t Width = 0; // stored as in the file: 0 means 256
    uint8_t Height = 0;
    uint16_t BitCount = 0;
    uint8_t ColorCount = 0;
    uint16_t Planes = 1;
    // Overrides of the directory entry's size and offset (0: the real ones).
    uint32_t BytesInRes = 0;
    uint32_t ImageOffset = 0;
};

/// A BMP-style image of w x h pixels at bpp bits (1, 4, 8, 16, 24, 32) with matching entry
/// fields: colour rows in a pattern that depends on seed, an AND mask whose left column is
/// transparent.
TTestImage BmpImage(int w, int h, int bpp, uint8_t seed = 1);
/// A real, decodable PNG image of w x h RGBA pixels with matching entry fields (32 bits).
TTestImage PngImage(int w, int h, uint8_t seed = 1);

/// An icon file: header, directory, then the images back to back from 6 + 16 x N on (or at
/// their given offsets).
Bytes MakeIconFile(const std::vector<TTestImage>& images);

/// The bytes with value written at offset as a little-endian number of size bytes (2 or 4).
inline Bytes With(Bytes bytes, size_t offset, uint32_t value, int size = 4)
{
    if (size == 2)
        WriteU16(bytes.data() + offset, static_cast<uint16_t>(value));
    else
        WriteU32(bytes.data() + offset, value);
    return bytes;
}

/// The text of the error of type E that call raises; "" when it raises none.
template <class E = Exception, class F> std::string ErrorOf(F&& call)
{
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    return "";
}

/// A folder of its own for one test, removed with everything in it at the end.
class TTempDir
{
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    std::filesystem::path Path(const std::string& name) const { return m_path / name; }
    const std::filesystem::path& Root() const { return m_path; }

private:
    std::filesystem::path m_path;
};

void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
Bytes ReadFile(const std::filesystem::path& path);

/// Runs a shell command; its exit status, with its standard output in out.
int RunCommand(const std::string& command, std::string* out = nullptr);
/// True when a program is on the PATH.
bool HaveProgram(const std::string& name);
/// True when /usr/bin/python3 can import Pillow.
bool HavePillow();

} // namespace velmora::test
