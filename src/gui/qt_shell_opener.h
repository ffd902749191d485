#pragma once

#include "platform/shell_opener.h"

#include <QUrl>

namespace velmora
{

/// The desktop's opener behind the shell interface: it hands a link or a file to
/// QDesktopServices, which starts the desktop's chosen program detached and never waits for
/// it. Started gives 33; a link that nothing takes, or an operation other than opening, 31.
class TQtShellOpener : public IShellOpener
{
public:
    int ShellExecute(TWindowHandle window, const std::string& operation,
        const std::string& fileName, const std::string& parameters, const std::string& directory,
        int showCommand) override;

    /// The address that a file name or link stands for: a link with a scheme as it is, a file
    /// name as a local file, relative names taken from directory (or the working directory).
    static QUrl TargetUrl(const std::string& fileName, const std::string& directory);
};

} // namespace velmora
