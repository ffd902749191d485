#include "colors/dib_access.h"

#include "graphics/bitmap_convert.h"
#include "messages/messages.h"
#include "support/error.h"

#include <algorithm>
#include <new>
#include <string>

namespace velmora
{

TDIBReader::TDIBReader(TBitmap& bitmap)
    : TDIB(bitmap, TPixelFormat::pf24bit)
{
    ConvertPixelFormat(m_bitmap, TPixelFormat::pf24bit);
}

uint8_t* TDIBReader::ScanRow(int row)
{
    return m_bitmap.ScanLine(row);
}

TDIBWriter::TDIBWriter(
    TBitmap& target, const TColorPalette& palette, int height, int width, TPixelFormat format)
    : TDIB(target, format)
    , m_palette(palette.begin(), palette.begin() + std::min<ptrdiff_t>(std::ssize(palette), 256))
    , m_height(height)
    , m_width(width)
{
    if (format != TPixelFormat::pf8bit && format != TPixelFormat::pf24bit)
        throw EInvalidGraphic(
            FormatText(Messages::BitmapFormatRefused, { std::to_string(BitsPerPixelOf(format)) }));
    if (width <= 0 || height <= 0)
        throw GIFException(std::string(Messages::InvalidImageDimensions));
}

TDIBWriter::~TDIBWriter()
{
    if (m_picture)
        m_bitmap = std::move(*m_picture);
}

uint8_t* TDIBWriter::ScanRow(int row)
{
    if (!m_picture) {
        try {
            m_picture.emplace(m_width, m_height, m_pixelFormat);
        } catch (const std::bad_alloc&) {
            throw EOutOfMemory(std::string(Messages::GifDibOutOfMemory));
        }
        if (m_pixelFormat == TPixelFormat::pf8bit) {
            std::copy(m_palette.begin(), m_palette.end(), m_picture->Palette().begin());
            m_picture->SetImportantColors(static_cast<int>(m_palette.size()));
        }
    }
    return m_picture->ScanLine(row);
}

} // namespace velmora
