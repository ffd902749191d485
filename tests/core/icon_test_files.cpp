#include "icon_test_files.h"

#include "graphics/bitmap_info_header.h"
#include "graphics/png_codec.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <unistd.h>

namespace velmora::test
{

Bytes BuildImage(const TImageRecipe& recipe)
{
    TBitmapInfoHeader header;
    header.biWidth = recipe.Width;
    header.biHeight = recipe.Height * 2;
    header.biBitCount = static_cast<uint16_t>(recipe.BitCount);
    header.biCompression = recipe.Compression;
    header.biClrUsed = recipe.ClrUsed;
    Bytes out(TBitmapInfoHeader::Size);
    header.ToBytes(out.data());
    for (uint32_t mask : recipe.Masks)
        AppendU32(out, mask);
    for (const TRGBQuad& q : recipe.Palette)
        out.insert(out.end(), { q.rgbBlue, q.rgbGreen, q.rgbRed, q.rgbReserved });
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
            out.insert(out.end(), row.begin(), row.end());
        }
    };
    appendRows(recipe.BitCount, recipe.Pixel);
    if (recipe.WithMask)
        appendRows(1, [&](int x, int y) { return recipe.MaskBit(x, y) ? 1u : 0u; });
    return out;
}

Bytes WrapAsIcon(const Bytes& image, uint8_t width, uint8_t height, uint16_t bits)
{
    TTestImage entry { image, width, height, bits };
    return MakeIconFile({ entry });
}

Bytes MakeBmpImage(int w, int h, int bpp, uint8_t seed)
{
    TImageRecipe recipe { w, h, bpp };
    for (int i = 0; bpp <= 8 && i < (1 << bpp); ++i)
        recipe.Palette.push_back(TRGBQuad { static_cast<uint8_t>(i * 37 + seed),
            static_cast<uint8_t>(i * 11), static_cast<uint8_t>(255 - i), 0 });
    recipe.Pixel = [seed](int x, int y) {
        return static_cast<uint32_t>(x * 7 + y * 13 + seed) * 0x01030507u;
    };
    recipe.MaskBit = [](int x, int) { return x == 0; };
    return BuildImage(recipe);
}

Bytes MakePngImage(int w, int h, uint8_t seed)
{
    TBitmap pixels(w, h, TPixelFormat::pf32bit);
    for (size_t i = 0; i < pixels.Pixels().size(); ++i)
        pixels.Pixels()[i] = static_cast<uint8_t>(i * 5 + seed);
    return EncodePng(pixels);
}

TTestImage BmpImage(int w, int h, int bpp, uint8_t seed)
{
    TTestImage image;
    image.Data = MakeBmpImage(w, h, bpp, seed);
    image.Width = static_cast<uint8_t>(w);
    image.Height = static_cast<uint8_t>(h);
    image.BitCount = static_cast<uint16_t>(bpp);
    image.ColorCount = bpp < 8 ? static_cast<uint8_t>(1u << bpp) : uint8_t { 0 };
    return image;
}

TTestImage PngImage(int w, int h, uint8_t seed)
{
    TTestImage image;
    image.Data = MakePngImage(w, h, seed);
    image.Width = static_cast<uint8_t>(w);
    image.Height = static_cast<uint8_t>(h);
    image.BitCount = 32;
    return image;
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
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        if (out)
            out->append(buffer, got);
    }
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveProgram(const std::string& name)
{
    return RunCommand("command -v " + name + " >/dev/null 2>&1") == 0;
}

} // namespace velmora::test
