#include "scripts/script_runner.h"

#include "files/file_listing.h"
#include "files/folder_and_masks.h"
#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "pane/path_shortening.h"
#include "scripts/script_text.h"
#include "support/error.h"
#include "support/file_io.h"

#include <array>
#include <climits>
#include <memory>
#include <optional>

namespace velmora
{

namespace
{

enum class TScriptCommand {
    OpenIcon,
    ImportBitmaps,
    SaveIcon,
    CloseIcon,
    ShowComment,
};

struct TCommandWord {
    std::string_view Word;
    TScriptCommand Command;
};

// The order in which the words are tested: the first that occurs anywhere in a line decides,
// so "SaveIcon /OpenIcon/b.ico" is an "OpenIcon" line.
constexpr std::array<TCommandWord, 5> CommandWords { {
    { "OpenIcon", TScriptCommand::OpenIcon },
    { "ImportBitmaps", TScriptCommand::ImportBitmaps },
    { "SaveIcon", TScriptCommand::SaveIcon },
    { "CloseIcon", TScriptCommand::CloseIcon },
    { "ShowComment", TScriptCommand::ShowComment },
} };

/// Sets a pane's quiet mode for as long as it lives, and gives the pane back the mode it had,
/// also when an error passes through.
class TQuietMode
{
public:
    explicit TQuietMode(TIconPane& pane)
        : m_pane(pane)
        , m_before(pane.QuietMode())
    {
        m_pane.SetQuietMode(true);
    }
    ~TQuietMode() { m_pane.SetQuietMode(m_before); }
    TQuietMode(const TQuietMode&) = delete;
    TQuietMode& operator=(const TQuietMode&) = delete;

private:
    TIconPane& m_pane;
    bool m_before;
};

/// The bytes of a script file, read whole; none when the file is gone or is no longer a
/// regular file (it is never opened as a pipe or a device). Refuses a file larger than the
/// runner reads.
std::optional<std::string> ReadScriptBytes(const std::string& fileName)
{
    const std::unique_ptr<TFileReader> reader = TFileReader::OpenIfFile(fileName);
    if (!reader)
        return std::nullopt;
    if (reader->Size() > TScriptRunner::MaxScriptFileSize)
        throw Exception(FormatText(Messages::ScriptFileTooLarge,
            { fileName, std::to_string(reader->Size()),
                std::to_string(TScriptRunner::MaxScriptFileSize) }));
    const Bytes bytes = reader->ReadAt(0, reader->Size());
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TScriptRunner::TScriptRunner(TIconPane& pane, IPanePlatform& platform)
    : m_pane(pane)
    , m_platform(platform)
{
}

TScriptRunner::~TScriptRunner() = default;

int TScriptRunner::RunScriptFile(const std::string& fileName)
{
    if (fileName.empty() || !FileExists(fileName))
        return ResultFileNotFound;
    m_scriptFileName = fileName;

    const std::optional<std::string> bytes = ReadScriptBytes(fileName);
    if (!bytes)
        return ResultFileNotFound; // removed since it was found
    std::string_view text = ScriptTextOf(*bytes);
    if (text.empty())
        return ResultHeaderNotFound;
    // The header line is read again below: it may hold a command too.
    std::string_view rest = text;
    if (!ContainsTextIgnoringCase(TakeScriptLine(rest), ScriptHeaderText))
        return ResultHeaderNotFound;

    // The counts are added without overflow: a long script of folder imports could pass the
    // largest int.
    long long result = ResultNothingRun;
    while (!text.empty()) {
        const std::string_view line = TakeScriptLine(text);
        // Only a ";" in the very first column makes a comment.
        if (!line.empty() && line.front() == ';')
            continue;
        const std::string_view trimmed = TrimScriptText(line);
        if (trimmed.empty())
            continue;
        result += ExecuteScriptLine(trimmed);
        // The window's actions follow each command at once, not only at the next click.
        m_pane.UpdateActions();
        if (result > INT_MAX)
            result = INT_MAX;
    }
    return static_cast<int>(result);
}

int TScriptRunner::ExecuteScriptLine(std::string_view line)
{
    for (const TCommandWord& command : CommandWords) {
        if (!ContainsTextIgnoringCase(line, command.Word))
            continue;
        const std::string parameter = GetScriptParameter(line, command.Word);
        switch (command.Command) {
        case TScriptCommand::OpenIcon:
            if (parameter.empty())
                return 0;
            m_pane.OpenIconFile(parameter);
            return 1;
        case TScriptCommand::ImportBitmaps:
            if (parameter.empty())
                return 0;
            return ImportBitmaps(parameter);
        case TScriptCommand::SaveIcon:
            if (parameter.empty())
                return 0;
            m_pane.SaveIconFile(parameter);
            return 1;
        case TScriptCommand::CloseIcon: {
            const TIconPane::TChangeScope change(m_pane, Messages::StepClose, true);
            m_pane.CloseIcon();
        }
            // The pane shows its emptied view at once, in the middle of the script.
            m_platform.ProcessPendingEvents();
            return 1;
        case TScriptCommand::ShowComment:
            if (parameter.empty())
                return 0;
            ShowComment(parameter);
            return 1;
        }
    }
    return 0;
}

int TScriptRunner::ImportBitmaps(const std::string& parameter)
{
    // "/pics/*.bmp;*.dib": the folder up to the last separator, the masks after it. Without a
    // folder the walk starts in the current working directory.
    const TFolderAndMasks split = SplitFolderAndMasks(parameter, PathSeparator, PathsHaveDrives);
    TStringList files;
    const int count = ListFilesRecursive(&files, split.Folder, split.Masks);
    {
        // Quietly the pane asks no question about a format the icon holds.
        const TQuietMode quiet(m_pane);
        const TIconPane::TChangeScope change(m_pane, Messages::StepImport);
        m_pane.ImportBitmapFiles(files);
    }
    BitmapsImported(m_pane.LastImportReport());
    return count;
}

void TScriptRunner::ReportScriptResult(int result)
{
    const std::string text = ScriptErrorText(result);
    if (!text.empty())
        m_platform.ShowMessage(text);
}

std::string TScriptRunner::ScriptErrorText(int result)
{
    std::string_view reason;
    switch (result) {
    case ResultFileNotFound:
        reason = Messages::ScriptFileNotFound;
        break;
    case ResultHeaderNotFound:
        reason = Messages::ScriptHeaderNotFound;
        break;
    case ResultNothingRun:
        reason = Messages::ScriptFileEmpty;
        break;
    default:
        return std::string();
    }
    return FormatText(Messages::ScriptError, { reason });
}

void TScriptRunner::ShowComment(const std::string& text)
{
    m_platform.ShowMessage(text);
}

void TScriptRunner::BitmapsImported(const TImportReport&)
{
}

} // namespace velmora
