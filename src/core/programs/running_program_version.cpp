#include "programs/running_program_version.h"

#include "programs/version_info.h"

#include <filesystem>
#include <string_view>

namespace velmora
{

std::string RunningProgramFileName()
{
    constexpr std::string_view self = "/proc/self/exe";
    constexpr std::string_view deleted = " (deleted)";
    std::error_code error;
    std::string name = std::filesystem::read_symlink(self, error).string();
    if (error || name.empty() || name.ends_with(deleted))
        return std::string(self);
    return name;
}

int LoadRunningProgramVersion(TVersionInfo& info)
{
    return info.LoadFromFile(RunningProgramFileName());
}

} // namespace velmora
