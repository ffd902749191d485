#include "pane/image_grid.h"

#include <algorithm>
#include <utility>

namespace velmora
{

void TImageGrid::SetSize(int colCount, int rowCount)
{
    colCount = std::max(colCount, 1);
    rowCount = std::max(rowCount, 1);
    std::erase_if(m_cells, [&](const auto& cell) {
        return cell.first.first >= rowCount || cell.first.second >= colCount;
    });
    m_colWidths.resize(static_cast<size_t>(colCount), DefaultColWidth);
    m_rowHeights.resize(static_cast<size_t>(rowCount), DefaultRowHeight);
    m_colCount = colCount;
    m_rowCount = rowCount;
    m_fixedCols = std::min(m_fixedCols, colCount - 1);
    m_fixedRows = std::min(m_fixedRows, rowCount - 1);
    ClampSelection();
}

void TImageGrid::SetFixed(int fixedCols, int fixedRows)
{
    m_fixedCols = std::clamp(fixedCols, 0, m_colCount - 1);
    m_fixedRows = std::clamp(fixedRows, 0, m_rowCount - 1);
    ClampSelection();
}

const std::string& TImageGrid::Cell(int col, int row) const
{
    static const std::string empty;
    const auto found = m_cells.find({ row, col });
    return found == m_cells.end() ? empty : found->second;
}

void TImageGrid::SetCell(int col, int row, std::string text)
{
    if (col < 0 || row < 0 || col >= m_colCount || row >= m_rowCount)
        return;
    if (text.empty())
        m_cells.erase({ row, col });
    else
        m_cells.insert_or_assign({ row, col }, std::move(text));
}

void TImageGrid::ClearScrollingCells()
{
    std::erase_if(m_cells, [this](const auto& cell) {
        return cell.first.first >= m_fixedRows && cell.first.second >= m_fixedCols;
    });
}

void TImageGrid::ForEachCell(const TGridRect& rect,
    const std::function<void(int col, int row, const std::string& text)>& visit) const
{
    if (rect.Left > rect.Right || rect.Top > rect.Bottom)
        return;
    auto cell = m_cells.lower_bound({ rect.Top, rect.Left });
    while (cell != m_cells.end() && cell->first.first <= rect.Bottom) {
        const auto [row, col] = cell->first;
        if (col < rect.Left) {
            cell = m_cells.lower_bound({ row, rect.Left });
        } else if (col > rect.Right) {
            // Past the rectangle in this row: the next row's first cell inside it.
            cell = m_cells.lower_bound({ row + 1, rect.Left });
        } else {
            visit(col, row, cell->second);
            ++cell;
        }
    }
}

void TImageGrid::SetSelection(TGridRect rect)
{
    m_selection = { std::min(rect.Left, rect.Right), std::min(rect.Top, rect.Bottom),
        std::max(rect.Left, rect.Right), std::max(rect.Top, rect.Bottom) };
    ClampSelection();
}

bool TImageGrid::IsSelected(int col, int row) const
{
    return col >= m_fixedCols && row >= m_fixedRows && col >= m_selection.Left
        && col <= m_selection.Right && row >= m_selection.Top && row <= m_selection.Bottom;
}

void TImageGrid::ClampSelection()
{
    // The grid never selects fixed cells: the rectangle moves into the scrolling part.
    auto clampCol = [this](int col) { return std::clamp(col, m_fixedCols, m_colCount - 1); };
    auto clampRow = [this](int row) { return std::clamp(row, m_fixedRows, m_rowCount - 1); };
    m_selection = { clampCol(m_selection.Left), clampRow(m_selection.Top),
        clampCol(m_selection.Right), clampRow(m_selection.Bottom) };
}

} // namespace velmora
