// Files from outside: the names of a drop and the command-line arguments go to the core's
// file-list handling over the first pane, which runs a script or imports bitmaps.

#include "frame_icon_directory.h"
#include "main_window.h"
#include "scripts/file_list_handler.h"

#include <QFile>

namespace velmora
{

namespace
{

// Names as the file system spells them: the local 8-bit encoding, which is UTF-8 here.
std::vector<std::string> FileNames(const QStringList& names)
{
    std::vector<std::string> result;
    result.reserve(static_cast<size_t>(names.size()));
    for (const QString& name : names) {
        const QByteArray bytes = QFile::encodeName(name);
        result.emplace_back(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    return result;
}

} // namespace

TFileListHandler& TFormQEBMain::FileListHandler()
{
    if (!m_fileListHandler) {
        // The first pane is also the platform that shows the script's messages and lets
        // pending events run after "CloseIcon".
        m_fileListHandler = std::make_shared<TFileListHandler>(m_frameIcon1->Pane(), *m_frameIcon1);
    }
    return *m_fileListHandler;
}

std::string TFormQEBMain::ScriptFileName() const
{
    return m_fileListHandler ? m_fileListHandler->Runner().ScriptFileName() : std::string();
}

void TFormQEBMain::HandleCommandLine(const QStringList& arguments)
{
    FileListHandler().HandleCommandLine(FileNames(arguments));
}

void TFormQEBMain::HandleDroppedFiles(const QStringList& files)
{
    FileListHandler().HandleDroppedFiles(FileNames(files));
}

} // namespace velmora
