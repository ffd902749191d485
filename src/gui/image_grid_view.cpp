#include "image_grid_view.h"

#include "application.h"
#include "qt_bitmap.h"
#include "qt_prompts.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

namespace velmora
{

TImageGridModel::TImageGridModel(const TIconPane& pane, QObject* parent)
    : QAbstractTableModel(parent)
    , m_pane(pane)
{
}

int TImageGridModel::rowCount(const QModelIndex& parent) const
{
    const TImageGrid& grid = m_pane.Grid();
    return parent.isValid() || grid.RowCount() <= grid.FixedRows()
        ? 0
        : grid.RowCount() - grid.FixedRows();
}

int TImageGridModel::columnCount(const QModelIndex& parent) const
{
    const TImageGrid& grid = m_pane.Grid();
    return parent.isValid() || grid.ColCount() <= grid.FixedCols()
        ? 0
        : grid.ColCount() - grid.FixedCols();
}

QVariant TImageGridModel::data(const QModelIndex&, int) const
{
    // The cells show pictures only; the delegate paints them.
    return {};
}

QVariant TImageGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignTop);
    if (role != Qt::DisplayRole)
        return {};
    const TImageGrid& grid = m_pane.Grid();
    if (orientation == Qt::Horizontal)
        return UiText(grid.Cell(section + grid.FixedCols(), 0));
    return UiText(grid.Cell(0, section + grid.FixedRows()));
}

void TImageGridModel::Reset()
{
    beginResetModel();
    endResetModel();
}

TImageCellDelegate::TImageCellDelegate(const TIconPane& pane, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_pane(pane)
{
}

void TImageCellDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect rect = option.rect;
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const int col = index.column() + m_pane.Grid().FixedCols();
    const int row = index.row() + m_pane.Grid().FixedRows();
    // Errors never leave a paint: a cell that cannot be painted shows the grid's base colour.
    try {
        TBitmap canvas(rect.width(), rect.height(), TPixelFormat::pf32bit);
        m_pane.PaintImageCell(col, row, canvas, TRect { 0, 0, rect.width(), rect.height() });
        QImage image = ToQImage(canvas);
        // The cell is opaque: the background colour fills what the image leaves.
        image.reinterpretAsFormat(QImage::Format_RGB32);
        painter->drawImage(rect.topLeft(), image);
    } catch (...) {
        painter->fillRect(rect, option.palette.base());
    }
    if (m_pane.Grid().IsSelected(col, row)) {
        QPen pen(option.palette.color(QPalette::WindowText), 1, Qt::DotLine);
        painter->save();
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
}

TImageGridView::TImageGridView(TIconPane& pane, QWidget* parent)
    : QTableView(parent)
    , m_pane(pane)
    , m_model(new TImageGridModel(pane, this))
{
    setObjectName(QStringLiteral("StringGridMain"));
    setModel(m_model);
    setItemDelegate(new TImageCellDelegate(pane, this));
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::NoFrame);
    setShowGrid(true);
    setTabKeyNavigation(true);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignHCenter | Qt::AlignTop);
    horizontalHeader()->setDefaultAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVisible(false);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &TImageGridView::SelectionChanged);
    // A click on the cell that is already selected counts too.
    connect(this, &QAbstractItemView::clicked, this, &TImageGridView::SelectionChanged);
    // A pane without images may be narrower than the table's scroll bars.
    setMinimumSize(1, 1);
}

void TImageGridView::Rebuild()
{
    m_rebuilding = true;
    const TImageGrid& grid = m_pane.Grid();
    m_model->Reset();
    const QFontMetrics metrics(horizontalHeader()->font());
    // The table draws its grid lines inside each section: a line more keeps the whole image.
    const int line = showGrid() ? 1 : 0;
    // Sizes are minimums: a header grows to what its text needs with the style's margins.
    const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 4;
    for (int col = grid.FixedCols(); col < grid.ColCount(); ++col) {
        const int textWidth = metrics.horizontalAdvance(UiText(grid.Cell(col, 0))) + margin;
        horizontalHeader()->resizeSection(
            col - grid.FixedCols(), std::max(grid.ColWidth(col), textWidth) + line);
    }
    int headerWidth = grid.ColWidth(0);
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row) {
        verticalHeader()->resizeSection(row - grid.FixedRows(), grid.RowHeight(row) + line);
        headerWidth
            = std::max(headerWidth, metrics.horizontalAdvance(UiText(grid.Cell(0, row))) + margin);
    }
    verticalHeader()->setFixedWidth(headerWidth);
    horizontalHeader()->setFixedHeight(std::max(grid.RowHeight(0), metrics.height() + 6));

    const TGridRect selection = grid.Selection();
    if (grid.RowCount() > grid.FixedRows() && grid.ColCount() > grid.FixedCols()) {
        const QModelIndex topLeft
            = m_model->index(selection.Top - grid.FixedRows(), selection.Left - grid.FixedCols());
        const QModelIndex bottomRight = m_model->index(
            selection.Bottom - grid.FixedRows(), selection.Right - grid.FixedCols());
        selectionModel()->setCurrentIndex(bottomRight, QItemSelectionModel::NoUpdate);
        selectionModel()->select(
            QItemSelection(topLeft, bottomRight), QItemSelectionModel::ClearAndSelect);
    }
    setVisible(grid.Visible());
    m_rebuilding = false;
}

void TImageGridView::SelectionChanged()
{
    if (m_rebuilding)
        return;
    const QModelIndexList indexes = selectionModel()->selectedIndexes();
    const QModelIndex current = currentIndex();
    if (indexes.isEmpty() && !current.isValid())
        return;
    // The selection is one rectangle: its bounding box, or the current cell alone.
    int left = current.isValid() ? current.column() : indexes.front().column();
    int top = current.isValid() ? current.row() : indexes.front().row();
    int right = left;
    int bottom = top;
    if (!indexes.isEmpty()) {
        left = right = indexes.front().column();
        top = bottom = indexes.front().row();
        for (const QModelIndex& index : indexes) {
            left = std::min(left, index.column());
            right = std::max(right, index.column());
            top = std::min(top, index.row());
            bottom = std::max(bottom, index.row());
        }
    }
    const TImageGrid& grid = m_pane.Grid();
    const TGridRect rect { left + grid.FixedCols(), top + grid.FixedRows(),
        right + grid.FixedCols(), bottom + grid.FixedRows() };
    RunGuarded([&] { m_pane.StringGridMainClick(rect); });
    viewport()->update();
}

void TImageGridView::keyReleaseEvent(QKeyEvent* event)
{
    TGridKey key = TGridKey::Other;
    switch (event->key()) {
    case Qt::Key_F9:
        key = TGridKey::F9;
        break;
    case Qt::Key_F10:
        key = TGridKey::F10;
        break;
    case Qt::Key_F11:
        key = TGridKey::F11;
        break;
    case Qt::Key_F12:
        key = TGridKey::F12;
        break;
    case Qt::Key_Delete:
        key = TGridKey::Delete;
        break;
    default:
        break;
    }
    if (key != TGridKey::Other && !event->isAutoRepeat()) {
        RunGuarded([&] { m_pane.StringGridMainKeyUp(key); });
        event->accept();
        return;
    }
    QTableView::keyReleaseEvent(event);
}

} // namespace velmora
