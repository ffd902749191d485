#include "colors/bitmap_analysis.h"

#include "colors/color_tables.h"
#include "graphics/bitmap_convert.h"
#include "messages/messages.h"
#include "support/error.h"

#include <optional>
#include <vector>

namespace velmora
{

namespace
{

/// One bit per 24-bit colour: 2 MiB where a byte per colour would take 16 MiB.
class TColorPresence
{
public:
    TColorPresence()
        : m_words(size_t { 1 } << 18, 0)
    {
    }

    /// Marks a colour; true when it was not marked before.
    bool Add(uint32_t rgb)
    {
        uint64_t& word = m_words[rgb >> 6];
        uint64_t bit = uint64_t { 1 } << (rgb & 63);
        if ((word & bit) != 0)
            return false;
        word |= bit;
        return true;
    }

private:
    std::vector<uint64_t> m_words;
};

void Analyze(const TBitmap& source, bool checkPalettes, bool countColors, TBitmapColorInfo& info)
{
    // 24- and 32-bit pictures are read as they are; the others are drawn onto a 32-bit copy.
    std::optional<TBitmap> converted;
    const TBitmap* picture = &source;
    if (source.PixelFormat() != TPixelFormat::pf24bit
        && source.PixelFormat() != TPixelFormat::pf32bit) {
        converted.emplace(source);
        ConvertPixelFormat(*converted, TPixelFormat::pf32bit);
        picture = &*converted;
    }
    const size_t bytesPerPixel = picture->PixelFormat() == TPixelFormat::pf24bit ? 3 : 4;

    std::optional<TColorPresence> presence;
    if (countColors)
        presence.emplace();
    bool checking = checkPalettes;

    for (int y = 0; y < picture->Height(); ++y) {
        if (!checking && !countColors)
            break;
        const uint8_t* row = picture->ScanLine(y);
        for (int x = 0; x < picture->Width(); ++x) {
            const uint8_t* pixel = row + static_cast<size_t>(x) * bytesPerPixel;
            const TColor color = RGB(pixel[2], pixel[1], pixel[0]);
            if (countColors && presence->Add(color))
                ++info.ColorCount;
            if (!checking)
                continue;
            if (!info.HasNonStandardColor && FindStandardColor(color) < 0)
                info.HasNonStandardColor = true;
            // Same answer as FindWebSafeColor, without its search of 216 entries per pixel.
            if (!info.HasNonWebSafeColor
                && (pixel[0] % 51 != 0 || pixel[1] % 51 != 0 || pixel[2] % 51 != 0))
                info.HasNonWebSafeColor = true;
            if (!info.HasNonGrayColor && (pixel[0] != pixel[1] || pixel[1] != pixel[2]))
                info.HasNonGrayColor = true;
            checking
                = !(info.HasNonStandardColor && info.HasNonWebSafeColor && info.HasNonGrayColor);
        }
    }
}

} // namespace

void AnalyzeBitmap(
    const TBitmap* picture, bool checkPalettes, bool countColors, TBitmapColorInfo& info)
{
    info = TBitmapColorInfo {};
    if ((!checkPalettes && !countColors) || picture == nullptr)
        return;
    NestErrors(Messages::AnalyzeBitmapFailed,
        [&] { Analyze(*picture, checkPalettes, countColors, info); });
}

} // namespace velmora
