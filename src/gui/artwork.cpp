#include "artwork.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace velmora
{

namespace
{

using TDrawing = std::function<void(QPainter&)>;

const QColor Ink(52, 60, 76);
const QColor Paper(252, 252, 250);
const QColor Blue(50, 110, 210);
const QColor Red(214, 64, 52);
const QColor Green(48, 150, 80);
const QColor Amber(240, 176, 40);

// Paints a drawing made on a 24 x 24 grid into any rectangle; disabled pictures are faded.
class TVectorIconEngine : public QIconEngine
{
public:
    explicit TVectorIconEngine(TDrawing drawing)
        : m_drawing(std::move(drawing))
    {
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 24.0, rect.height() / 24.0);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.35);
        m_drawing(*painter);
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(
        const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        QPixmap pixmap(size * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }
    QIconEngine* clone() const override { return new TVectorIconEngine(m_drawing); }

private:
    TDrawing m_drawing;
};

QIcon Make(TDrawing drawing)
{
    return QIcon(new TVectorIconEngine(std::move(drawing)));
}

QPen Pen(const QColor& color, qreal width = 1.5)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Sheet(QPainter& p, const QRectF& r)
{
    const qreal fold = 4;
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(Pen(Ink, 1.2));
    p.setBrush(Paper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void Picture(QPainter& p, const QRectF& r)
{
    p.setPen(Pen(Ink, 1.2));
    p.setBrush(QColor(200, 225, 250));
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Green);
    QPainterPath hill;
    hill.moveTo(r.left() + 1, r.bottom() - 1);
    hill.lineTo(r.left() + r.width() * 0.4, r.top() + r.height() * 0.45);
    hill.lineTo(r.left() + r.width() * 0.65, r.bottom() - r.height() * 0.3);
    hill.lineTo(r.right() - 1, r.top() + r.height() * 0.55);
    hill.lineTo(r.right() - 1, r.bottom() - 1);
    hill.closeSubpath();
    p.drawPath(hill);
    p.setBrush(Amber);
    p.drawEllipse(QPointF(r.right() - r.width() * 0.25, r.top() + r.height() * 0.28), 1.8, 1.8);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color)
{
    p.setPen(Pen(color, 2.2));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPainterPath head;
    head.moveTo(to + d * 1.5);
    head.lineTo(to - d * 3.5 + n * 3.5);
    head.lineTo(to - d * 3.5 - n * 3.5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(head);
}

void Folder(QPainter& p)
{
    p.setPen(Pen(Ink, 1.2));
    p.setBrush(QColor(238, 196, 92));
    QPainterPath back;
    back.moveTo(2.5, 6);
    back.lineTo(9, 6);
    back.lineTo(11, 8);
    back.lineTo(20, 8);
    back.lineTo(20, 19.5);
    back.lineTo(2.5, 19.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(Amber);
    QPainterPath front;
    front.moveTo(5, 11);
    front.lineTo(22.5, 11);
    front.lineTo(20, 19.5);
    front.lineTo(2.5, 19.5);
    front.closeSubpath();
    p.drawPath(front);
}

void Tiles(QPainter& p, qreal x, qreal y, qreal size)
{
    const qreal s = size / 2 - 0.5;
    p.setPen(Qt::NoPen);
    p.setBrush(Red);
    p.drawRect(QRectF(x, y, s, s));
    p.setBrush(Amber);
    p.drawRect(QRectF(x + s + 1, y, s, s));
    p.setBrush(Green);
    p.drawRect(QRectF(x, y + s + 1, s, s));
    p.setBrush(Blue);
    p.drawRect(QRectF(x + s + 1, y + s + 1, s, s));
}

QIcon Cut()
{
    return Make([](QPainter& p) {
        p.setPen(Pen(Ink, 1.6));
        p.drawLine(QPointF(8, 3), QPointF(15.5, 15));
        p.drawLine(QPointF(16, 3), QPointF(8.5, 15));
        p.setPen(Pen(Red, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(7, 18), 3, 3);
        p.drawEllipse(QPointF(17, 18), 3, 3);
    });
}

QIcon Copy()
{
    return Make([](QPainter& p) {
        Sheet(p, QRectF(3, 2.5, 12, 15));
        Sheet(p, QRectF(9, 6.5, 12, 15));
        Tiles(p, 12, 12, 6);
    });
}

QIcon Paste()
{
    return Make([](QPainter& p) {
        p.setPen(Pen(Ink, 1.2));
        p.setBrush(QColor(196, 150, 96));
        p.drawRoundedRect(QRectF(3.5, 4, 14, 17), 1.5, 1.5);
        p.setBrush(QColor(180, 184, 192));
        p.drawRoundedRect(QRectF(7, 2.5, 7, 3.5), 1, 1);
        Sheet(p, QRectF(10, 9, 11, 13));
        Tiles(p, 12.5, 13, 6);
    });
}

QIcon Delete()
{
    return Make([](QPainter& p) {
        p.setPen(Pen(Red, 3.2));
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
    });
}

QIcon Open()
{
    return Make([](QPainter& p) { Folder(p); });
}

QIcon Save()
{
    return Make([](QPainter& p) {
        p.setPen(Pen(Ink, 1.2));
        p.setBrush(Blue);
        QPainterPath disk;
        disk.moveTo(3.5, 3.5);
        disk.lineTo(17.5, 3.5);
        disk.lineTo(20.5, 6.5);
        disk.lineTo(20.5, 20.5);
        disk.lineTo(3.5, 20.5);
        disk.closeSubpath();
        p.drawPath(disk);
        p.setBrush(Paper);
        p.drawRect(QRectF(7, 3.5, 9, 6));
        p.drawRect(QRectF(6.5, 13, 11, 7.5));
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        p.drawRect(QRectF(12.5, 4.5, 2, 4));
    });
}

QIcon Close()
{
    return Make([](QPainter& p) {
        Sheet(p, QRectF(4, 2.5, 13, 17));
        p.setPen(Qt::NoPen);
        p.setBrush(Red);
        p.drawEllipse(QPointF(17, 17), 5, 5);
        p.setPen(Pen(Paper, 1.8));
        p.drawLine(QPointF(15, 15), QPointF(19, 19));
        p.drawLine(QPointF(19, 15), QPointF(15, 19));
    });
}

QIcon BackColor()
{
    return Make([](QPainter& p) {
        p.setPen(Pen(Ink, 1.2));
        p.setBrush(QColor(255, 250, 210));
        p.drawRect(QRectF(2.5, 2.5, 19, 19));
        Tiles(p, 7, 7, 10);
    });
}

QIcon Sort()
{
    return Make([](QPainter& p) {
        p.setPen(Qt::NoPen);
        const QColor colors[] = { Red, Amber, Green, Blue };
        for (int i = 0; i < 4; ++i) {
            p.setBrush(colors[i]);
            const qreal height = 5 + 4.5 * i;
            p.drawRect(QRectF(3 + 4.7 * i, 21 - height, 3.6, height));
        }
        p.setPen(Pen(Ink, 1.2));
        p.drawLine(QPointF(2, 21.5), QPointF(22, 21.5));
    });
}

QIcon InsertFrom()
{
    return Make([](QPainter& p) {
        Sheet(p, QRectF(2.5, 3, 11, 15));
        Tiles(p, 5, 8, 6);
        Arrow(p, QPointF(22, 17), QPointF(12, 17), Blue);
    });
}

QIcon AddTo()
{
    return Make([](QPainter& p) {
        Sheet(p, QRectF(10.5, 3, 11, 15));
        Tiles(p, 13, 8, 6);
        Arrow(p, QPointF(2, 17), QPointF(12, 17), Green);
    });
}

QIcon ImportBitmap()
{
    return Make([](QPainter& p) {
        Picture(p, QRectF(7.5, 7.5, 14, 12));
        Arrow(p, QPointF(2, 4), QPointF(9, 11), Green);
    });
}

QIcon ExportBitmap()
{
    return Make([](QPainter& p) {
        Picture(p, QRectF(2.5, 7.5, 14, 12));
        Arrow(p, QPointF(13, 12), QPointF(20, 4.5), Blue);
    });
}

QIcon Exit()
{
    return Make([](QPainter& p) {
        p.setPen(Pen(Ink, 1.2));
        p.setBrush(QColor(150, 100, 60));
        p.drawRect(QRectF(4.5, 2.5, 10, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(Amber);
        p.drawEllipse(QPointF(12, 12.5), 1.1, 1.1);
        Arrow(p, QPointF(12, 12), QPointF(21, 12), Red);
    });
}

} // namespace

QIcon PaneActionIcon(int index)
{
    switch (index) {
    case 0:
        return Cut();
    case 1:
        return Copy();
    case 2:
        return Paste();
    case 3:
        return Delete();
    case 4:
        return Open();
    case 5:
        return Save();
    case 6:
        return Close();
    case 7:
        return BackColor();
    case 8:
        return Sort();
    case 9:
        return InsertFrom();
    case 10:
        return AddTo();
    case 11:
        return ImportBitmap();
    case 12:
        return ExportBitmap();
    default:
        return {};
    }
}

QIcon MainMenuIcon(int index)
{
    switch (index) {
    case 0:
        return Open();
    case 1:
        return Exit();
    default:
        return {};
    }
}

} // namespace velmora
