// The preview beside a pane's grid: the selected image drawn at its real size over a
// checkerboard, and at twice its size for the small images whose pixels are hard to see.

#include "image_preview.h"

#include "graphics/icon_picture.h"
#include "graphics/picture_file.h"
#include "pane/icon_pane.h"
#include "qt_bitmap.h"
#include "support/error.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace velmora
{

namespace
{

// Images up to this side are also shown at twice their size.
constexpr int DoubledUpTo = 48;
constexpr int Gap = 6;
constexpr int CheckSide = 4;
// Wide enough for a 128-pixel image, or a 48-pixel one doubled, without a scroll bar.
constexpr int CanvasWidth = 128 + 2 * Gap;
// An icon file may hold an image far beyond any icon size; the preview does not decode one
// of more than this side (the grid still shows it).
constexpr int64_t LargestPreviewed = 1024;

// The image's own size from its data, before anything is decoded.
std::pair<int64_t, int64_t> OwnSize(const TIconDirectoryImage& image)
{
    if (!image.IsPng())
        return { std::abs(int64_t { image.Header.biWidth }),
            std::abs(int64_t { image.Header.biHeight }) / 2 };
    // The image's data follows the one-image icon file's header (6) and entry (16).
    const ByteSpan data(image.Icon->Data());
    const auto size = data.size() > 22 ? PngHeaderSize(data.subspan(22)) : std::nullopt;
    return size ? std::pair<int64_t, int64_t>(size->first, size->second)
                : std::pair<int64_t, int64_t>(0, 0);
}

// Draws the image over a checkerboard in area; only the part inside exposed is painted.
void DrawOverCheckerboard(
    QPainter& painter, const QRect& area, const QRect& exposed, const QImage& image)
{
    const QRect shown = area.intersected(exposed);
    if (shown.isEmpty())
        return;
    const QColor light(0xff, 0xff, 0xff);
    const QColor dark(0xcc, 0xcc, 0xcc);
    painter.save();
    painter.setClipRect(shown);
    // The squares stay anchored at the area's corner whatever part is exposed.
    const int left = (shown.left() - area.left()) / CheckSide * CheckSide;
    const int top = (shown.top() - area.top()) / CheckSide * CheckSide;
    for (int y = top; y <= shown.bottom() - area.top(); y += CheckSide) {
        for (int x = left; x <= shown.right() - area.left(); x += CheckSide) {
            const bool odd = ((x / CheckSide) + (y / CheckSide)) % 2 != 0;
            painter.fillRect(area.x() + x, area.y() + y, CheckSide, CheckSide, odd ? dark : light);
        }
    }
    painter.restore();
    // Nearest neighbour: the doubled image shows each pixel as a square of four.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(area, image);
}

} // namespace

/// The drawing surface inside the scroll area, as large as what it shows.
class TImagePreview::TCanvas : public QWidget
{
public:
    explicit TCanvas(TImagePreview& preview)
        : QWidget(&preview)
        , m_preview(preview)
    {
        setFocusPolicy(Qt::NoFocus);
        setObjectName(QStringLiteral("ImagePreviewCanvas"));
    }

    /// The rectangles of the real-size image and of the doubled one (empty when not doubled).
    std::pair<QRect, QRect> Areas() const
    {
        const QImage& image = m_preview.m_image;
        if (image.isNull())
            return {};
        const QRect real(Gap, Gap, image.width(), image.height());
        if (image.width() > DoubledUpTo || image.height() > DoubledUpTo)
            return { real, QRect() };
        return { real, QRect(Gap, real.bottom() + 1 + Gap, 2 * image.width(), 2 * image.height()) };
    }

    void Resize()
    {
        const auto [real, doubled] = Areas();
        const QRect all = real.united(doubled);
        setFixedSize(std::max(CanvasWidth, all.right() + 1 + Gap), all.bottom() + 1 + Gap);
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const auto [real, doubled] = Areas();
        if (real.isEmpty())
            return;
        QPainter painter(this);
        DrawOverCheckerboard(painter, real, event->rect(), m_preview.m_image);
        if (!doubled.isEmpty())
            DrawOverCheckerboard(painter, doubled, event->rect(), m_preview.m_image);
    }

private:
    TImagePreview& m_preview;
};

TImagePreview::TImagePreview(const TIconPane& pane, QWidget* parent)
    : QScrollArea(parent)
    , m_pane(pane)
{
    setObjectName(QStringLiteral("ImagePreview"));
    // The arrow keys belong to the grid: neither the area nor its scroll bars take the focus.
    setFocusPolicy(Qt::NoFocus);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    setFixedWidth(CanvasWidth + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this)
        + 2 * frameWidth());
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_canvas = new TCanvas(*this);
    setWidget(m_canvas);
    m_canvas->Resize();
}

void TImagePreview::Refresh()
{
    QImage image;
    const TStringList& selected = m_pane.SelectedImages();
    const TIconDirectory& document = m_pane.IconDirectory();
    if (selected.Count() == 1) {
        const int index = std::atoi(selected[0].c_str());
        const auto [width, height] = index >= 0 && index < document.Count()
            ? OwnSize(document.GetImage(index))
            : std::pair<int64_t, int64_t>(0, 0);
        if (width > 0 && height > 0 && width <= LargestPreviewed && height <= LargestPreviewed) {
            // An image that cannot be drawn shows nothing; the grid says why.
            try {
                image = ToQImage(IconPicture(*document.GetImage(index).Icon));
            } catch (const Exception&) {
                image = QImage();
            }
        }
    }
    m_image = image;
    m_canvas->Resize();
}

} // namespace velmora
