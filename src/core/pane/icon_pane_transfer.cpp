// The pane's commands that move single images: through the clipboard, out of the document,
// into sorted order, and between the two panes.

#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "support/error.h"

#include <algorithm>
#include <charconv>
#include <functional>

namespace velmora
{

namespace
{

std::string Decimal(int value)
{
    return std::to_string(value);
}

// The image number of an entry of SelectedImages, or -1 when the entry names no image (an
// empty cell's "-1" or a text that is no number).
int SelectedIndex(const std::string& text)
{
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return -1;
    return value;
}

bool SameFormat(const TIconDirectoryEntry& a, const TIconDirectoryEntry& b)
{
    return a.BitCount == b.BitCount && a.Width == b.Width && a.Height == b.Height;
}

} // namespace

std::vector<int> TIconPane::SelectedIndices(const TStringList& selection, int count)
{
    std::vector<int> indices;
    for (const std::string& text : selection.Lines()) {
        const int index = SelectedIndex(text);
        if (index >= 0 && index < count)
            indices.push_back(index);
    }
    // Highest first: deleting an image then never moves one still to come, and copies are
    // appended in this order.
    std::sort(indices.begin(), indices.end(), std::greater<>());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

std::string TIconPane::ImageFormatText(const TIconDirectoryEntry& entry)
{
    return FormatText(Messages::ImageFormat,
        { Decimal(entry.ImageWidth()), Decimal(entry.ImageHeight()), Decimal(entry.BitCount) });
}

std::string TIconPane::FormatExistsQuestion(const TIconDirectoryEntry& entry)
{
    return FormatText(Messages::FormatExistsReplace,
        { Decimal(entry.ImageWidth()), Decimal(entry.ImageHeight()), Decimal(entry.BitCount) });
}

int TIconPane::ReplaceImage(
    TIconDirectory& target, int existing, const std::function<int(TIconDirectory&)>& make)
{
    auto holdsAnother = [&](const TIconDirectoryEntry& format) {
        for (int i = 0; i < target.Count(); ++i) {
            if (i != existing && SameFormat(target.GetEntry(i), format))
                return true;
        }
        return false;
    };
    // A second image of the format (a file can hold one) would refuse the new image once the
    // first is gone; the user would lose an image and gain none.
    if (holdsAnother(target.GetEntry(existing)))
        return ResultFormatExists;
    // The new image is made aside first, so that a refused one costs nothing.
    TIconDirectory scratch;
    const int result = make(scratch);
    if (result != ResultOk)
        return result;
    // A file changed since the question may now have another format, held elsewhere.
    if (holdsAnother(scratch.GetEntry(0)))
        return ResultFormatExists;
    target.DeleteImage(existing);
    return target.AddImage(&scratch.GetImage(0), &scratch.GetEntry(0));
}

int TIconPane::CopySelectedImage()
{
    if (m_selectedImages.Count() == 0)
        return -1;
    const int index = SelectedIndex(m_selectedImages[0]);
    if (index < 0 || index >= m_iconDirectory.Count())
        return -1;
    if (m_iconDirectory.CopyImageToClipboard(index, m_transparentColor) != ResultOk) {
        m_platform.ShowMessage(std::string(Messages::BitmapNotCopied));
        return -1;
    }
    return index;
}

void TIconPane::ActionEditCopyExecute()
{
    if (CopySelectedImage() >= 0)
        UpdateActions();
}

void TIconPane::ActionEditCutExecute()
{
    const int index = CopySelectedImage();
    if (index < 0)
        return;
    // Cut takes even the document's only image.
    m_iconDirectory.DeleteImage(index);
    RefreshView();
    RepaintGrid();
    UpdateActions();
}

void TIconPane::ActionEditPasteExecute()
{
    const int result = m_iconDirectory.ImportBitmapFromClipboard();
    if (result == ResultOk) {
        SetGridVisible(true);
        RefreshView();
        UpdateActions();
        return;
    }
    if (result < 0) {
        m_platform.ShowMessage(ImportRefusalText(result, Messages::ClipboardName));
        return;
    }
    const int existing = result - 1;
    const TIconDirectoryEntry& entry = m_iconDirectory.GetEntry(existing);
    const std::string question = FormatExistsQuestion(entry);
    if (!m_platform.AskQuestion(
            question, FormatText(Messages::ImportPictureCaption, { Decimal(m_iconNumber) })))
        return;
    const int replaced = ReplaceImage(m_iconDirectory, existing, [this](TIconDirectory& scratch) {
        scratch.SetClipboard(&m_platform.Clipboard());
        return scratch.ImportBitmapFromClipboard();
    });
    if (replaced != ResultOk)
        m_platform.ShowMessage(ImportRefusalText(replaced, Messages::ClipboardName));
    SetGridVisible(true);
    RefreshView();
    UpdateActions();
}

void TIconPane::ActionEditDeleteExecute()
{
    if (m_selectedImages.Count() == 0)
        return;
    const TGridRect remembered = m_grid.Selection();
    std::vector<int> indices = SelectedIndices(m_selectedImages, m_iconDirectory.Count());
    // Highest first until one image is left: that last one stays, with a message.
    const bool keepLast = !indices.empty() && indices.size() >= size_t { m_iconDirectory.Count() };
    if (keepLast)
        indices.pop_back();
    m_iconDirectory.DeleteImages(indices);
    if (keepLast)
        m_platform.ShowMessage(std::string(Messages::LastImageNotDeleted));
    RefreshView();
    if (m_iconDirectory.Count() > 0) {
        // The selection comes back. Its bottom-right corner is the current cell; when that lies
        // past the last column or row of the smaller grid, the first image column or row
        // becomes current, and the current cell alone is selected.
        TGridRect selection = remembered;
        if (selection.Right > m_grid.ColCount() - 1) {
            const int col = m_grid.FixedCols();
            selection = { col, selection.Bottom, col, selection.Bottom };
        }
        if (selection.Bottom > m_grid.RowCount() - 1) {
            const int row = m_grid.FixedRows();
            selection = { selection.Right, row, selection.Right, row };
        }
        m_grid.SetSelection(selection);
        // SelectedImages follows the selection the grid now shows.
        UpdateSelection();
        m_platform.GridChanged();
        m_platform.FocusGrid();
    }
    UpdateActions();
}

void TIconPane::ActionImageSortExecute()
{
    m_iconDirectory.SortImages();
    RebuildGrid();
    UpdateSelection();
}

void TIconPane::TransferImages(TIconPane& source, TIconPane& target, std::string_view caption)
{
    const bool adding = &source == this;
    const int otherIcon = adding ? target.m_iconNumber : source.m_iconNumber;
    TIconDirectory& from = source.m_iconDirectory;
    TIconDirectory& to = target.m_iconDirectory;
    for (int index : SelectedIndices(source.m_selectedImages, from.Count())) {
        const TIconDirectoryImage& image = from.GetImage(index);
        const TIconDirectoryEntry& entry = from.GetEntry(index);
        const int existing = to.FindFormat(entry.BitCount, entry.Width, entry.Height);
        int result = ResultOk;
        if (existing >= 0) {
            const std::string question = FormatExistsQuestion(entry);
            if (!m_platform.AskQuestion(
                    question, FormatText(caption, { Decimal(index), Decimal(otherIcon) }))) {
                UpdateActions();
                continue;
            }
            result = ReplaceImage(to, existing,
                [&](TIconDirectory& scratch) { return scratch.AddImage(&image, &entry); });
        } else {
            result = to.AddImage(&image, &entry);
        }
        if (result == ResultFormatExists) {
            m_platform.ShowMessage(std::string(Messages::FormatExistsNotAdded));
        } else if (result == ResultOk) {
            target.RefreshView();
            if (adding) {
                target.SetGridVisible(true);
                target.RepaintGrid();
                // The partner's Save, Close and the rest follow its new images at once.
                target.UpdateActions();
            }
        }
        UpdateActions();
    }
}

void TIconPane::ActionImageAddToExecute()
{
    if (!m_partnerPane || m_selectedImages.Count() == 0)
        return;
    TransferImages(*this, *m_partnerPane, Messages::AddImageCaption);
}

void TIconPane::ActionImageInsertFromExecute()
{
    if (!m_partnerPane || m_partnerPane->m_selectedImages.Count() == 0)
        return;
    TransferImages(*m_partnerPane, *this, Messages::InsertImageCaption);
}

} // namespace velmora
