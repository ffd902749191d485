#pragma once

#include <string>

namespace velmora
{

class TVersionInfo;

/// The full file name of the running program, the target of /proc/self/exe. When that file
/// is gone (an update replaced it while the program runs) or the link cannot be read, the name
/// "/proc/self/exe" itself, which still reaches the program that is running.
std::string RunningProgramFileName();

/// Reads the running program's own version information, the structure that the build embeds
/// in its executable, with info's LoadFromFile; LoadFromFile's result.
int LoadRunningProgramVersion(TVersionInfo& info);

} // namespace velmora
