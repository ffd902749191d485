// The rules of one image: decoding, directory entry against the image, encoding and pixels.

#include "check/check_rules.h"
#include "check/image_facts.h"
#include "graphics/icon_decoder.h"
#include "messages/messages.h"
#include "support/error.h"

#include <algorithm>

namespace velmora
{

namespace
{

using L = TFindingLevel;
namespace M = Messages;

std::string Num(int64_t value)
{
    return std::to_string(value);
}

std::string_view PngKindText(int colorType)
{
    switch (colorType) {
    case 0:
        return "grey";
    case 2:
        return "RGB";
    case 3:
        return "palette";
    case 4:
        return "grey with alpha";
    case 6:
        return "RGBA";
    default:
        return "of an unknown kind";
    }
}

// Where the colour rows of a bitmap image start: after the header, its colour masks and its
// colour table, as the decoder lays them out.
uint64_t PixelStart(const TBitmapInfoHeader& h)
{
    const uint64_t masks = h.biCompression == BI_BITFIELDS ? 12
        : h.biCompression == BI_ALPHABITFIELDS             ? 16
                                                           : 0;
    uint64_t colours = std::min<uint64_t>(h.biClrUsed, 256);
    if (h.biClrUsed == 0 && h.biBitCount <= 8)
        colours = uint64_t { 1 } << h.biBitCount;
    return std::max<uint64_t>(h.biSize, TBitmapInfoHeader::Size + masks) + colours * 4;
}

uint64_t RowBytes(int width, int bitCount)
{
    return (static_cast<uint64_t>(width) * static_cast<uint64_t>(bitCount) + 31) / 32 * 4;
}

// The directory entry against what the image's own header says.
void CheckDirectory(int index, const TIconDirectoryEntry& entry, bool cursor,
    const TImageFacts& facts, TFindingList& findings)
{
    const TIconDirectoryEntry expected = EntryForImage(facts, entry);
    const auto repair = TRepair::DirectoryFields;
    if (entry.Width != expected.Width || entry.Height != expected.Height) {
        const std::string image = SizeText(facts.Width, facts.Height);
        const std::string stored = SizeText(entry.Width, entry.Height);
        const bool side256 = (facts.Width == 256 && entry.Width != 0)
            || (facts.Height == 256 && entry.Height != 0);
        if (side256)
            findings.Add(L::Warning, index, "size-256", repair, M::CheckSize256, { stored, image });
        else
            findings.Add(L::Warning, index, "size", repair, M::CheckSize,
                { SizeText(entry.ImageWidth(), entry.ImageHeight()), image });
    }
    if (cursor) {
        // A cursor's entry holds the hotspot where an icon's holds planes and bit count.
        if (entry.Planes >= facts.Width || entry.BitCount >= facts.Height)
            findings.Add(L::Warning, index, "hotspot", TRepair::None, M::CheckHotspot,
                { Num(entry.Planes), Num(entry.BitCount), SizeText(facts.Width, facts.Height) });
    } else {
        if (entry.BitCount != expected.BitCount)
            findings.Add(L::Warning, index, "bit-count", repair, M::CheckBitCount,
                { Num(entry.BitCount), Num(facts.BitCount) });
        if (entry.Planes != expected.Planes)
            findings.Add(L::Warning, index, "planes", repair, M::CheckPlanes,
                { Num(entry.Planes), Num(expected.Planes) });
    }
    if (entry.ColorCount != expected.ColorCount)
        findings.Add(L::Warning, index, "color-count", repair, M::CheckColorCount,
            { Num(entry.ColorCount), Num(expected.ColorCount) });
    if (facts.BytesNeeded == 0)
        return;
    if (entry.BytesInRes > facts.BytesNeeded)
        findings.Add(L::Warning, index, "byte-count", repair, M::CheckByteCount,
            { Num(entry.BytesInRes), Num(static_cast<int64_t>(facts.BytesNeeded)) });
    else if (entry.BytesInRes < facts.BytesNeeded && !facts.Png)
        findings.Add(L::Warning, index, "mask-short", TRepair::MaskFromAlpha, M::CheckMaskShort,
            { Num(static_cast<int64_t>(facts.BytesNeeded - entry.BytesInRes)) });
}

void CheckEncoding(int index, const TImageFacts& facts, TFindingList& findings)
{
    if (facts.Png) {
        if (facts.PngColorType != 6 || facts.PngDepth != 8)
            findings.Add(L::Warning, index, "png-kind", TRepair::PngToRgba, M::CheckPngKind,
                { PngKindText(facts.PngColorType), Num(facts.PngDepth), Num(facts.PngColorType) });
        if (facts.Width < 256 && facts.Height < 256)
            findings.Add(L::Note, index, "png-small", TRepair::None, M::CheckPngSmall,
                { SizeText(facts.Width, facts.Height) });
    } else if (facts.Width == 256 || facts.Height == 256) {
        findings.Add(
            L::Note, index, "large-bitmap", TRepair::LargeBitmapToPng, M::CheckLargeBitmap);
    }
}

// The pixels of a bitmap image: alpha against the AND mask, palette indices against the
// palette. The image decoded without fault, so its colour rows lie inside data.
void CheckPixels(int index, const TImageFacts& facts, const TIconImage& image, ByteSpan data,
    TFindingList& findings)
{
    const TBitmapInfoHeader& h = facts.Header;
    const uint64_t start = PixelStart(h);
    const uint64_t stride = RowBytes(facts.Width, facts.BitCount);
    const auto width = static_cast<size_t>(facts.Width);
    const auto height = static_cast<size_t>(facts.Height);
    if (facts.BitCount == 32) {
        bool rawAlpha = h.biCompression != BI_RGB; // bit fields: the decoder's alpha stands
        bool anyVisible = false;
        for (size_t y = 0; y < height && !rawAlpha; ++y) {
            const uint8_t* row = data.data() + start + stride * y;
            for (size_t x = 0; x < width; ++x)
                rawAlpha = rawAlpha || row[4 * x + 3] != 0;
        }
        uint64_t maskClear = 0; // transparent by the mask, visible by the alpha
        uint64_t maskOpaque = 0; // opaque by the mask, invisible by the alpha
        for (size_t y = 0; y < height; ++y) {
            const uint8_t* row = image.Pixels.ScanLine(static_cast<int>(y));
            for (size_t x = 0; x < width; ++x) {
                const bool masked = image.Mask[y * width + x] != 0;
                anyVisible = anyVisible || !masked;
                maskClear += masked && row[4 * x + 3] != 0;
                maskOpaque += !masked && row[4 * x + 3] == 0;
            }
        }
        // An image that no reader shows (all transparent by mask and alpha) is left alone.
        if (!rawAlpha && anyVisible)
            findings.Add(
                L::Warning, index, "alpha-zero", TRepair::AlphaFromMask, M::CheckAlphaZero);
        else if (rawAlpha && maskClear + maskOpaque > 0 && data.size() >= facts.BytesNeeded)
            findings.Add(L::Warning, index, "mask-alpha", TRepair::MaskFromAlpha,
                M::CheckMaskAgainstAlpha,
                { Num(static_cast<int64_t>(maskClear)), Num(static_cast<int64_t>(maskOpaque)) });
    }
    if (facts.BitCount <= 8 && facts.PaletteEntries < (1u << facts.BitCount)) {
        const int bits = facts.BitCount;
        uint64_t outside = 0;
        for (size_t y = 0; y < height; ++y) {
            const uint8_t* row = data.data() + start + stride * y;
            for (size_t x = 0; x < width; ++x) {
                const size_t bit = x * static_cast<size_t>(bits);
                const unsigned value
                    = (row[bit / 8] >> (8 - bits - static_cast<int>(bit % 8))) & ((1u << bits) - 1);
                outside += value >= facts.PaletteEntries;
            }
        }
        if (outside > 0)
            findings.Add(L::Warning, index, "palette-index", TRepair::None, M::CheckPaletteIndex,
                { Num(static_cast<int64_t>(outside)), Num(facts.PaletteEntries) });
    }
}

} // namespace

void CheckImage(int index, const TIconDirectoryEntry& entry, bool cursor, ByteSpan data,
    uint64_t& pixelBudget, TFindingList& findings)
{
    const std::optional<TImageFacts> facts = ReadImageFacts(data);
    // Sizes beyond the bitmap limits are refused by the decoder before it allocates.
    if (facts && facts->Width > 0 && facts->Height > 0 && facts->Width <= TBitmap::MaxDimension
        && facts->Height <= TBitmap::MaxDimension) {
        const uint64_t pixels = uint64_t(facts->Width) * uint64_t(facts->Height);
        if (pixels > pixelBudget) {
            findings.Add(L::Warning, index, "not-examined", TRepair::None, M::CheckNotExamined);
            return;
        }
        pixelBudget -= pixels;
    }
    TIconImage image;
    try {
        image = DecodeIconImage(data);
    } catch (const Exception& error) {
        findings.Add(L::Error, index, "refused", TRepair::None, M::CheckRefused, { error.what() });
        return;
    }
    if (!facts)
        return; // the decoder reads every image whose header can be read
    CheckDirectory(index, entry, cursor, *facts, findings);
    CheckEncoding(index, *facts, findings);
    if (!facts->Png)
        CheckPixels(index, *facts, image, data, findings);
}

} // namespace velmora
