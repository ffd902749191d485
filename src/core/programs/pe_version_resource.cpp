#include "programs/pe_version_resource.h"

#include "programs/byte_source.h"
#include "programs/pe_image.h"
#include "programs/pe_resource_directory.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace velmora
{

namespace
{

constexpr uint32_t VersionType = 16; // RT_VERSION
constexpr uint32_t VersionInfoId = 1; // VS_VERSION_INFO
// The three tables that lead to a version resource hold no more entries than this in a real
// file.
constexpr uint32_t MaxDirectoryEntries = 3 * 4096;
// A VS_VERSIONINFO structure measures its length in 16 bits.
constexpr uint32_t MaxVersionInfoSize = 0xFFFF;

using Status = TVersionResourceStatus;

const TPeResourceEntry* FindId(const std::vector<TPeResourceEntry>& entries, uint32_t id)
{
    auto found = std::find_if(entries.begin(), entries.end(),
        [id](const TPeResourceEntry& entry) { return entry.Name == id; });
    return found == entries.end() ? nullptr : &*found;
}

// Walks type, name and language down to the data entry of the version resource and reads the
// resource.
TVersionResource ReadVersionResource(const TByteSource& source, const TPeImage& image)
{
    const TVersionResource damaged { Status::Damaged, {} };
    TPeResourceDirectory directory(source, image, MaxDirectoryEntries);

    std::optional<std::vector<TPeResourceEntry>> types = directory.Entries(0);
    if (!types)
        return damaged;
    const TPeResourceEntry* type = FindId(*types, VersionType);
    if (!type)
        return {};
    if (!type->IsDirectory())
        return damaged;

    std::optional<std::vector<TPeResourceEntry>> names = directory.Entries(type->Offset());
    if (!names)
        return damaged;
    if (names->empty())
        return {};
    const TPeResourceEntry* name = FindId(*names, VersionInfoId);
    if (!name)
        name = &names->front();
    if (!name->IsDirectory())
        return damaged;

    std::optional<std::vector<TPeResourceEntry>> languages = directory.Entries(name->Offset());
    if (!languages)
        return damaged;
    if (languages->empty())
        return {};
    const TPeResourceEntry& language = languages->front();
    if (language.IsDirectory())
        return damaged;

    std::optional<Bytes> dataEntry = directory.Read(language.Offset(), 16);
    if (!dataEntry)
        return damaged;
    if (ReadU32(dataEntry->data() + 4) == 0) // Size
        return {};
    std::optional<TFileRange> data = directory.Data(language.Offset());
    if (!data)
        return damaged;
    std::optional<Bytes> bytes
        = source.Read(data->Offset, std::min<uint64_t>(data->Size, MaxVersionInfoSize));
    if (!bytes)
        return damaged;
    return TakeVersionInfo(std::move(*bytes));
}

} // namespace

TVersionResource FindPeVersionResource(const TByteSource& source)
{
    const TPeImage image(source);
    if (image.Status() == TPeImage::TStatus::NotPe)
        return {};
    if (image.Status() == TPeImage::TStatus::Damaged)
        return { Status::Damaged, {} };
    if (!image.HasResourceDirectory())
        return {};
    if (!image.ResourceRoot() || !source.Contains(image.ResourceRoot()->Offset, 16))
        return { Status::Damaged, {} };
    return ReadVersionResource(source, image);
}

} // namespace velmora
