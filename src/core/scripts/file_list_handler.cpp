#include "scripts/file_list_handler.h"

#include "pane/icon_pane.h"
#include "scripts/script_text.h"

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
    TStringList list;
    for (const std::string& argument : arguments)
        list.Add(argument);
    TakeFileList(list);
}

void TFileListHandler::TakeFileList(const TStringList& list)
{
    if (!TryRunScript(list))
        m_pane.ImportBitmapFiles(list);
}

bool TFileListHandler::TryRunScript(const TStringList& list)
{
    if (list.Count() == 0 || !IsScriptFileName(list[0]))
        return false;
    const int result = m_runner.RunScriptFile(list[0]);
    m_runner.ReportScriptResult(result);
    return true;
}

bool TFileListHandler::IsScriptFileName(std::string_view name)
{
    return name.find(ScriptFileNameMark) != std::string_view::npos;
}

} // namespace velmora
