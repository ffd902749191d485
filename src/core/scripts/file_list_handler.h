#pragma once

#include "scripts/script_runner.h"
#include "support/string_list.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora
{

/// What the main window does with file names from outside, dropped on it or given on the
/// command line: a list whose first name marks a script file runs that script against the
/// first pane; any other list goes whole to the first pane's bitmap import.
class TFileListHandler
{
public:
    /// Works on pane (the main window's first pane) through platform (its platform).
    TFileListHandler(TIconPane& pane, IPanePlatform& platform);

    TScriptRunner& Runner() { return m_runner; }
    const TScriptRunner& Runner() const { return m_runner; }

    /// The names of a drop, in the order given: the empty ones (names the drop could not
    /// deliver) are passed over, the others go to TakeFileList. Nothing happens when no name
    /// is left.
    void HandleDroppedFiles(const std::vector<std::string>& names);
    /// The program's arguments after its own name, in order. When every argument names an
    /// icon file (IsIconFileName), OpenIconFiles opens them; any other list of at least one
    /// argument goes to TakeFileList, whole and as given.
    void HandleCommandLine(const std::vector<std::string>& arguments);
    /// Opens the first name in the first pane and a second one in its partner pane, as the
    /// panes' own Open does (the actions of both are updated after). Further names are not
    /// used: there are two panes. A file that fails to open is reported by its pane; an error
    /// raised while opening one of them is passed on after the other has been tried.
    void OpenIconFiles(const std::vector<std::string>& names);

    /// Runs the script that the first name marks, or else imports the whole list into the
    /// first pane (which takes the ".bmp" names with their mask files and ignores the rest).
    void TakeFileList(const TStringList& list);
    /// When the first name of the list marks a script file: runs that file (the other names
    /// are not used), shows the script error of a result that is no count, and returns true.
    /// Otherwise returns false and does nothing.
    bool TryRunScript(const TStringList& list);

    /// True when the name, anywhere in its full path, holds "qebscript.txt" with this letter
    /// case: "myqebscript.txt", "qebscript.txt.bak" and "/qebscript.txt/a" do, "QEBSCRIPT.TXT"
    /// does not.
    static bool IsScriptFileName(std::string_view name);
    /// True for the names of icons, cursors and animated cursors (.ico, .cur, .ani in any case).
    static bool IsIconFileName(std::string_view name);

private:
    TIconPane& m_pane;
    TScriptRunner m_runner;
};

} // namespace velmora
