// Images of several sizes made from one picture.

#include "graphics/picture_file.h"
#include "graphics/resample.h"
#include "icons/icon_directory_picture.h"
#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>
#include <set>

namespace velmora
{

const std::vector<int>& TIconPane::OfferedSides()
{
    static const std::vector<int> sides { 16, 20, 24, 32, 40, 48, 64, 96, 128, 256 };
    return sides;
}

void TIconPane::ImportPictureSizes(const std::string& fileName, const std::vector<int>& sides,
    const TSizeSources& sources, const std::vector<int>& pngSides)
{
    m_lastImport = TImportReport();
    SetGridVisible(false);
    const std::vector<TMadeSize> sizes
        = MakePictureSizes(m_platform.VectorPictures(), fileName, sides, sources);
    std::vector<TBitmap> made;
    std::set<std::string> shown;
    for (const TMadeSize& size : sizes) {
        TImportFileReport line;
        line.FileName = size.FileName + " @ " + std::to_string(size.Side);
        if (!size.Error.empty()) {
            line.Outcome = TImportOutcome::Refused;
            line.Reason = size.Error;
            line.Message = size.Error == velmora::StatusText(ResultBitmapFileMissing)
                ? ImportRefusalText(ResultBitmapFileMissing, size.FileName)
                : FormatText(Messages::BitmapNotRead, { size.FileName, size.Error });
            // One message per file and reason, not one per size.
            if (shown.insert(line.Message).second)
                ShowImportRefusal(line.Message);
        }
        m_lastImport.Files.push_back(std::move(line));
        made.push_back(size.Picture);
    }

    // The sides asked for as PNG are stored PNG-compressed; the others below 256 as 32-bit
    // bitmaps, which every reader takes.
    auto storePng = [&](size_t i) {
        return std::find(pngSides.begin(), pngSides.end(), sizes[i].Side) != pngSides.end();
    };
    std::optional<bool> replaceAll;
    for (size_t i = 0; i < made.size(); ++i) {
        TImportFileReport& line = m_lastImport.Files[i];
        if (line.Outcome == TImportOutcome::Refused)
            continue;
        const int result = ImportPicture(m_iconDirectory, made[i], storePng(i));
        if (result == ResultOk) {
            line.Outcome = TImportOutcome::Imported;
            RefreshView();
            continue;
        }
        if (result < 0) {
            line.Outcome = TImportOutcome::Refused;
            line.Code = result;
            line.Message = ImportRefusalText(result, sizes[i].FileName);
            line.Reason = std::string(velmora::StatusText(result));
            ShowImportRefusal(line.Message);
            continue;
        }
        const int existing = result - 1;
        const TIconDirectoryEntry& entry = m_iconDirectory.GetEntry(existing);
        line.Outcome = TImportOutcome::FormatExists;
        line.Code = result;
        line.Reason = ImageFormatText(entry);
        // Quietly a size the icon holds is refused; the other sizes are still made.
        if (m_quietMode)
            continue;
        SetGridVisible(true);
        const std::string question = FormatExistsQuestion(entry);
        if (AskReplaceInImport(question, true, i + 1 < made.size(), replaceAll)) {
            const TBitmap& picture = made[i];
            const int replaced
                = ReplaceImage(m_iconDirectory, existing, [&](TIconDirectory& scratch) {
                      return ImportPicture(scratch, picture, storePng(i));
                  });
            if (replaced == ResultOk) {
                line = { line.FileName, TImportOutcome::Replaced, 0, std::string(), std::string() };
                RefreshView();
            } else {
                m_platform.ShowMessage(ImportRefusalText(replaced, sizes[i].FileName));
            }
        }
        SetGridVisible(false);
    }

    if (m_iconDirectory.Count() > 0) {
        SetGridVisible(true);
        RepaintGrid();
    }
    UpdateActions();
}

void TIconPane::ActionImageImportSizesExecute()
{
    const TFileDialogSetup setup { std::string(Messages::ImportSizesTitle),
        std::string(Messages::SizesPictureFilter), "png", false, {} };
    const std::vector<std::string> files = m_platform.OpenFileDialog(setup);
    if (files.empty())
        return;
    ImportPictureAskingSizes(files.front());
}

void TIconPane::ImportPictureAskingSizes(const std::string& fileName)
{
    const std::vector<int>& offered = OfferedSides();
    // The main picture is read and made once for all previews.
    std::optional<std::vector<TMadeSize>> mainSizes;
    const TSizePreview preview = [&](int side, const std::string& file) {
        if (!file.empty() && file != fileName)
            return MakePictureSizes(m_platform.VectorPictures(), file, { &side, 1 }, {}).front();
        if (!mainSizes)
            mainSizes = MakePictureSizes(m_platform.VectorPictures(), fileName, offered, {});
        const auto at = std::find(offered.begin(), offered.end(), side);
        if (at != offered.end())
            return (*mainSizes)[static_cast<size_t>(at - offered.begin())];
        return MakePictureSizes(m_platform.VectorPictures(), fileName, { &side, 1 }, {}).front();
    };
    const std::optional<TSizesChoice> choice = m_platform.ChooseSizes(
        offered, m_chosenSides, fileName, FindSizeSources(fileName, offered), preview);
    if (!choice)
        return;
    if (choice->Sides.empty()) {
        m_platform.ShowMessage(std::string(Messages::NoSizeChosen));
        return;
    }
    // The choice is kept for the next use in this run.
    m_chosenSides = choice->Sides;
    ImportPictureSizes(fileName, m_chosenSides, choice->Sources, choice->PngSides);
}

} // namespace velmora
