// The preview beside a pane's grid: the selected image drawn at its real size over a
// checkerboard, and at twice its size for the small images whose pixels are hard to see.

#include "image_preview.h"

#include "graphics/icon_picture.h"
#include "pane/icon_pane.h"
#include "qt_bitmap.h"
#include "support/error.h"

#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
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

void DrawOverCheckerboard(QPainter& painter, const QRect& area, const QImage& image)
{
    const QColor light(0xff, 0xff, 0xff);
    const QColor dark(0xcc, 0xcc, 0xcc);
    painter.save();
    painter.setClipRect(area);
    for (int y = 0; y < area.height(); y += CheckSide) {
        for (int x = 0; x < area.width(); x += CheckSide) {
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
    void paintEvent(QPaintEvent*) override
    {
        const auto [real, doubled] = Areas();
        if (real.isEmpty())
            return;
        QPainter painter(this);
        DrawOverCheckerboard(painter, real, m_preview.m_image);
        if (!doubled.isEmpty())
            DrawOverCheckerboard(painter, doubled, m_preview.m_image);
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
        if (index >= 0 && index < document.Count()) {
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
