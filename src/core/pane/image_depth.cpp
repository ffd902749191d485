#include "pane/image_depth.h"

#include "icons/icon_directory.h"
#include "messages/messages.h"
#include "support/error.h"

namespace velmora
{

namespace
{

// Bits per pixel of a PNG stream from its IHDR chunk: bit depth times channels.
int PngBitCount(ByteSpan png)
{
    // Signature (8), chunk length (4), "IHDR" (4), width (4), height (4), then bit depth and
    // colour type.
    constexpr size_t bitDepthAt = 24;
    if (png.size() < bitDepthAt + 2)
        return 0;
    const int depth = png[bitDepthAt];
    switch (png[bitDepthAt + 1]) {
    case 0: // grey
    case 3: // palette
        return depth;
    case 2: // RGB
        return 3 * depth;
    case 4: // grey and alpha
        return 2 * depth;
    case 6: // RGBA
        return 4 * depth;
    default:
        return 0;
    }
}

// A count with a comma between each group of three digits, whatever the locale: 60,312.
std::string GroupedDecimal(uint64_t value)
{
    const std::string digits = std::to_string(value);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

} // namespace

int ImageDataBitCount(const TIconDirectoryImage& image)
{
    if (image.IsPng())
        return PngBitCount(ByteSpan(image.Icon->Data()).subspan(22));
    return image.Header.biBitCount;
}

std::string DepthHeaderText(const TIconDirectory& document, int storedBitCount)
{
    if (storedBitCount == 0) {
        int depth = -1;
        for (int i = 0; i < document.Count(); ++i) {
            if (document.GetEntry(i).BitCount != 0)
                continue;
            const int own = ImageDataBitCount(document.GetImage(i));
            depth = depth < 0 || depth == own ? own : 0;
        }
        if (depth > 0)
            return FormatText(Messages::DepthHeaderFromImage, { std::to_string(depth) });
    }
    return FormatText(Messages::DepthHeader, { std::to_string(storedBitCount) });
}

std::string ImageStatusText(const TIconDirectory& document, int index)
{
    const TIconDirectoryEntry& entry = document.GetEntry(index);
    const int own = entry.BitCount == 0 ? ImageDataBitCount(document.GetImage(index)) : 0;
    std::string text = FormatText(own > 0 ? Messages::StatusImageFromImage : Messages::StatusImage,
        { std::to_string(index), std::to_string(own > 0 ? own : entry.BitCount),
            std::to_string(entry.ImageWidth()), std::to_string(entry.ImageHeight()) });
    // How the image is stored and what it adds to the file.
    text += FormatText(Messages::StatusStorage,
        { document.GetImage(index).IsPng() ? "PNG" : "BMP", GroupedDecimal(entry.BytesInRes) });
    if (document.IsCursor())
        text += FormatText(Messages::StatusHotspot,
            { std::to_string(entry.HotspotX), std::to_string(entry.HotspotY) });
    return text;
}

} // namespace velmora
