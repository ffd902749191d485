#include "qt_platform.h"

#include "graphics/picture_file.h"
#include "graphics/png_codec.h"
#include "qt_bitmap.h"
#include "support/error.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPalette>
#include <cstring>
#include <memory>

namespace velmora
{

bool TQtClipboard::HasBitmap() const
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && (data->hasImage() || data->hasFormat(QStringLiteral("image/png")));
}

std::optional<TBitmap> TQtClipboard::GetBitmap() const
{
    QImage image = QApplication::clipboard()->image();
    if (image.isNull()) {
        // Only a PNG on offer (some programs offer nothing else).
        const QMimeData* data = QApplication::clipboard()->mimeData();
        if (data)
            image.loadFromData(data->data(QStringLiteral("image/png")), "PNG");
    }
    if (image.isNull())
        return std::nullopt;
    return FromQImage(image);
}

void TQtClipboard::SetBitmap(const TBitmap& bitmap)
{
    QApplication::clipboard()->setImage(ToQImage(bitmap));
}

void TQtClipboard::SetBitmapWithPicture(const TBitmap& bitmap, const TBitmap& picture)
{
    auto data = std::make_unique<QMimeData>();
    data->setImageData(ToQImage(bitmap));
    // Named data goes before the image's own conversions, so "image/png" keeps the alpha.
    const Bytes png = EncodePng(picture);
    data->setData(QStringLiteral("image/png"),
        QByteArray(reinterpret_cast<const char*>(png.data()), static_cast<qsizetype>(png.size())));
    QApplication::clipboard()->setMimeData(data.release());
}

std::optional<TBitmap> TQtClipboard::GetPicture() const
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data)
        return std::nullopt;
    std::optional<TBitmap> picture;
    if (data->hasFormat(QStringLiteral("image/png"))) {
        const QByteArray bytes = data->data(QStringLiteral("image/png"));
        try {
            picture = DecodePng(ByteSpan(reinterpret_cast<const uint8_t*>(bytes.constData()),
                static_cast<size_t>(bytes.size())));
        } catch (const Exception&) {
            // Not a readable PNG after all: the image data below may still serve.
        }
    }
    if (!picture && data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (image.isNull() || !image.hasAlphaChannel())
            return std::nullopt;
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        TBitmap bitmap(argb.width(), argb.height(), TPixelFormat::pf32bit);
        for (int y = 0; y < argb.height(); ++y)
            std::memcpy(
                bitmap.ScanLine(y), argb.constScanLine(y), static_cast<size_t>(argb.width()) * 4);
        picture = std::move(bitmap);
    }
    if (!picture || !HasTransparency(*picture))
        return std::nullopt;
    return picture;
}

TColor TQtSystemColors::Resolve(TColor systemColor) const
{
    const QPalette palette = QApplication::palette();
    QColor color;
    switch (systemColor) {
    case ColorInfoBk:
        color = palette.color(QPalette::ToolTipBase);
        break;
    case 0xFF00000F:
        color = palette.color(QPalette::Button);
        break;
    case 0xFF000008:
        color = palette.color(QPalette::WindowText);
        break;
    case 0xFF000005:
        color = palette.color(QPalette::Window);
        break;
    default:
        return TDefaultSystemColors().Resolve(systemColor);
    }
    return RGB(static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
        static_cast<uint8_t>(color.blue()));
}

} // namespace velmora
