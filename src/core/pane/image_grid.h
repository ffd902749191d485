#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace velmora
{

/// A rectangle of grid cells, columns Left..Right and rows Top..Bottom inclusive.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TGridRect&) const = default;
};

/// The state of a pane's string grid: its size, fixed rows and columns, cell texts, column
/// widths, row heights, selection and visibility. The pane lays it out; the view shows it.
/// Only cells with a text are stored: a grid of many depths and sizes is mostly empty, and its
/// memory follows the number of images, not the number of cells.
class TImageGrid
{
public:
    static constexpr int DefaultColWidth = 64;
    static constexpr int DefaultRowHeight = 24;

    int ColCount() const { return m_colCount; }
    int RowCount() const { return m_rowCount; }
    int FixedCols() const { return m_fixedCols; }
    int FixedRows() const { return m_fixedRows; }
    /// Changes the size; kept cells keep their texts and sizes, new ones start empty at the
    /// default width and height.
    void SetSize(int colCount, int rowCount);
    void SetFixed(int fixedCols, int fixedRows);

    /// Text of a cell; an empty text outside the grid.
    const std::string& Cell(int col, int row) const;
    /// Sets a cell's text; an empty text empties the cell.
    void SetCell(int col, int row, std::string text);
    /// Empties every cell that is not fixed.
    void ClearScrollingCells();
    /// Visits the cells with a text inside a rectangle in reading order (row by row, each row
    /// left to right), in time that follows the number of such cells.
    void ForEachCell(const TGridRect& rect,
        const std::function<void(int col, int row, const std::string& text)>& visit) const;

    int ColWidth(int col) const { return m_colWidths.at(static_cast<size_t>(col)); }
    void SetColWidth(int col, int width) { m_colWidths.at(static_cast<size_t>(col)) = width; }
    int RowHeight(int row) const { return m_rowHeights.at(static_cast<size_t>(row)); }
    void SetRowHeight(int row, int height) { m_rowHeights.at(static_cast<size_t>(row)) = height; }

    bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }

    /// The selected rectangle, always inside the grid's non-fixed cells when there are any.
    const TGridRect& Selection() const { return m_selection; }
    /// Selects a rectangle (corners in any order), clipped to the non-fixed cells.
    void SetSelection(TGridRect rect);
    /// True when a non-fixed cell lies inside the selection.
    bool IsSelected(int col, int row) const;

private:
    void ClampSelection();

    int m_colCount = 5;
    int m_rowCount = 5;
    int m_fixedCols = 1;
    int m_fixedRows = 1;
    // Keyed by (row, col), so that the order of the keys is the reading order.
    std::map<std::pair<int, int>, std::string> m_cells;
    std::vector<int> m_colWidths = std::vector<int>(5, DefaultColWidth);
    std::vector<int> m_rowHeights = std::vector<int>(5, DefaultRowHeight);
    TGridRect m_selection { 1, 1, 1, 1 };
    bool m_visible = false;
};

} // namespace velmora
