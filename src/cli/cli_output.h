#pragma once

#include <string>
#include <string_view>

namespace velmora::cli
{

/// The text with every "\r\n" turned into a plain "\n", as a terminal expects.
std::string PlainLineEnds(std::string_view text);

/// Writes a message line to standard error with plain line ends.
void PrintError(std::string_view text);

/// Reports a usage error of a command ("velmora-icon COMMAND: problem") and the command's help
/// on standard error; returns the usage exit status.
int UsageError(std::string_view command, std::string_view problem, std::string_view help);

/// A JSON string literal of the text (quotes included).
std::string JsonString(std::string_view text);

} // namespace velmora::cli
