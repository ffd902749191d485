#include "graphics/bitmap_ops.h"
#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "pane/image_depth.h"
#include "platform/system_colors.h"
#include "support/error.h"

#include <algorithm>
#include <charconv>

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

    for (int i = 1; i <= depths; ++i) {
        int tallest = 0;
        for (int j = 1; j <= sizes; ++j) {
            m_grid.SetCell(j, i, std::string());
            const std::string key = m_depthKeys[i - 1] + "|" + m_sizeKeys[j - 1];
            for (const std::string& line : m_formatLines.Lines()) {
                if (line.find(key) != std::string::npos) {
                    m_grid.SetCell(j, i, line);
                    tallest = std::max(tallest, CellFormat(line).Height);
                    break;
                }
            }
        }
        m_grid.SetRowHeight(i, tallest * m_zoom);
    }

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
    TCellFormat last;
    for (int row = selection.Top; row <= selection.Bottom; ++row) {
        for (int col = selection.Left; col <= selection.Right; ++col) {
            if (col < m_grid.FixedCols() || row < m_grid.FixedRows())
                continue;
            last = CellFormat(m_grid.Cell(col, row));
            m_selectedImages.Add(Decimal(last.Index));
        }
    }

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
}

} // namespace velmora
