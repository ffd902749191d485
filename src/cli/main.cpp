// velmora-icon: the command-line tool over the icon core.

#include "cli_output.h"
#include "commands.h"
#include "velmora_version.h"

namespace
{

using namespace velmora::cli;

const char* const MainHelp
    = "Usage: velmora-icon COMMAND [OPTIONS] ARGS...\n"
      "\n"
      "Inspects and converts Windows icon files (.ico).\n"
      "\n"
      "Commands:\n"
      "  info [--json] FILE...   describe the images of icon files\n"
      "  extract [--background RRGGBB] [--png] [--index N,N,...] [--size WxH]\n"
      "          [--depth BPP] ICON OUTDIR\n"
      "                          write every (or each selected) image as a bitmap or PNG\n"
      "                          file; OUTDIR - writes the one selected image to stdout\n"
      "  build -o OUT.ico [--into ICON] [FILE...]\n"
      "                          make an icon file from bitmap and PNG files\n"
      "                          (--sizes N,N,... PICTURE: each size from one picture;\n"
      "                          --each OUTDIR PICTURE...: one icon per picture)\n"
      "  run SCRIPT              run a script file of icon commands\n"
      "  check [--json] FILE...  find what Windows and browsers trip on in icon files\n"
      "                          (--fix -o OUT FILE: write a repaired copy)\n"
      "\n"
      "A FILE or ICON of - is standard input, -o - standard output.\n"
      "\n"
      "Options:\n"
      "  -h, --help  show this help (velmora-icon COMMAND --help for a command)\n"
      "  --version   show the version\n";

} // namespace

static int RunCommand(int argc, char** argv)
{
    CLI::App tool("", "velmora-icon");
    SetHelpText(tool, MainHelp);
    bool version = false;
    tool.add_flag("--version", version);
    tool.require_subcommand(0, 1);
    const std::vector<TCommand> commands = { SetupInfo(tool), SetupExtract(tool), SetupBuild(tool),
        SetupRun(tool), SetupCheck(tool) };
    try {
        tool.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // The innermost command named on the line is the one the error or the help is about.
        const CLI::App* app = &tool;
        while (!app->get_subcommands().empty())
            app = app->get_subcommands().front();
        if (dynamic_cast<const CLI::CallForHelp*>(&error)
            || dynamic_cast<const CLI::CallForAllHelp*>(&error)) {
            WriteOut(app->help());
            return ExitOk;
        }
        return UsageError(app->get_parent() ? app->get_name() : "", UsageProblem(error, *app));
    }
    if (version) {
        WriteOut("velmora-icon " VELMORA_VERSION_TEXT "\n");
        return ExitOk;
    }
    if (tool.get_subcommands().empty())
        return UsageError("", "a COMMAND is missing");
    for (const TCommand& command : commands) {
        if (command.App->parsed()) {
            try {
                return command.Run();
            } catch (const std::exception& error) {
                PrintError(error.what());
                return ExitFailed;
            }
        }
    }
    return ExitUsage;
}

int main(int argc, char** argv)
{
    // Output that did not reach its destination makes the run a failure, whatever the command.
    return CloseStandardOutput(RunCommand(argc, argv));
}
