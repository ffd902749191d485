// velmora-icon run: runs a script file against a pane without a window, with the same script
// runner that the desktop program uses for its first pane.

#include "cli_output.h"
#include "cli_pane_platform.h"
#include "commands.h"
#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "scripts/script_runner.h"
#include "support/error.h"

namespace velmora::cli
{

const char* const RunHelp
    = "Usage: velmora-icon run SCRIPT\n"
      "\n"
      "Runs the script file SCRIPT (whatever its name) as the desktop program runs a script\n"
      "against its first pane. Line 1 must contain \"velmora icon manager script file\" in any\n"
      "letter case. Lines beginning with \";\" are comments. Every other line that contains\n"
      "one of these words (any letter case; the first of this order decides) is a command:\n"
      "\n"
      "  OpenIcon FILE        open the icon file FILE\n"
      "  ImportBitmaps FOLDER/MASKS\n"
      "                       import the bitmaps of FOLDER and all its subfolders that match\n"
      "                       one of the \";\"-separated MASKS (as *.bmp;*.dib); without a\n"
      "                       FOLDER the search starts in the current directory\n"
      "  SaveIcon FILE        save the icon as FILE\n"
      "  CloseIcon            empty the icon\n"
      "  ShowComment TEXT     print TEXT on standard output\n"
      "\n"
      "The parameter is the rest of the line, blanks included, without quotes; relative names\n"
      "are relative to the current directory. A failing command says why on standard error and\n"
      "the script goes on. No question is asked: an import that meets a size and depth the\n"
      "icon already holds stops there and says so.\n"
      "\n"
      "The last line of standard output is the script's result: the number of commands run\n"
      "(an import counts the files it found), 0 when nothing was run, -1 when SCRIPT does not\n"
      "exist, -2 when its line 1 lacks the header text.\n"
      "\n"
      "  -h, --help  show this help\n"
      "\n"
      "Exit status: 0 for a result above 0, also when a command failed; 1 for a result of 0,\n"
      "-1 or -2 (with the script error on standard error) and for an error that ends the run,\n"
      "such as an unreadable script file (then no result is printed); 2 for a usage error.\n";

namespace
{

constexpr std::string_view Prefix = "velmora-icon run: ";

int Usage(const std::string& problem)
{
    return UsageError("run", problem);
}

/// The script runner of the command line: comments go to standard output, and an import that
/// stopped at a format the icon holds is told on standard error, since no one is asked.
class TCliScriptRunner : public TScriptRunner
{
public:
    using TScriptRunner::TScriptRunner;

protected:
    void ShowComment(const std::string& text) override
    {
        // Flushed, so that comments and messages keep their order in a shared log.
        WriteOut(PlainLineEnds(text) + "\n");
        FlushOut();
    }

    void BitmapsImported(const TImportReport& report) override
    {
        if (!report.Stopped)
            return;
        for (const TImportFileReport& file : report.Files) {
            if (file.Outcome != TImportOutcome::FormatExists)
                continue;
            std::string why = FormatText(Messages::BuildFormatExists, { file.Reason });
            why += Messages::BuildImportStopped;
            std::string line(Prefix);
            line += FormatText(Messages::BuildFileNotImported, { file.FileName, why });
            PrintError(line);
        }
    }
};

int RunRun(const std::vector<std::string>& scripts)
{
    if (scripts.empty())
        return Usage("the script file is missing");
    if (scripts.size() > 1)
        return Usage("only one script file can be given");

    TCliPanePlatform platform;
    TIconPane pane(platform);
    pane.SetIconNumber(1);
    pane.UpdateActions();
    TCliScriptRunner runner(pane, platform);
    const int result = runner.RunScriptFile(scripts.front());
    runner.ReportScriptResult(result);
    WriteOut(std::to_string(result) + "\n");
    FlushOut();
    return result > 0 ? ExitOk : ExitFailed;
}

} // namespace

TCommand SetupRun(CLI::App& tool)
{
    CLI::App* app = AddCommand(tool, "run", RunHelp);
    auto scripts = std::make_shared<std::vector<std::string>>();
    app->add_option("SCRIPT", *scripts);
    return { app, [scripts] { return RunRun(*scripts); } };
}

} // namespace velmora::cli
