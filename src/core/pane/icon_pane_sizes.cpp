// Images of several sizes made from one picture.

#include "graphics/picture_file.h"
#include "graphics/resample.h"
#include "icons/icon_directory_picture.h"
#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "support/error.h"
#include "support/file_io.h"

namespace velmora
{

const std::vector<int>& TIconPane::OfferedSides()
{
    static const std::vector<int> sides { 16, 20, 24, 32, 40, 48, 64, 96, 128, 256 };
    return sides;
}

void TIconPane::ImportPictureSizes(const std::string& fileName, const std::vector<int>& sides)
{
    m_lastImport = TImportReport();
    for (int side : sides) {
        TImportFileReport line;
        line.FileName = fileName + " @ " + std::to_string(side);
        m_lastImport.Files.push_back(std::move(line));
    }
    auto refuseAll = [&](const std::string& text, const std::string& reason) {
        ShowImportRefusal(text);
        for (TImportFileReport& line : m_lastImport.Files) {
            line.Outcome = TImportOutcome::Refused;
            line.Message = text;
            line.Reason = reason;
        }
    };

    SetGridVisible(false);
    std::vector<TBitmap> made;
    if (!FileExists(fileName)) {
        refuseAll(ImportRefusalText(ResultBitmapFileMissing, fileName),
            std::string(velmora::StatusText(ResultBitmapFileMissing)));
    } else {
        try {
            made = MakeSquareSizes(LoadPictureFile(fileName, LargestSourceSide), sides);
        } catch (const Exception& error) {
            refuseAll(
                FormatText(Messages::BitmapNotRead, { fileName, error.what() }), error.what());
        }
    }

    std::optional<bool> replaceAll;
    for (size_t i = 0; i < made.size(); ++i) {
        TImportFileReport& line = m_lastImport.Files[i];
        const int result = ImportPicture(m_iconDirectory, made[i]);
        if (result == ResultOk) {
            line.Outcome = TImportOutcome::Imported;
            RefreshView();
            continue;
        }
        if (result < 0) {
            line.Outcome = TImportOutcome::Refused;
            line.Code = result;
            line.Message = ImportRefusalText(result, fileName);
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
            const int replaced = ReplaceImage(m_iconDirectory, existing,
                [&](TIconDirectory& scratch) { return ImportPicture(scratch, picture); });
            if (replaced == ResultOk) {
                line = { line.FileName, TImportOutcome::Replaced, 0, std::string(), std::string() };
                RefreshView();
            } else {
                m_platform.ShowMessage(ImportRefusalText(replaced, fileName));
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
        std::string(Messages::PictureFilter), "png", false, {} };
    const std::vector<std::string> files = m_platform.OpenFileDialog(setup);
    if (files.empty())
        return;
    const std::optional<std::vector<int>> sides
        = m_platform.ChooseSides(OfferedSides(), m_chosenSides);
    if (!sides)
        return;
    if (sides->empty()) {
        m_platform.ShowMessage(std::string(Messages::NoSizeChosen));
        return;
    }
    // The choice is kept for the next use in this run.
    m_chosenSides = *sides;
    ImportPictureSizes(files.front(), m_chosenSides);
}

} // namespace velmora
