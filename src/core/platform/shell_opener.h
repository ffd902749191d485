#pragma once

#include <cstdint>
#include <string>

namespace velmora
{

/// A window of the platform, as the shell takes it; 0 for none.
using TWindowHandle = std::uintptr_t;

/// The platform shell that opens documents, web addresses and mail links with the desktop's
/// chosen programs. The GUI implements it by starting the desktop's opener detached, never
/// waiting for it; tests use a scripted one.
class IShellOpener
{
public:
    virtual ~IShellOpener() = default;

    /// The show command for a normal window.
    static constexpr int ShowNormal = 1;
    /// The value of an operation that has started.
    static constexpr int Started = 33;
    /// The value when no program takes the document or link.
    static constexpr int NoAssociation = 31;

    /// Starts an operation ("open") on a file name or link, as ShellExecuteA does. Returns
    /// more than 32 when the operation has started, otherwise the shell's reason (0 to 32).
    virtual int ShellExecute(TWindowHandle window, const std::string& operation,
        const std::string& fileName, const std::string& parameters, const std::string& directory,
        int showCommand)
        = 0;
};

} // namespace velmora
