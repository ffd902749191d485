#pragma once

#include <QRectF>
#include <QString>

class QPainter;

namespace velmora
{

/// The program's icon: a sheet with a folded corner and four coloured tiles, the picture of a
/// new icon, drawn as vectors into a square so that it stays sharp at any size and density.
void PaintProgramIcon(QPainter& painter, const QRectF& rect);

/// The product logo: the four tiles and the product's name, its first word large and the rest
/// below it, the letters shrunk where they would not fit the rectangle.
void PaintProductLogo(QPainter& painter, const QRectF& rect, const QString& productName);

} // namespace velmora
