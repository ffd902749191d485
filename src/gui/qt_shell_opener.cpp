#include "qt_shell_opener.h"

#include <QDesktopServices>
#include <QDir>

namespace velmora
{

QUrl TQtShellOpener::TargetUrl(const std::string& fileName, const std::string& directory)
{
    const QString name = QString::fromStdString(fileName);
    if (name.isEmpty())
        return {};
    // A scheme of one letter would be a drive letter elsewhere; here it is never a link.
    const QUrl url(name, QUrl::TolerantMode);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    const QDir base = directory.empty() ? QDir::current() : QDir(QString::fromStdString(directory));
    return QUrl::fromLocalFile(QDir::cleanPath(base.absoluteFilePath(name)));
}

int TQtShellOpener::ShellExecute(TWindowHandle, const std::string& operation,
    const std::string& fileName, const std::string&, const std::string& directory, int)
{
    // The desktop's opener knows one verb: open (the default when none is given). It takes
    // no parameters and chooses its own window.
    if (!operation.empty() && operation != "open")
        return NoAssociation;
    const QUrl url = TargetUrl(fileName, directory);
    if (url.isEmpty() || !QDesktopServices::openUrl(url))
        return NoAssociation;
    return Started;
}

} // namespace velmora
