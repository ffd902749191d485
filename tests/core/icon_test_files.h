#pragma once

// Icon files and images built byte by byte for the tests.

#include "graphics/bitmap_info_header.h"
#include "graphics/pixel_format.h"
#include "support/byte_io.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velmora::test
{

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

/// Wraps image data as a one-image icon file (header 0, 1, 1; one entry; data at 22).
Bytes WrapAsIcon(const Bytes& image, uint8_t width = 0, uint8_t height = 0, uint16_t bits = 0);

/// Data of a BMP-style icon image of w x h pixels at bpp bits (1, 4, 8, 16, 24, 32): header,
/// colour table, colour rows with a pattern that depends on seed, and an AND mask whose
/// left column is transparent.
Bytes MakeBmpImage(int w, int h, int bpp, uint8_t seed = 1);

/// A real, decodable PNG stream of w x h RGBA pixels.
Bytes MakePngImage(int w, int h, uint8_t seed = 1);

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

/// A bitmap-style image of the given format with matching entry fields.
TTestImage BmpImage(int w, int h, int bpp, uint8_t seed = 1);
/// A PNG image with matching entry fields (32 bits).
TTestImage PngImage(int w, int h, uint8_t seed = 1);

/// An icon file: header, directory, then the images back to back from 6 + 16 x N on (or at
/// their given offsets).
Bytes MakeIconFile(const std::vector<TTestImage>& images);

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

} // namespace velmora::test
