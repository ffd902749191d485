#include "selected_cell_delegate.h"

#include <QPainter>

namespace velmora
{

TSelectedCellDelegate::TSelectedCellDelegate(const TIconPane& pane, QObject* parent)
    : TImageCellDelegate(pane, parent)
    , m_pane(pane)
{
}

void TSelectedCellDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    TImageCellDelegate::paint(painter, option, index);
    const int col = index.column() + m_pane.Grid().FixedCols();
    const int row = index.row() + m_pane.Grid().FixedRows();
    if (!m_pane.Grid().IsSelected(col, row) || option.rect.isEmpty())
        return;
    const bool focused = option.widget && option.widget->hasFocus();
    const QPalette::ColorGroup group = focused ? QPalette::Active : QPalette::Inactive;
    QColor wash = option.palette.color(group, QPalette::Highlight);
    const QColor frame = wash;
    wash.setAlpha(focused ? 90 : 60);
    painter->save();
    painter->fillRect(option.rect, wash);
    painter->setPen(QPen(frame, 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    painter->restore();
}

} // namespace velmora
