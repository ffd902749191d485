#pragma once

#include "image_grid_view.h"

namespace velmora
{

/// Paints an image cell as the grid's own delegate does, and over a selected cell the desktop's
/// selection colour: a translucent wash that leaves the picture visible and a solid frame,
/// in the inactive colours while the grid has no focus.
class TSelectedCellDelegate : public TImageCellDelegate
{
    Q_OBJECT
public:
    explicit TSelectedCellDelegate(const TIconPane& pane, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;

private:
    const TIconPane& m_pane;
};

} // namespace velmora
