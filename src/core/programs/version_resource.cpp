#include "programs/version_resource.h"

#include "programs/byte_source.h"
#include "programs/elf_version_section.h"
#include "programs/pe_version_resource.h"
#include "programs/version_query.h"
#include "support/file_io.h"

#include <exception>

namespace velmora
{

TVersionResource FindVersionResource(const TByteSource& source)
{
    std::optional<Bytes> magic = source.Read(0, 4);
    if (!magic)
        return {};
    if ((*magic)[0] == 'M' && (*magic)[1] == 'Z')
        return FindPeVersionResource(source);
    if ((*magic)[0] == 0x7F && (*magic)[1] == 'E' && (*magic)[2] == 'L' && (*magic)[3] == 'F')
        return FindElfVersionSection(source);
    return {};
}

TVersionResource FindVersionResourceInFile(const std::filesystem::path& name)
{
    try {
        std::unique_ptr<TFileReader> file = TFileReader::OpenIfFile(name);
        if (!file)
            return {};
        return FindVersionResource(TByteSource(*file));
    } catch (const std::exception&) {
        // A file that exists but cannot be opened or read.
        return { TVersionResourceStatus::Damaged, {} };
    }
}

TVersionResource TakeVersionInfo(Bytes bytes)
{
    size_t length = CheckVersionInfo(bytes);
    if (length == 0)
        return { TVersionResourceStatus::Damaged, {} };
    bytes.resize(length);
    return { TVersionResourceStatus::Found, std::move(bytes) };
}

} // namespace velmora
