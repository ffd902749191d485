#include "programs/program_resources.h"

#include "messages/messages.h"
#include "programs/byte_source.h"
#include "programs/ne_resource_table.h"
#include "programs/pe_image.h"
#include "programs/pe_resource_directory.h"
#include "support/error.h"

#include <algorithm>

namespace velmora
{

namespace
{

constexpr uint64_t NewHeaderOffsetField = 0x3C; // e_lfanew

[[noreturn]] void Damaged(std::string_view why)
{
    throw Exception(FormatText(Messages::ProgramTableDamaged, { why }));
}

TResourceName EntryName(const TPeResourceDirectory& directory, const TPeResourceEntry& entry)
{
    TResourceName name;
    if (!entry.HasTextName()) {
        name.Id = static_cast<uint16_t>(entry.Name);
        return name;
    }
    std::optional<std::string> text = directory.NameText(entry);
    if (!text)
        Damaged("a resource name lies outside the resource section");
    name.IsText = true;
    name.Text = std::move(*text);
    return name;
}

// The entries of a subdirectory; raises when it cannot be read.
std::vector<TPeResourceEntry> SubEntries(
    TPeResourceDirectory& directory, const TPeResourceEntry& entry)
{
    if (!entry.IsDirectory())
        Damaged("a resource type or name is no directory");
    std::optional<std::vector<TPeResourceEntry>> entries = directory.Entries(entry.Offset());
    if (entries)
        return std::move(*entries);
    if (directory.Exhausted())
        throw Exception(FormatText(Messages::ProgramTooManyResources,
            { std::to_string(TProgramResources::MaxResources) }));
    Damaged("a resource directory lies outside the resource section");
}

std::vector<TProgramResource> ReadPeResources(
    const TByteSource& source, const TPeImage& image, std::span<const uint16_t> types)
{
    if (!image.HasResourceDirectory())
        return {};
    if (!image.ResourceRoot())
        Damaged("the resource directory lies in no section");
    TPeResourceDirectory directory(source, image, TProgramResources::MaxResources);
    std::optional<std::vector<TPeResourceEntry>> root = directory.Entries(0);
    if (!root)
        Damaged("the resource directory lies outside the resource section");

    std::vector<TProgramResource> resources;
    for (const TPeResourceEntry& type : *root) {
        if (type.HasTextName() || std::find(types.begin(), types.end(), type.Name) == types.end())
            continue;
        for (const TPeResourceEntry& name : SubEntries(directory, type)) {
            const TResourceName resourceName = EntryName(directory, name);
            for (const TPeResourceEntry& language : SubEntries(directory, name)) {
                if (language.IsDirectory())
                    Damaged("a resource language is a directory");
                TProgramResource resource;
                resource.Type = static_cast<uint16_t>(type.Name);
                resource.Name = resourceName;
                resource.Language = static_cast<uint16_t>(language.Name);
                if (std::optional<TFileRange> data = directory.Data(language.Offset())) {
                    resource.Offset = data->Offset;
                    resource.Size = data->Size;
                } else {
                    resource.Present = false;
                }
                resources.push_back(std::move(resource));
            }
        }
    }
    return resources;
}

} // namespace

bool IsProgramFile(const TByteSource& source)
{
    std::optional<Bytes> magic = source.Read(0, 2);
    return magic && (*magic)[0] == 'M' && (*magic)[1] == 'Z';
}

TProgramResources ReadProgramResources(const TByteSource& source, std::span<const uint16_t> types)
{
    TProgramResources result;
    const TPeImage image(source);
    if (image.Status() == TPeImage::TStatus::Read) {
        result.Format = image.Is64Bit() ? TProgramFormat::Pe32Plus : TProgramFormat::Pe32;
        result.Resources = ReadPeResources(source, image, types);
        return result;
    }
    if (image.Status() == TPeImage::TStatus::Damaged)
        Damaged("its PE headers or section table are damaged");
    std::optional<Bytes> dos = source.Read(0, 64);
    if (!dos || (*dos)[0] != 'M' || (*dos)[1] != 'Z')
        throw Exception(std::string(Messages::NotAProgram));
    const uint32_t neOffset = ReadU32(dos->data() + NewHeaderOffsetField);
    std::optional<Bytes> signature = source.Read(neOffset, 2);
    if (!signature || (*signature)[0] != 'N' || (*signature)[1] != 'E')
        throw Exception(std::string(Messages::NotAProgram));
    result.Format = TProgramFormat::Ne;
    result.Resources = ReadNeResources(source, neOffset, types);
    return result;
}

} // namespace velmora
