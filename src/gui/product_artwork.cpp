#include "product_artwork.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace velmora
{

namespace
{

const QColor Outline(64, 72, 88);
const QColor Paper(255, 255, 255);
const QColor Fold(208, 214, 224);
const QColor Ink(0, 51, 102);
const QColor Accent(50, 110, 210);
const QColor Tiles[]
    = { QColor(230, 72, 60), QColor(250, 180, 40), QColor(60, 160, 80), QColor(50, 110, 210) };

// Four tiles in two rows, with a gap between them, filling a square.
void PaintTiles(QPainter& p, const QRectF& square, qreal gap, qreal radius)
{
    const qreal side = (square.width() - gap) / 2;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(Tiles[i]);
        const qreal x = square.left() + (i % 2) * (side + gap);
        const qreal y = square.top() + (i / 2) * (side + gap);
        p.drawRoundedRect(QRectF(x, y, side, side), radius, radius);
    }
}

// The largest pixel size, up to wanted, at which text fits into width.
QFont FittedFont(QFont font, qreal wanted, const QString& text, qreal width)
{
    font.setPixelSize(std::max(1, qRound(wanted)));
    const qreal needed = QFontMetricsF(font).horizontalAdvance(text);
    if (needed > width && needed > 0)
        font.setPixelSize(std::max(1, static_cast<int>(wanted * width / needed)));
    return font;
}

} // namespace

void PaintProgramIcon(QPainter& painter, const QRectF& rect)
{
    // Drawn on a grid of 32 x 32 units: the sheet spans 5..26 across and 1..30 down.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / 32.0, rect.height() / 32.0);

    constexpr qreal left = 5.5, top = 1.5, right = 26.5, bottom = 30.5, fold = 7;
    QPainterPath sheet;
    sheet.moveTo(left, top);
    sheet.lineTo(right - fold, top);
    sheet.lineTo(right, top + fold);
    sheet.lineTo(right, bottom);
    sheet.lineTo(left, bottom);
    sheet.closeSubpath();
    painter.setPen(QPen(Outline, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Paper);
    painter.drawPath(sheet);

    QPainterPath corner;
    corner.moveTo(right - fold, top);
    corner.lineTo(right - fold, top + fold);
    corner.lineTo(right, top + fold);
    corner.closeSubpath();
    painter.setBrush(Fold);
    painter.drawPath(corner);

    PaintTiles(painter, QRectF(9, 13, 13, 13), 1, 0.5);
    painter.restore();
}

void PaintProductLogo(QPainter& painter, const QRectF& rect, const QString& productName)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const qreal side = std::min(rect.height() * 0.75, rect.width() / 4);
    const QRectF square(
        rect.left() + rect.height() * 0.125, rect.center().y() - side / 2, side, side);
    PaintTiles(painter, square, side / 12, side / 12);

    // "velmora icon manager": the name large, what follows it on a second line.
    const qsizetype space = productName.indexOf(QLatin1Char(' '));
    const QString name = space < 0 ? productName : productName.left(space);
    const QString rest = space < 0 ? QString() : productName.mid(space + 1);
    const qreal textLeft = square.right() + side / 4;
    const qreal textWidth = std::max<qreal>(1, rect.right() - textLeft);
    QFont font = painter.font();
    font.setBold(true);
    const QFont nameFont = FittedFont(font, rect.height() * 0.5, name, textWidth);
    font.setBold(false);
    const QFont restFont = FittedFont(font, rect.height() * 0.25, rest, textWidth);

    const QFontMetricsF nameMetrics(nameFont);
    const QFontMetricsF restMetrics(restFont);
    const qreal block = nameMetrics.ascent() + nameMetrics.descent()
        + (rest.isEmpty() ? 0 : restMetrics.ascent() + restMetrics.descent());
    qreal baseline = rect.center().y() - block / 2 + nameMetrics.ascent();
    painter.setPen(Ink);
    painter.setFont(nameFont);
    painter.drawText(QPointF(textLeft, baseline), name);
    if (!rest.isEmpty()) {
        baseline += nameMetrics.descent() + restMetrics.ascent();
        painter.setPen(Accent);
        painter.setFont(restFont);
        painter.drawText(QPointF(textLeft, baseline), rest);
    }
    painter.restore();
}

} // namespace velmora
