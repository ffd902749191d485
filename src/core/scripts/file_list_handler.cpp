#include "scripts/file_list_handler.h"

#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "pane/path_shortening.h"
#include "programs/program_icon_groups.h"
#include "scripts/script_text.h"
#include "support/error.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iterator>

namespace velmora
{

TFileListHandler::TFileListHandler(TIconPane& pane, IPanePlatform& platform)
    : m_pane(pane)
    , m_runner(pane, platform)
{
}

void TFileListHandler::HandleDroppedFiles(const std::vector<std::string>& names)
{
    TStringList list;
    for (const std::string& name : names) {
        if (!name.empty())
            list.Add(name);
    }
    if (list.Count() > 0)
        TakeFileList(list);
}

void TFileListHandler::HandleCommandLine(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return;
    // A file manager that opens icons with the program names them here: they are opened, not
    // handed to the bitmap import, which would ignore them.
    if (std::all_of(arguments.begin(), arguments.end(),
            [](const std::string& argument) { return IsIconFileName(argument); })) {
        OpenIconFiles(arguments);
        return;
    }
    TStringList list;
    for (const std::string& argument : arguments)
        list.Add(argument);
    TakeFileList(list);
}

void TFileListHandler::OpenIconFiles(const std::vector<std::string>& names)
{
    // Files that arrive while a command of a pane runs would replace its document under it.
    const TIconPane::TCommandGuard guard(m_pane, m_pane.PartnerPane());
    if (!guard.Acquired())
        return;
    TIconPane* const panes[] = { &m_pane, m_pane.PartnerPane() };
    std::exception_ptr firstError;
    for (size_t i = 0; i < names.size() && i < std::size(panes); ++i) {
        if (!panes[i])
            continue;
        // A damaged first file must not keep the second one out of its pane.
        try {
            panes[i]->OpenIconFile(names[i], true);
        } catch (...) {
            if (!firstError)
                firstError = std::current_exception();
        }
    }
    // After both: a pane's actions depend on the other pane's images too.
    for (TIconPane* pane : panes) {
        if (pane)
            pane->UpdateActions();
    }
    if (firstError)
        std::rethrow_exception(firstError);
}

void TFileListHandler::TakeFileList(const TStringList& list)
{
    // A drop that arrives while a command of the pane runs (the command lets pending events
    // through) would act on the pane in the middle of it: it is dropped.
    const TIconPane::TCommandGuard guard(m_pane);
    if (!guard.Acquired())
        return;
    if (TryRunScript(list))
        return;
    const TIconPane::TChangeScope change(m_pane, Messages::StepImport);
    m_pane.ImportBitmapFiles(list);
}

bool TFileListHandler::TryRunScript(const TStringList& list)
{
    if (list.Count() == 0 || !IsScriptFileName(list[0]))
        return false;
    // The run may open and close icons: the user's unsaved work is asked about first, and the
    // whole run is one step that undo takes back. A missing script changes nothing to ask about.
    std::error_code error;
    if (std::filesystem::is_regular_file(list[0], error)) {
        if (!m_pane.QuerySaveChanges())
            return true;
        const size_t slash = list[0].find_last_of(PathSeparator);
        const std::string name = slash == std::string::npos ? list[0] : list[0].substr(slash + 1);
        const TIconPane::TChangeScope scope(
            m_pane, FormatText(Messages::StepRunScript, { name }), true, true);
        m_runner.ReportScriptResult(m_runner.RunScriptFile(list[0]));
    } else {
        m_runner.ReportScriptResult(m_runner.RunScriptFile(list[0]));
    }
    return true;
}

bool TFileListHandler::IsScriptFileName(std::string_view name)
{
    return name.find(ScriptFileNameMark) != std::string_view::npos;
}

bool TFileListHandler::IsIconFileName(std::string_view name)
{
    // Icons, cursors, animated cursors and the groups of programs all open as documents; a
    // program may be named in the Windows form "setup.exe,-101".
    const std::string file = ParseProgramIconReference(std::string(name)).File;
    if (file.size() != name.size())
        name = name.substr(0, file.size());
    for (const std::string_view extension : { ".ico", ".cur", ".ani", ".exe", ".dll", ".mun",
             ".icl", ".cpl", ".ocx", ".scr", ".sys", ".efi" }) {
        if (name.size() < extension.size())
            continue;
        const std::string_view end = name.substr(name.size() - extension.size());
        // ASCII letters only: the locale must not decide what an extension is.
        if (std::equal(end.begin(), end.end(), extension.begin(), [](char a, char b) {
                return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
            }))
            return true;
    }
    return false;
}

} // namespace velmora
