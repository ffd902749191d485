#include "colors/color_reduction.h"

#include "colors/color_lookup.h"
#include "colors/color_quantizer.h"
#include "colors/dib_access.h"

#include <memory>

namespace velmora
{

void ReduceBitmapColors(TBitmap& bitmap, TColorReductionMethod method)
{
    TDIBReader reader(bitmap);

    TColorPalette palette;
    std::unique_ptr<TColorLookup> lookup;
    switch (method) {
    case crmGrayScale:
        palette = GrayScalePalette();
        lookup = std::make_unique<TGrayScaleLookup>();
        break;
    case crmWebSafe:
        palette = WebSafePalette();
        lookup = std::make_unique<TNetscapeColorLookup>();
        break;
    case crmOptimized:
        palette = BuildOptimizedPalette(reader, 256, 8);
        lookup = std::make_unique<TFastColorLookup>(palette);
        break;
    }
    if (!lookup || lookup->Colors == 0)
        return;

    const int width = reader.Width();
    const int height = reader.Height();
    TDitherEngine engine(width, *lookup);
    // The writer replaces the bitmap's picture when it goes out of scope, after the last use
    // of the reader's rows.
    TDIBWriter writer(bitmap, palette, height, width, TPixelFormat::pf8bit);
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    for (int row = 0; row < height; ++row) {
        const uint8_t* source = reader.ScanRow(row);
        uint8_t* destination = writer.ScanRow(row);
        for (int column = engine.Column(); column >= 0 && column < width;
             column = engine.Column()) {
            const uint8_t* pixel = source + static_cast<size_t>(column) * 3;
            destination[column] = engine.MapPixel(pixel[2], pixel[1], pixel[0], red, green, blue);
        }
        engine.NextRow();
    }
}

} // namespace velmora
