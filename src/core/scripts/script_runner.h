#pragma once

#include "pane/import_report.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora
{

class IPanePlatform;
class TIconPane;

/// Runs script files of batch commands against an icon pane (the main window's first pane).
///
/// A script file is text whose line 1 holds the header text; every line (line 1 included)
/// whose first character is not ";" is trimmed and, when it contains one of the command words
/// "OpenIcon", "ImportBitmaps", "SaveIcon", "CloseIcon" or "ShowComment" (tested in that order,
/// letter case aside), runs that command with the rest of the line as its parameter. The
/// commands report their failures through the pane's own messages and never stop the script;
/// an error raised inside one ends the run and passes to the caller.
class TScriptRunner
{
public:
    /// RunScriptFile: no file of that name exists (or it is a folder).
    static constexpr int ResultFileNotFound = -1;
    /// RunScriptFile: the file is empty, or its line 1 lacks the header text.
    static constexpr int ResultHeaderNotFound = -2;
    /// RunScriptFile: the header was found, but the counts of all lines add up to 0.
    static constexpr int ResultNothingRun = 0;
    /// The largest script file that is read; a script is a short text, and a larger file is
    /// refused with an error rather than read into memory.
    static constexpr uint64_t MaxScriptFileSize = 16 * 1024 * 1024;

    /// Runs commands against pane, and shows messages and processes pending events through
    /// platform (the pane's own platform).
    TScriptRunner(TIconPane& pane, IPanePlatform& platform);
    virtual ~TScriptRunner();
    TScriptRunner(const TScriptRunner&) = delete;
    TScriptRunner& operator=(const TScriptRunner&) = delete;

    TIconPane& Pane() { return m_pane; }
    IPanePlatform& Platform() { return m_platform; }

    /// Runs the script file and returns the sum of the counts of its command lines, or one of
    /// the codes ResultFileNotFound, ResultHeaderNotFound, ResultNothingRun. Raises the error
    /// of a file that exists but cannot be read or is larger than MaxScriptFileSize, and any
    /// error raised inside a command; no message is shown then.
    int RunScriptFile(const std::string& fileName);

    /// Runs one trimmed, non-empty line: the first command word of the order that occurs in
    /// the line decides. Returns the command's count: 1 for "OpenIcon", "SaveIcon" and
    /// "ShowComment" with a parameter (0 without one, when nothing is done), the number of
    /// names found for "ImportBitmaps", 1 for "CloseIcon"; 0 for a line without a command word.
    int ExecuteScriptLine(std::string_view line);

    /// Shows the script error message for the results ResultFileNotFound, ResultHeaderNotFound
    /// and ResultNothingRun; nothing for a result above 0.
    void ReportScriptResult(int result);
    /// The script error message of a result; empty for a result above 0.
    static std::string ScriptErrorText(int result);

    /// The name of the script file last run, set once the file has been found and before it
    /// is read; empty before the first run.
    const std::string& ScriptFileName() const { return m_scriptFileName; }

protected:
    /// Shows the text of a "ShowComment" line and returns when it has been seen; by default
    /// as a message of the platform.
    virtual void ShowComment(const std::string& text);
    /// Tells what the quiet import of an "ImportBitmaps" line did with its files; by default
    /// nothing (the pane has shown its own messages).
    virtual void BitmapsImported(const TImportReport& report);

private:
    int ImportBitmaps(const std::string& parameter);

    TIconPane& m_pane;
    IPanePlatform& m_platform;
    std::string m_scriptFileName;
};

} // namespace velmora
