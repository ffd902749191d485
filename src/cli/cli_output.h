#pragma once

#include <string>
#include <string_view>

namespace velmora::cli
{

/// The text with every "\r\n" turned into a plain "\n", as a terminal expects.
std::string PlainLineEnds(std::string_view text);

/// Writes a message line to standard error with plain line ends.
void PrintError(std::string_view text);

/// A JSON string literal of the text (quotes included).
std::string JsonString(std::string_view text);

} // namespace velmora::cli
