#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "pane/path_shortening.h"
#include "support/error.h"

#include <algorithm>
#include <array>

namespace velmora
{

namespace
{

// Extensions of pictures and other icon-like files: a name ending in one of them would hold
// an .ico file under a name that promises something else.
constexpr std::array<std::string_view, 14> PictureExtensions { "ani", "bmp", "cur", "dib", "gif",
    "jpeg", "jpg", "png", "svg", "tif", "tiff", "webp", "xpm", "icns" };

// The extension of a file name in lower case, without its dot; empty when it has none.
std::string LowerExtension(const std::string& fileName)
{
    const size_t slash = fileName.find_last_of(PathSeparator);
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == 0
        || dot + 1 == fileName.size())
        return {};
    std::string extension = fileName.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
        [](unsigned char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : char(c); });
    return extension;
}

} // namespace

bool TIconPane::HasOwnFileName() const
{
    const std::string& name = m_iconDirectory.FileName();
    return !name.empty() && name != Messages::NewDocumentName && name != NewIconFileName()
        && name != m_programDocumentName;
}

void TIconPane::SaveIconAs(std::string_view title)
{
    // The dialog offers the document's kind first; a name gets that kind's extension.
    TFileDialogSetup setup = SaveDialogSetup(m_iconDirectory.Kind(), std::string(title));
    setup.InitialName = HasOwnFileName() ? m_iconDirectory.FileName() : std::string();
    if (!m_programDocumentName.empty() && m_iconDirectory.FileName() == m_programDocumentName)
        setup.InitialName = m_programSaveName + "." + setup.DefaultExt;
    const std::string own = setup.DefaultExt;
    for (;;) {
        const std::optional<std::string> file = m_platform.SaveFileDialog(setup);
        if (!file)
            return;
        const std::string extension = LowerExtension(*file);
        if (extension != own
            && std::find(PictureExtensions.begin(), PictureExtensions.end(), extension)
                != PictureExtensions.end()) {
            m_platform.ShowMessage(
                FormatText(Messages::SaveNotIconExtension, { *file, extension }));
            setup.InitialName = *file;
            continue;
        }
        SaveIconFile(extension == own ? *file : *file + "." + own);
        return;
    }
}

} // namespace velmora
