#include "image_grid_view.h"

#include "application.h"
#include "qt_bitmap.h"
#include "qt_prompts.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <limits>

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
    // The view gives each section its size; the header measures nothing itself.
    if (role == Qt::SizeHintRole)
        return QSize(0, 0);
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
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
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
    // Every section gets its size in one pass over the header (through sizeHintForColumn and
    // sizeHintForRow): resizing the sections one by one costs the header a walk over all of
    // them each time.
    horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);
    verticalHeader()->resizeSections(QHeaderView::ResizeToContents);
    const QFontMetrics metrics(horizontalHeader()->font());
    int headerWidth = grid.ColWidth(0);
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row)
        headerWidth = std::max(
            headerWidth, metrics.horizontalAdvance(UiText(grid.Cell(0, row))) + HeaderMargin());
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

int TImageGridView::HeaderMargin() const
{
    // Sizes are minimums: a header grows to what its text needs with the style's margins.
    return 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 4;
}

int TImageGridView::sizeHintForColumn(int column) const
{
    const TImageGrid& grid = m_pane.Grid();
    const int col = column + grid.FixedCols();
    if (col < grid.FixedCols() || col >= grid.ColCount())
        return -1;
    const QFontMetrics metrics(horizontalHeader()->font());
    const int textWidth = metrics.horizontalAdvance(UiText(grid.Cell(col, 0))) + HeaderMargin();
    // The table draws its grid lines inside each section: a line more keeps the whole image.
    return std::max(grid.ColWidth(col), textWidth) + (showGrid() ? 1 : 0);
}

int TImageGridView::sizeHintForRow(int row) const
{
    const TImageGrid& grid = m_pane.Grid();
    const int gridRow = row + grid.FixedRows();
    if (gridRow < grid.FixedRows() || gridRow >= grid.RowCount())
        return -1;
    return grid.RowHeight(gridRow) + (showGrid() ? 1 : 0);
}

void TImageGridView::SelectionChanged()
{
    if (m_rebuilding)
        return;
    // The selection is one rectangle: the bounding box of the selected ranges (never of the
    // selected cells one by one, which may be millions), or the current cell alone.
    const QItemSelection selection = selectionModel()->selection();
    const QModelIndex current = currentIndex();
    if (selection.isEmpty() && !current.isValid())
        return;
    int left = current.column();
    int top = current.row();
    int right = left;
    int bottom = top;
    if (!selection.isEmpty()) {
        left = top = std::numeric_limits<int>::max();
        right = bottom = -1;
        for (const QItemSelectionRange& range : selection) {
            left = std::min(left, range.left());
            right = std::max(right, range.right());
            top = std::min(top, range.top());
            bottom = std::max(bottom, range.bottom());
        }
    }
    const TImageGrid& grid = m_pane.Grid();
    const TGridRect rect { left + grid.FixedCols(), top + grid.FixedRows(),
        right + grid.FixedCols(), bottom + grid.FixedRows() };
    RunGuarded([&] { m_pane.StringGridMainClick(rect); });
    viewport()->update();
}

void TImageGridView::mousePressEvent(QMouseEvent* event)
{
    // A click on the empty area below or beside the cells leaves the selection as it is; the
    // table would clear it and make the current cell the selection.
    m_pressOutside = !indexAt(event->position().toPoint()).isValid();
    if (m_pressOutside) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void TImageGridView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressOutside && event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void TImageGridView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_pressOutside) {
        m_pressOutside = false;
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

TGridKey GridKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_F9:
        return TGridKey::F9;
    case Qt::Key_F10:
        return TGridKey::F10;
    case Qt::Key_F11:
        return TGridKey::F11;
    case Qt::Key_F12:
        return TGridKey::F12;
    case Qt::Key_Delete:
        return TGridKey::Delete;
    default:
        return TGridKey::Other;
    }
}

void TImageGridView::keyReleaseEvent(QKeyEvent* event)
{
    const TGridKey key = GridKeyOf(event->key());
    if (key != TGridKey::Other && !event->isAutoRepeat()) {
        RunGuarded([&] { m_pane.StringGridMainKeyUp(key); });
        event->accept();
        return;
    }
    QTableView::keyReleaseEvent(event);
}

} // namespace velmora
