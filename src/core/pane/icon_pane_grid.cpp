#include "graphics/bitmap_ops.h"
#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "pane/image_depth.h"
#include "platform/system_colors.h"
#include "support/error.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace velmora
{

namespace
{

std::string Decimal(int value)
{
    return std::to_string(value);
}

// The "|"-separated fields of a cell text.
std::vector<std::string_view> Fields(std::string_view text)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        const size_t bar = text.find('|', start);
        fields.push_back(text.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (bar == std::string_view::npos)
            return fields;
        start = bar + 1;
    }
}

// A field as a hexadecimal number; an empty or missing field gives 0.
int HexField(const std::vector<std::string_view>& fields, size_t index)
{
    return index < fields.size() ? TIconDirectory::HexToInt(fields[index]) : 0;
}

// The format of an image cell: bit count, width, height and index (-1 for an empty cell).
struct TCellFormat {
    int BitCount = 0;
    int Width = 0;
    int Height = 0;
    int Index = -1;
};

int DecimalField(const std::vector<std::string_view>& fields, size_t index)
{
    if (index >= fields.size())
        return -1;
    int value = -1;
    const std::string_view text = fields[index];
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return -1;
    return value;
}

TCellFormat CellFormat(const std::string& cell)
{
    const std::vector<std::string_view> fields = Fields(cell);
    return { HexField(fields, 0), HexField(fields, 1), HexField(fields, 2),
        DecimalField(fields, 3) };
}

} // namespace

int TIconPane::CellImageIndex(const std::string& cell)
{
    return DecimalField(Fields(cell), 3);
}

void TIconPane::SetGridVisible(bool visible)
{
    if (m_grid.Visible() == visible)
        return;
    m_grid.SetVisible(visible);
    m_platform.GridChanged();
}

void TIconPane::RebuildGrid()
{
    const bool wasVisible = m_grid.Visible();
    if (m_iconDirectory.Count() == 0) {
        SetGridVisible(false);
        return;
    }
    m_grid.SetVisible(false);

    m_iconDirectory.GetColorDepthList(m_depthKeys);
    m_iconDirectory.GetSizeList(m_sizeKeys);
    m_iconDirectory.GetFormatList(m_formatLines);
    const int depths = m_depthKeys.Count();
    const int sizes = m_sizeKeys.Count();

    m_grid.SetFixed(0, 0);
    m_grid.SetSize(1 + sizes, 1 + depths);
    m_grid.SetFixed(1, 1);

    std::vector<int> sizeWidths(static_cast<size_t>(sizes));
    for (int j = 1; j <= sizes; ++j) {
        const std::vector<std::string_view> size = Fields(m_sizeKeys[j - 1]);
        sizeWidths[static_cast<size_t>(j - 1)] = HexField(size, 0);
        const std::string header = FormatText(
            Messages::SizeHeader, { Decimal(HexField(size, 0)), Decimal(HexField(size, 1)) });
        m_grid.SetColWidth(j, m_platform.TextWidth(header));
        m_grid.SetCell(j, 0, header);
    }

    m_grid.SetColWidth(0, 1);
    for (int i = 1; i <= depths; ++i) {
        const std::string header
            = DepthHeaderText(m_iconDirectory, TIconDirectory::HexToInt(m_depthKeys[i - 1]));
        m_grid.SetCell(0, i, header);
        m_grid.SetColWidth(0, std::max(m_grid.ColWidth(0), m_platform.TextWidth(header)));
    }

    // Each image cell shows the first format line, in sorted order, that begins with its depth
    // key and size key: the lines are walked once and each one finds its row and column by
    // the keys, so the work follows the number of images, not the number of cells.
    std::unordered_map<std::string_view, int> depthRows;
    for (int i = 1; i <= depths; ++i)
        depthRows.emplace(m_depthKeys[i - 1], i);
    std::unordered_map<std::string_view, int> sizeCols;
    for (int j = 1; j <= sizes; ++j)
        sizeCols.emplace(m_sizeKeys[j - 1], j);
    m_grid.ClearScrollingCells();
    std::vector<int> tallest(static_cast<size_t>(depths) + 1, 0);
    for (const std::string& line : m_formatLines.Lines()) {
        const std::string_view text(line);
        const size_t depthEnd = text.find('|');
        const size_t sizeEnd = depthEnd == std::string_view::npos
            ? std::string_view::npos
            : text.find('|', text.find('|', depthEnd + 1) + 1);
        if (sizeEnd == std::string_view::npos)
            continue;
        const auto row = depthRows.find(text.substr(0, depthEnd));
        const auto col = sizeCols.find(text.substr(depthEnd + 1, sizeEnd - depthEnd - 1));
        if (row == depthRows.end() || col == sizeCols.end()
            || !m_grid.Cell(col->second, row->second).empty())
            continue;
        m_grid.SetCell(col->second, row->second, line);
        int& height = tallest[static_cast<size_t>(row->second)];
        height = std::max(height, CellFormat(line).Height);
    }
    for (int i = 1; i <= depths; ++i)
        m_grid.SetRowHeight(i, tallest[static_cast<size_t>(i)] * m_zoom);

    for (int j = 1; j <= sizes; ++j)
        m_grid.SetColWidth(
            j, std::max(m_grid.ColWidth(j), sizeWidths[static_cast<size_t>(j - 1)] * m_zoom));

    m_grid.SetVisible(wasVisible);
    m_platform.GridChanged();
    if (wasVisible)
        RepaintGrid();
}

void TIconPane::UpdateSelection()
{
    const TGridRect selection = m_grid.Selection();
    m_selectedImages.Clear();
    if (m_iconDirectory.Count() == 0) {
        m_statusText.clear();
        m_platform.TextsChanged();
        return;
    }
    // The rectangle's cells in reading order: the index of each image cell, "-1" for each empty
    // cell. Only the cells with images are visited; the empty cells between them are counted,
    // and at most MaxEmptySelected of them are listed, so that a rectangle over a vast, mostly
    // empty grid costs no more than its images.
    const TGridRect rect { std::max(selection.Left, m_grid.FixedCols()),
        std::max(selection.Top, m_grid.FixedRows()), selection.Right, selection.Bottom };
    const int64_t width = int64_t { rect.Right } - rect.Left + 1;
    const int64_t area = rect.Right < rect.Left || rect.Bottom < rect.Top
        ? 0
        : width * (int64_t { rect.Bottom } - rect.Top + 1);
    int64_t emptyListed = 0;
    int64_t next = 0;
    // Lists the empty cells from position next up to (not including) position until.
    const auto addEmpty = [&](int64_t until) {
        const int64_t listed = std::min(until - next, MaxEmptySelected - emptyListed);
        for (int64_t k = 0; k < listed; ++k)
            m_selectedImages.Add("-1");
        emptyListed += std::max<int64_t>(listed, 0);
        next = until;
    };
    m_grid.ForEachCell(rect, [&](int col, int row, const std::string& text) {
        addEmpty((int64_t { row } - rect.Top) * width + (col - rect.Left));
        m_selectedImages.Add(Decimal(CellFormat(text).Index));
        ++next;
    });
    addEmpty(area);
    const TCellFormat last
        = area > 0 ? CellFormat(m_grid.Cell(rect.Right, rect.Bottom)) : TCellFormat {};

    // An empty cell has no index; an image whose entry stores 0 bits per pixel is still one.
    if (m_selectedImages.Count() == 0 || last.Index < 0 || last.Index >= m_iconDirectory.Count())
        m_statusText = Messages::StatusNoImage;
    else if (m_selectedImages.Count() == 1)
        m_statusText = ImageStatusText(m_iconDirectory, last.Index);
    else
        m_statusText = Messages::StatusMultipleImages;
    m_platform.TextsChanged();
}

void TIconPane::StringGridMainClick(const TGridRect& selection)
{
    m_grid.SetSelection(selection);
    UpdateSelection();
    UpdateActions();
}

void TIconPane::StringGridMainKeyUp(TGridKey key)
{
    switch (key) {
    case TGridKey::F9:
        Execute(TPaneAction::ImageInsertFrom);
        break;
    case TGridKey::F10:
        Execute(TPaneAction::ImageAddTo);
        break;
    case TGridKey::F11:
        Execute(TPaneAction::ImageImportBitmap);
        break;
    case TGridKey::F12:
        Execute(TPaneAction::ImageExportBitmap);
        break;
    case TGridKey::Delete:
        Execute(TPaneAction::EditDelete);
        break;
    case TGridKey::Other:
        break;
    }
}

void TIconPane::PaintImageCell(int col, int row, TBitmap& canvas, const TRect& rect) const
{
    FillRect(canvas, rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top,
        ColorToRGB(m_backgroundColor));
    const TCellFormat format = CellFormat(m_grid.Cell(col, row));
    if (format.Index < 0 || format.Index >= m_iconDirectory.Count())
        return;
    const TIconDirectoryImage& image = m_iconDirectory.GetImage(format.Index);
    if (!image.Icon || image.Icon->Empty())
        return;
    // Sizes come from the document's format lines (1 to 256); anything else is not drawn.
    if (format.Width < 1 || format.Width > 256 || format.Height < 1 || format.Height > 256)
        return;
    const TRect target { rect.Left, rect.Top, rect.Left + format.Width * m_zoom,
        rect.Top + format.Height * m_zoom };
    try {
        if (format.BitCount == 32) {
            // Blended over the background at the image's own size, then enlarged, so that
            // the zoom shows the image's pixels.
            TBitmap own(format.Width, format.Height, TPixelFormat::pf32bit);
            PaintIconInRect(&own, TRect { 0, 0, format.Width, format.Height }, *image.Icon,
                m_backgroundColor, 32);
            StretchCopy(canvas, target.Left, target.Top, target.Right - target.Left,
                target.Bottom - target.Top, own, 0, 0, format.Width, format.Height);
        } else {
            PaintIconInRect(&canvas, target, *image.Icon, m_backgroundColor, format.BitCount);
        }
    } catch (const EIconPaint&) {
        // The cell keeps its background: one image that cannot be drawn does not stop the
        // others.
    }
    if (m_iconDirectory.IsCursor())
        PaintHotspot(m_iconDirectory.GetEntry(format.Index), canvas, target);
}

} // namespace velmora
