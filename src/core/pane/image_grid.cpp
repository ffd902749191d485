#include "pane/image_grid.h"

#include <algorithm>
#include <utility>

namespace velmora
{

void TImageGrid::SetSize(int colCount, int rowCount)
{
    colCount = std::max(colCount, 1);
    rowCount = std::max(rowCount, 1);
    std::vector<std::string> cells(static_cast<size_t>(colCount) * static_cast<size_t>(rowCount));
    for (int row = 0; row < std::min(rowCount, m_rowCount); ++row)
        for (int col = 0; col < std::min(colCount, m_colCount); ++col)
            cells[static_cast<size_t>(row) * static_cast<size_t>(colCount)
                + static_cast<size_t>(col)]
                = std::move(m_cells[static_cast<size_t>(row) * static_cast<size_t>(m_colCount)
                    + static_cast<size_t>(col)]);
    m_cells = std::move(cells);
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
    if (col < 0 || row < 0 || col >= m_colCount || row >= m_rowCount)
        return empty;
    return m_cells[static_cast<size_t>(row) * static_cast<size_t>(m_colCount)
        + static_cast<size_t>(col)];
}

void TImageGrid::SetCell(int col, int row, std::string text)
{
    if (col < 0 || row < 0 || col >= m_colCount || row >= m_rowCount)
        return;
    m_cells[static_cast<size_t>(row) * static_cast<size_t>(m_colCount) + static_cast<size_t>(col)]
        = std::move(text);
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
