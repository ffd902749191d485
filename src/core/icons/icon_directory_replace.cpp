#include "icons/icon_directory.h"

namespace velmora
{

bool TIconDirectory::ReplaceContent(std::vector<std::unique_ptr<TIconDirectoryEntry>> entries,
    std::vector<std::unique_ptr<TIconDirectoryImage>> images)
{
    if (entries.size() != images.size() || entries.size() > static_cast<size_t>(MaxImages))
        return false;
    m_entries = std::move(entries);
    m_images = std::move(images);
    m_count = static_cast<uint16_t>(m_entries.size());
    m_status = ResultOk;
    return true;
}

} // namespace velmora
