#pragma once

#include <string>
#include <vector>

namespace velmora::cli
{

// Exit statuses shared by every command.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

using Arguments = std::vector<std::string>;

/// `velmora-icon info [--json] FILE...`
int RunInfo(const Arguments& args);
extern const char* const InfoHelp;

/// `velmora-icon extract [--background RRGGBB] [--png] ICON OUTDIR`
int RunExtract(const Arguments& args);
extern const char* const ExtractHelp;

/// `velmora-icon build -o OUT.ico [--into ICON] [FILE...]`
int RunBuild(const Arguments& args);
extern const char* const BuildHelp;

/// `velmora-icon run SCRIPT`
int RunRun(const Arguments& args);
extern const char* const RunHelp;

/// `velmora-icon check [--json] FILE...`, `velmora-icon check --fix -o OUT FILE [--add-sizes]`
int RunCheck(const Arguments& args);
extern const char* const CheckHelp;

} // namespace velmora::cli
