#include "icon_test_files.h"

#include "graphics/png_codec.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace velmora::test
{

Bytes TBmpFile::Build() const
{
    Bytes out { 'B', 'M' };
    AppendU32(out, 0); // bfSize(4), patched below
    AppendU32(out, 0); // bfReserved1(2), bfReserved2(2)
    AppendU32(out, 0); // bfOffBits(4), patched below
    AppendU32(out, headerSize); // biSize(4)
    if (headerSize == 12) {
        AppendU16(out, static_cast<uint16_t>(width)); // bcWidth(2)
        AppendU16(out, static_cast<uint16_t>(height)); // bcHeight(2)
        AppendU16(out, 1); // bcPlanes(2)
        AppendU16(out, bits); // bcBitCount(2)
    } else {
        AppendU32(out, static_cast<uint32_t>(width)); // biWidth(4)
        AppendU32(out, static_cast<uint32_t>(height)); // biHeight(4)
        AppendU16(out, 1); // biPlanes(2)
        AppendU16(out, bits); // biBitCount(2)
        AppendU32(out, compression); // biCompression(4)
        out.resize(out.size() + 12, 0); // biSizeImage, biXPelsPerMeter, biYPelsPerMeter
        AppendU32(out, clrUsed); // biClrUsed(4)
        AppendU32(out, 0); // biClrImportant(4)
        size_t inHeader = headerSize >= 56 ? 4 : headerSize >= 52 ? 3 : 0;
        for (size_t i = 0; i < inHeader; ++i)
            AppendU32(out, i < masks.size() ? masks[i] : 0);
        out.resize(14 + headerSize, 0);
        if (headerSize == 40)
            for (uint32_t mask : masks)
                AppendU32(out, mask);
    }
    out.insert(out.end(), palette.begin(), palette.end());
    WriteU32(out.data() + 10, offBits.value_or(static_cast<uint32_t>(out.size())));
    out.insert(out.end(), data.begin(), data.end());
    WriteU32(out.data() + 2, static_cast<uint32_t>(out.size()));
    return out;
}

TBitmap PatternBitmap(int width, int height, TPixelFormat format, uint32_t seed)
{
    TBitmap bitmap(width, height, format);
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<uint8_t>(seed >> 16);
    };
    for (TRGBQuad& quad : bitmap.Palette())
        quad = TRGBQuad { next(), next(), next(), next() };
    size_t usedBits = static_cast<size_t>(width) * static_cast<size_t>(bitmap.BitsPerPixel());
    for (int y = 0; y < height; ++y)
        for (size_t bit = 0; bit < usedBits; bit += 8)
            bitmap.ScanLine(y)[bit / 8] = static_cast<uint8_t>(
                next() & (usedBits - bit < 8 ? 0xFF << (8 - (usedBits - bit)) : 0xFF));
    return bitmap;
}

TBitmap MakeTrueColorBitmap(int width, int height, TPixelFormat format,
    const std::function<TColor(int, int)>& colorAt, uint8_t alpha)
{
    TBitmap bitmap(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            SetPixelColor(bitmap, x, y, colorAt(x, y));
            SetPixelAlpha(bitmap, x, y, alpha);
        }
    return bitmap;
}

Bytes BuildImage(const TImageRecipe& recipe)
{
    // A .bmp file of twice the height without its 14-byte file header.
    TBmpFile file { static_cast<uint16_t>(recipe.BitCount), recipe.Width, recipe.Height * 2, {}, {},
        recipe.Compression, recipe.Masks, recipe.ClrUsed };
    for (const TRGBQuad& q : recipe.Palette)
        file.palette.insert(file.palette.end(), { q.rgbBlue, q.rgbGreen, q.rgbRed, q.rgbReserved });
    // Rows bottom-up, padded to 4 bytes; pixels of less than a byte from the high bits down.
    auto appendRows = [&](int bits, const std::function<uint32_t(int, int)>& value) {
        for (int y = recipe.Height - 1; y >= 0; --y) {
            Bytes row(static_cast<size_t>((recipe.Width * bits + 31) / 32 * 4), 0);
            for (int x = 0; x < recipe.Width; ++x) {
                const uint32_t v = value(x, y);
                const size_t at = static_cast<size_t>(x * bits / 8);
                if (bits >= 8) {
                    for (int i = 0; i < bits / 8; ++i)
                        row[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
                } else {
                    row[at] |= static_cast<uint8_t>(
                        (v & ((1u << bits) - 1)) << (8 - bits - x * bits % 8));
                }
            }
            file.data.insert(file.data.end(), row.begin(), row.end());
        }
    };
    appendRows(recipe.BitCount, recipe.Pixel);
    if (recipe.WithMask)
        appendRows(1, [&](int x, int y) { return recipe.MaskBit(x, y) ? 1u : 0u; });
    Bytes out = file.Build();
    return Bytes(out.begin() + 14, out.end());
}

TTestImage BmpImage(int w, int h, int bpp, uint8_t seed)
{
    TImageRecipe recipe { w, h, bpp };
    for (int i = 0; bpp <= 8 && i < (1 << bpp); ++i)
        recipe.Palette.push_back(TRGBQuad { static_cast<uint8_t>(i * 37 + seed),
            static_cast<uint8_t>(i * 11), static_cast<uint8_t>(255 - i), 0 });
    recipe.Pixel = [seed](int x, int y) {
        return static_cast<uint32_t>(x * 7 + y * 13 + seed) * 0x01030507u;
    };
    recipe.MaskBit = [](int x, int) { return x == 0; };
    return TTestImage { BuildImage(recipe), static_cast<uint8_t>(w), static_cast<uint8_t>(h),
        static_cast<uint16_t>(bpp), bpp < 8 ? static_cast<uint8_t>(1u << bpp) : uint8_t { 0 } };
}

TTestImage PngImage(int w, int h, uint8_t seed)
{
    return TTestImage { EncodePng(PatternBitmap(w, h, TPixelFormat::pf32bit, seed)),
        static_cast<uint8_t>(w), static_cast<uint8_t>(h), 32 };
}

Bytes MakeIconFile(const std::vector<TTestImage>& images)
{
    Bytes file(6 + 16 * images.size());
    WriteU16(file.data() + 2, 1);
    WriteU16(file.data() + 4, static_cast<uint16_t>(images.size()));
    uint32_t next = static_cast<uint32_t>(file.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const TTestImage& image = images[i];
        uint32_t offset = image.ImageOffset ? image.ImageOffset : next;
        uint8_t* entry = file.data() + 6 + 16 * i;
        entry[0] = image.Width;
        entry[1] = image.Height;
        entry[2] = image.ColorCount;
        WriteU16(entry + 4, image.Planes);
        WriteU16(entry + 6, image.BitCount);
        WriteU32(entry + 8,
            image.BytesInRes ? image.BytesInRes : static_cast<uint32_t>(image.Data.size()));
        WriteU32(entry + 12, offset);
        if (file.size() < offset + image.Data.size())
            file.resize(offset + image.Data.size());
        std::copy(image.Data.begin(), image.Data.end(), file.begin() + offset);
        next = std::max<uint32_t>(next, offset + static_cast<uint32_t>(image.Data.size()));
    }
    return file;
}

TTempDir::TTempDir()
{
    const char* base = std::getenv("VELMORA_TEST_TMP");
    std::filesystem::path root = base ? base : std::filesystem::temp_directory_path();
    std::filesystem::create_directories(root);
    std::string pattern = (root / "velmora-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    m_path = pattern;
}

TTempDir::~TTempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(
        reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int RunCommand(const std::string& command, std::string* out)
{
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        if (out)
            out->append(buffer, got);
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveProgram(const std::string& name)
{
    return RunCommand("command -v " + name + " >/dev/null 2>&1") == 0;
}

bool HavePillow()
{
    return RunCommand("/usr/bin/python3 -c 'import PIL' 2>/dev/null") == 0;
}

} // namespace velmora::test
