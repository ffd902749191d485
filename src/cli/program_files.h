#pragma once

#include "cli_output.h"

#include <optional>
#include <string>

namespace velmora::cli
{

/// True when the name (or its file, in the form "setup.exe,-101") is a Windows program.
bool NamesProgram(const std::string& name);

/// Describes the icon and cursor groups of a program for `info`, as text or as one JSON
/// object. False when the program cannot be read (the reason is on standard error).
bool DescribeProgram(TTextBuffer& out, const std::string& name, bool json);

/// What `extract` writes of a program.
struct TProgramExtract {
    std::string Name; // the program, possibly in the form "setup.exe,-101"
    std::string OutDir; // "-": one group as an icon file to standard output
    std::optional<std::string> Group; // --group: a number or a name
    std::optional<size_t> GroupIndex; // --group-index
    bool Png = false;
};

/// Writes the program's icon groups as icon files NAME-GROUP.ico (or their images as PNG
/// files NAME-GROUP-INDEX.png); the exit status.
int ExtractProgram(const TProgramExtract& request);

} // namespace velmora::cli
