#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <string_view>

namespace velmora::cli
{

/// One command of the tool: its CLI11 subcommand, and what it does once the command line has
/// been parsed into its options (answering the exit status).
struct TCommand {
    CLI::App* App = nullptr;
    std::function<int()> Run;
};

/// Adds the command NAME, with its --verbose (which the tool also takes before a command), to
/// the tool. Its -h and --help print help, exactly as
/// written, on standard output. A value option's description is the rest of the line that says what
/// a missing value should have been ("needs a colour"), as its usage error.
CLI::App* AddCommand(CLI::App& tool, const std::string& name, std::string_view help);

/// True when --verbose was given: a failure then also shows the whole nested chain of texts
/// after its one-line reason.
bool Verbose();

/// Gives an app (the tool itself or a command) help printed exactly as written.
void SetHelpText(CLI::App& app, std::string_view help);

/// The one line that says why CLI11 refused the command line of app, in the tool's words.
std::string UsageProblem(const CLI::ParseError& error, const CLI::App& app);

} // namespace velmora::cli
