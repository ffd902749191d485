#pragma once

#include "command_line.h"

#include <string>
#include <vector>

namespace velmora::cli
{

// Exit statuses shared by every command.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

// Each command adds its subcommand, options and help text to the tool in its own file, and
// answers what it runs once they are parsed.

/// `velmora-icon info [--json] FILE...`
TCommand SetupInfo(CLI::App& tool);

/// `velmora-icon extract [--background RRGGBB] [--png] ICON OUTDIR`
TCommand SetupExtract(CLI::App& tool);

/// `velmora-icon build -o OUT.ico [--into ICON] [FILE...]`
TCommand SetupBuild(CLI::App& tool);

/// `velmora-icon run SCRIPT`
TCommand SetupRun(CLI::App& tool);

} // namespace velmora::cli
