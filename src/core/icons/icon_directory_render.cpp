// Icon images back into bitmaps: the clipboard copy and the bitmap export.

#include "colors/bitmap_analysis.h"
#include "colors/color_reduction.h"
#include "colors/pixel_format_codes.h"
#include "graphics/bitmap_convert.h"
#include "graphics/bitmap_ops.h"
#include "graphics/bmp_codec.h"
#include "graphics/icon_decoder.h"
#include "graphics/icon_draw.h"
#include "graphics/icon_picture.h"
#include "icons/icon_directory.h"
#include "messages/messages.h"
#include "platform/clipboard.h"
#include "platform/system_colors.h"
#include "support/error.h"

namespace velmora
{

namespace
{

bool IsKnownBitCount(int bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24
        || bitCount == 32;
}

} // namespace

TBitmap TIconDirectory::RenderImageToBitmap(int index, TColor backColor) const
{
    const TIconDirectoryEntry& entry = GetEntry(index);
    const TIconDirectoryImage& image = GetImage(index);
    const TIconImage decoded = DecodeIcon(*image.Icon);

    TBitmap bitmap(entry.ImageWidth(), entry.ImageHeight(), TPixelFormat::pf32bit);
    // An entry with a bit count that no bitmap has renders at the image's own depth.
    const int bitCount = IsKnownBitCount(entry.BitCount) ? entry.BitCount : decoded.BitCount;
    const TPixelFormat target = PixelFormatForBitCount(static_cast<uint16_t>(bitCount));

    FillBitmap(bitmap, backColor == ColorNone ? 0 : ColorToRGB(backColor));
    DrawIcon(bitmap, 0, 0, bitmap.Width(), bitmap.Height(), decoded);

    if (target == TPixelFormat::pf8bit) {
        TBitmapColorInfo info;
        AnalyzeBitmap(&bitmap, true, true, info);
        TColorReductionMethod method = TColorReductionMethod::crmOptimized;
        if (!info.HasNonGrayColor)
            method = TColorReductionMethod::crmGrayScale;
        else if (!info.HasNonWebSafeColor)
            method = TColorReductionMethod::crmWebSafe;
        ReduceBitmapColors(bitmap, method);
    } else if (target != TPixelFormat::pf32bit && target != TPixelFormat::pfCustom) {
        ConvertPixelFormat(bitmap, target);
    }
    return bitmap;
}

int TIconDirectory::CopyImageToClipboard(int index, TColor backColor)
{
    TBitmap bitmap = RenderImageToBitmap(index, backColor);
    if (!m_clipboard)
        throw Exception(std::string(Messages::NoClipboard));
    // Beside the bitmap, the picture with its transparency, for programs that take it.
    m_clipboard->SetBitmapWithPicture(bitmap, IconPicture(*GetImage(index).Icon));
    return ResultOk;
}

int TIconDirectory::ExportImageToBitmapFile(
    const std::string& fileName, int index, TColor backColor)
{
    const TBitmap bitmap = RenderImageToBitmap(index, backColor);
    SaveBitmapToFile(bitmap, fileName);
    return ResultOk;
}

} // namespace velmora
