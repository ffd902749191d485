// Bitmap files into images of the pane's document, and images out to bitmap files.

#include "files/file_extension.h"
#include "graphics/icon_picture.h"
#include "graphics/png_codec.h"
#include "icons/icon_directory_picture.h"
#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>

namespace velmora
{

namespace
{

std::string Decimal(int value)
{
    return std::to_string(value);
}

constexpr std::string_view BitmapSuffix = ".bmp";
constexpr std::string_view PngSuffix = ".png";
constexpr std::string_view MaskSuffix = "mask.bmp";

bool EndsWith(std::string_view text, std::string_view end)
{
    return EndsWithIgnoringCase(text, end);
}

bool EndsWithText(std::string_view text, std::string_view end)
{
    return text.size() >= end.size()
        && CompareText(text.substr(text.size() - end.size()), end) == 0;
}

// Names in the order of their bytes after ASCII lower-casing; names equal in that order keep
// the order of their own bytes. The order so never depends on a locale or on the caller's order.
bool NameBefore(const std::string& a, const std::string& b)
{
    const int order = CompareText(a, b);
    return order != 0 ? order < 0 : a < b;
}

// The first of the names equal to name without regard to ASCII case, or -1.
int FindName(const std::vector<std::string>& names, std::string_view name)
{
    for (size_t i = 0; i < names.size(); ++i) {
        if (CompareText(names[i], name) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

// The file a refusal is about: the mask file when it is the one missing or unusable.
const std::string& RefusedFile(int code, const std::string& fileName, const std::string* mask)
{
    if (mask
        && (code == ResultMaskUnusable
            || (code == ResultBitmapFileMissing && FileExists(fileName) && !FileExists(*mask))))
        return *mask;
    return fileName;
}

// One line that says why a file was refused.
std::string RefusalReason(int code, const std::string& fileName, const std::string* mask)
{
    std::string reason(StatusText(code));
    const std::string& refused = RefusedFile(code, fileName, mask);
    if (&refused != &fileName)
        reason.append(": ").append(refused);
    return reason;
}

} // namespace

std::string TIconPane::ImportRefusalText(int code, std::string_view name)
{
    switch (code) {
    case ResultBitmapFileMissing:
        return FormatText(Messages::BitmapFileNotFound, { name });
    case ResultBitmapNotTrueColor:
        return FormatText(Messages::BitmapFormatNotSupported, { name });
    case ResultBitmapPalette:
        return FormatText(Messages::PaletteBitmapRefused, { name });
    case ResultBitmapTooLarge:
        return FormatText(Messages::BitmapTooLarge, { name });
    case ResultBitmapTooSmall:
        return FormatText(Messages::BitmapTooSmall, { name });
    case ResultBitmapHeaderEmpty:
        return std::string(Messages::BitmapHeaderEmpty);
    case ResultMaskUnusable:
        return FormatText(Messages::MaskBitmapUnusable, { name });
    case ResultPictureTooLarge:
        return FormatText(Messages::PictureTooLarge, { name });
    case ResultFormatExists:
        return std::string(Messages::FormatExistsNotAdded);
    default:
        return FormatText(Messages::BitmapNotImported, { velmora::StatusText(code), name });
    }
}

int TIconPane::ImportFile(
    TIconDirectory& document, const std::string& fileName, const std::string* maskFileName)
{
    if (EndsWith(fileName, PngSuffix))
        return ImportPictureFile(document, fileName);
    if (!maskFileName)
        return document.ImportBitmapFile(fileName);
    if (!FileExists(fileName) || !FileExists(*maskFileName))
        return ResultBitmapFileMissing;
    TBitmap bitmap;
    const int joined = LoadBitmapWithMask(fileName, *maskFileName, bitmap);
    if (joined != ResultOk)
        return joined;
    return document.ImportBitmap(bitmap);
}

void TIconPane::ShowImportRefusal(const std::string& text)
{
    if (m_iconDirectory.Count() > 0)
        SetGridVisible(true);
    m_platform.ShowMessage(text);
    SetGridVisible(false);
}

void TIconPane::ImportBitmapFiles(const TStringList& fileNames)
{
    SetGridVisible(false);
    std::vector<std::string> files = fileNames.Lines();
    std::sort(files.begin(), files.end(), NameBefore);

    m_lastImport = TImportReport();
    m_lastImport.Files.resize(files.size());
    for (size_t k = 0; k < files.size(); ++k)
        m_lastImport.Files[k].FileName = files[k];
    std::vector<bool> usedAsMask(files.size(), false);

    std::optional<bool> replaceAll;
    for (size_t k = 0; k < files.size(); ++k) {
        const std::string& file = files[k];
        TImportFileReport& report = m_lastImport.Files[k];
        auto refuse = [&](int code, std::string text, std::string reason) {
            ShowImportRefusal(text);
            report.Outcome = TImportOutcome::Refused;
            report.Code = code;
            report.Message = std::move(text);
            report.Reason = std::move(reason);
        };

        // Only a name ending in ".bmp" is a bitmap to import, and one ending in ".png" a
        // picture, whose alpha is its transparency (it has no mask file); in any letter case.
        const bool picture = EndsWith(file, PngSuffix);
        if (!picture && !EndsWith(file, BitmapSuffix)) {
            report.Outcome
                = usedAsMask[k] ? TImportOutcome::UsedAsMask : TImportOutcome::WrongExtension;
            continue;
        }
        // NAMEmask.bmp is the mask of NAME.bmp, compared without regard to case both ways: a
        // name found as a mask is never imported as an image of its own. A mask serves
        // through its bitmap file, or not at all; its bitmap always sorts before it.
        if (!picture && (usedAsMask[k] || EndsWithText(file, MaskSuffix))) {
            report.Outcome = usedAsMask[k] ? TImportOutcome::UsedAsMask : TImportOutcome::LoneMask;
            continue;
        }
        std::string maskName = file.substr(0, file.size() - BitmapSuffix.size());
        maskName += MaskSuffix;
        const int maskIndex = picture ? -1 : FindName(files, maskName);
        const std::string* mask = nullptr;
        if (maskIndex >= 0) {
            mask = &files[static_cast<size_t>(maskIndex)];
            usedAsMask[static_cast<size_t>(maskIndex)] = true;
        }

        // The message of a refusal; a mask of another size names both sizes.
        auto refusalText = [&](int code) {
            if (code == ResultMaskSizeDiffers && mask)
                return MaskSizeRefusal(file, *mask);
            return ImportRefusalText(code, RefusedFile(code, file, mask));
        };
        int result = ResultOk;
        try {
            result = ImportFile(m_iconDirectory, file, mask);
        } catch (const Exception& error) {
            // An unreadable file is one more refused file: the others are still imported.
            refuse(0, FormatText(Messages::BitmapNotRead, { file, error.what() }), error.what());
            continue;
        }
        if (result == ResultOk) {
            report.Outcome = TImportOutcome::Imported;
            RefreshView();
            continue;
        }
        if (result < 0) {
            refuse(result, refusalText(result), RefusalReason(result, file, mask));
            continue;
        }

        // The document holds the format at index result - 1.
        const int existing = result - 1;
        const TIconDirectoryEntry& entry = m_iconDirectory.GetEntry(existing);
        report.Outcome = TImportOutcome::FormatExists;
        report.Code = result;
        report.Reason = ImageFormatText(entry);
        if (m_quietMode) {
            // Quietly nothing is replaced, and the import ends with this file.
            m_lastImport.Stopped = true;
            break;
        }
        SetGridVisible(true);
        const std::string question = FormatExistsQuestion(entry);
        if (AskReplaceInImport(question, picture, k + 1 < files.size(), replaceAll)) {
            int replaced = ResultOk;
            std::string text;
            std::string reason;
            try {
                replaced = ReplaceImage(m_iconDirectory, existing,
                    [&](TIconDirectory& scratch) { return ImportFile(scratch, file, mask); });
                if (replaced != ResultOk) {
                    text = refusalText(replaced);
                    reason = RefusalReason(replaced, file, mask);
                }
            } catch (const Exception& error) {
                replaced = 0;
                text = FormatText(Messages::BitmapNotRead, { file, error.what() });
                reason = error.what();
            }
            if (text.empty()) {
                report = { file, TImportOutcome::Replaced, 0, std::string(), std::string() };
                RefreshView();
            } else {
                // The image of the format stays; the file is refused, or (a second image of
                // the format) still meets a format that exists.
                m_platform.ShowMessage(text);
                if (replaced != ResultFormatExists)
                    report = { file, TImportOutcome::Refused, replaced, text, reason };
            }
        }
        SetGridVisible(false);
    }

    // A mask whose bitmap file was taken before a quiet stop has served all the same.
    for (size_t k = 0; k < files.size(); ++k) {
        if (usedAsMask[k] && m_lastImport.Files[k].Outcome == TImportOutcome::NotReached)
            m_lastImport.Files[k].Outcome = TImportOutcome::UsedAsMask;
    }
    if (m_iconDirectory.Count() > 0) {
        SetGridVisible(true);
        RepaintGrid();
    }
    UpdateActions();
}

void TIconPane::ActionImageImportBitmapExecute()
{
    const TFileDialogSetup setup { std::string(Messages::ImportBitmapTitle),
        std::string(Messages::SizesPictureFilter), std::string(Messages::BitmapExtension), true,
        {} };
    const std::vector<std::string> files = m_platform.OpenFileDialog(setup);
    if (files.empty())
        return;
    // An SVG has no size of its own: it goes to the sizes dialog, the other files are imported.
    TStringList list;
    for (const std::string& file : files) {
        if (IsVectorPictureName(file))
            ImportPictureAskingSizes(file);
        else
            list.Add(file);
    }
    if (list.Count() > 0)
        ImportBitmapFiles(list);
}

void TIconPane::ActionImageExportBitmapExecute()
{
    if (m_selectedImages.Count() == 0)
        return;
    TFileDialogSetup setup { std::string(), std::string(Messages::ExportFilter),
        std::string(Messages::BitmapExtension), false, {} };
    for (int index : SelectedIndices(m_selectedImages, m_iconDirectory.Count())) {
        const TIconDirectoryEntry& entry = m_iconDirectory.GetEntry(index);
        setup.Title = FormatText(Messages::ExportBitmapTitle,
            { Decimal(index), Decimal(entry.ImageWidth()), Decimal(entry.ImageHeight()),
                Decimal(entry.BitCount) });
        const std::optional<std::string> file = m_platform.SaveFileDialog(setup);
        if (!file)
            continue;
        std::string cause;
        try {
            if (EndsWith(*file, PngSuffix)) {
                // A PNG picture keeps the image's own size and its transparency.
                WriteFileAtomically(
                    *file, EncodePngCompact(IconPicture(*m_iconDirectory.GetImage(index).Icon)));
                continue;
            }
            if (m_iconDirectory.ExportImageToBitmapFile(*file, index, m_transparentColor)
                == ResultOk)
                continue;
        } catch (const Exception& error) {
            // A file that cannot be written (or an image that cannot be drawn) is reported
            // like a refused export, with its cause; the next image is still offered.
            cause = error.what();
        }
        std::string text(Messages::FileNotSaved);
        text.append(*file);
        if (!cause.empty())
            text.append("\r\n\r\n").append(cause);
        m_platform.ShowMessage(text);
    }
}

bool TIconPane::AskReplaceInImport(
    const std::string& question, bool picture, bool more, std::optional<bool>& forAll)
{
    if (forAll)
        return *forAll;
    const std::string caption
        = FormatText(picture ? Messages::ImportPictureCaption : Messages::ImportBitmapCaption,
            { Decimal(m_iconNumber) });
    if (!more)
        return m_platform.AskQuestion(question, caption);
    switch (m_platform.AskReplace(question, caption)) {
    case TReplaceAnswer::YesToAll:
        forAll = true;
        return true;
    case TReplaceAnswer::NoToAll:
        forAll = false;
        return false;
    case TReplaceAnswer::Yes:
        return true;
    case TReplaceAnswer::No:
        break;
    }
    return false;
}

} // namespace velmora
