// velmora-icon: the command-line tool over the icon core.

#include "cli_output.h"
#include "commands.h"
#include "velmora_version.h"

#include <cstring>
#include <map>

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
      "  extract [--background RRGGBB] [--png] ICON OUTDIR\n"
      "                          write every image as a bitmap or PNG file\n"
      "  build -o OUT.ico [--into ICON] [FILE...]\n"
      "                          make an icon file from bitmap and PNG files\n"
      "                          (--sizes N,N,... PICTURE: each size from one picture)\n"
      "  run SCRIPT              run a script file of icon commands\n"
      "  check [--json] FILE...  find what Windows and browsers trip on in icon files\n"
      "                          (--fix -o OUT FILE: write a repaired copy)\n"
      "\n"
      "Options:\n"
      "  --help      show this help (velmora-icon COMMAND --help for a command)\n"
      "  --version   show the version\n";

struct TCommand {
    int (*Run)(const Arguments&);
};

} // namespace

static int RunCommand(int argc, char** argv)
{
    const std::map<std::string, TCommand> commands = {
        { "info", { RunInfo } },
        { "extract", { RunExtract } },
        { "build", { RunBuild } },
        { "run", { RunRun } },
        { "check", { RunCheck } },
    };
    if (argc < 2) {
        WriteError(MainHelp);
        return ExitUsage;
    }
    std::string first = argv[1];
    if (first == "--help" || first == "-h") {
        WriteOut(MainHelp);
        return ExitOk;
    }
    if (first == "--version") {
        WriteOut("velmora-icon " VELMORA_VERSION_TEXT "\n");
        return ExitOk;
    }
    auto command = commands.find(first);
    if (command == commands.end()) {
        PrintError("velmora-icon: unknown command " + first);
        WriteError(MainHelp);
        return ExitUsage;
    }
    Arguments args(argv + 2, argv + argc);
    try {
        return command->second.Run(args);
    } catch (const std::exception& error) {
        PrintError(error.what());
        return ExitFailed;
    }
}

int main(int argc, char** argv)
{
    // Output that did not reach its destination makes the run a failure, whatever the command.
    return CloseStandardOutput(RunCommand(argc, argv));
}
