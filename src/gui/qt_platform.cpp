#include "qt_platform.h"

#include "qt_bitmap.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPalette>

namespace velmora
{

bool TQtClipboard::HasBitmap() const
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

std::optional<TBitmap> TQtClipboard::GetBitmap() const
{
    const QImage image = QApplication::clipboard()->image();
    if (image.isNull())
        return std::nullopt;
    return FromQImage(image);
}

void TQtClipboard::SetBitmap(const TBitmap& bitmap)
{
    QApplication::clipboard()->setImage(ToQImage(bitmap));
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
