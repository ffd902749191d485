#include "programs/program_icon_groups.h"

#include "graphics/png_codec.h"
#include "icons/icon_directory.h"
#include "messages/messages.h"
#include "programs/byte_source.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace velmora
{

namespace
{

constexpr uint16_t CursorType = 1; // RT_CURSOR
constexpr uint16_t IconType = 3; // RT_ICON
constexpr uint16_t GroupCursorType = 12; // RT_GROUP_CURSOR
constexpr uint16_t GroupIconType = 14; // RT_GROUP_ICON
constexpr uint16_t WantedTypes[] = { CursorType, IconType, GroupCursorType, GroupIconType };

constexpr uint64_t GroupHeaderSize = 6;
constexpr uint64_t GroupEntrySize = 14;
constexpr uint64_t HotspotSize = 4;

std::string Num(uint64_t value)
{
    return std::to_string(value);
}

// A cursor group stores no colour count; a cursor file's entry gives the size of the image's
// palette, as other cursor writers do: biClrUsed, else 2^depth up to 8 bits, 256 stored as 0.
uint8_t CursorColorCount(const Bytes& data)
{
    if (data.size() < TBitmapInfoHeader::Size || IsPngData(data))
        return 0;
    const uint16_t depth = ReadU16(data.data() + 14); // biBitCount
    const uint32_t used = ReadU32(data.data() + 32); // biClrUsed
    const uint32_t colors = used != 0 ? used : depth <= 8 ? uint32_t { 1 } << depth : 0;
    return colors >= 256 ? 0 : static_cast<uint8_t>(colors);
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool TProgramIcons::TImageResource::operator<(const TImageResource& other) const
{
    return std::tie(Type, Id, Language, Index)
        < std::tie(other.Type, other.Id, other.Language, other.Index);
}

TProgramIcons::TProgramIcons(const TByteSource& source)
    : m_source(source)
{
    TProgramResources resources = ReadProgramResources(source, WantedTypes);
    m_format = resources.Format;
    m_resources = std::move(resources.Resources);

    // One index of the images, so that finding the image of each entry costs a search, not a
    // pass over every resource.
    for (size_t i = 0; i < m_resources.size(); ++i) {
        const TProgramResource& resource = m_resources[i];
        if ((resource.Type == IconType || resource.Type == CursorType) && !resource.Name.IsText)
            m_images.push_back({ resource.Type, resource.Name.Id, resource.Language, i });
    }
    std::sort(m_images.begin(), m_images.end());
    for (const TImageResource& image : m_images) {
        if (!m_firstImages.empty() && m_firstImages.back().Type == image.Type
            && m_firstImages.back().Id == image.Id) {
            m_firstImages.back().Index = std::min(m_firstImages.back().Index, image.Index);
            continue;
        }
        m_firstImages.push_back({ image.Type, image.Id, 0, image.Index });
    }

    uint64_t budget = MaxGroupEntries;
    for (uint16_t type : { GroupIconType, GroupCursorType }) {
        for (size_t i = 0; i < m_resources.size(); ++i) {
            const TProgramResource& resource = m_resources[i];
            if (resource.Type != type)
                continue;
            // The languages of one name follow each other: the first is read, the others
            // listed.
            if (i > 0 && m_resources[i - 1].Type == type
                && m_resources[i - 1].Name == resource.Name) {
                m_groups.back().OtherLanguages.push_back(resource.Language);
                continue;
            }
            TProgramIconGroup group;
            group.Name = resource.Name;
            group.IsCursor = type == GroupCursorType;
            group.Language = resource.Language;
            ReadGroup(resource, group, budget);
            m_groups.push_back(std::move(group));
        }
        if (type == GroupIconType)
            m_iconGroupCount = m_groups.size();
    }
}

void TProgramIcons::ReadGroup(
    const TProgramResource& resource, TProgramIconGroup& group, uint64_t& budget) const
{
    if (!resource.Present) {
        group.Problem = std::string(Messages::ProgramGroupOutside);
        return;
    }
    const uint64_t most = GroupHeaderSize + GroupEntrySize * 0xFFFF;
    std::optional<Bytes> bytes = m_source.Read(resource.Offset, std::min(resource.Size, most));
    const uint16_t wantedType = group.IsCursor ? 2 : 1;
    if (!bytes || bytes->size() < GroupHeaderSize || ReadU16(bytes->data()) != 0
        || ReadU16(bytes->data() + 2) != wantedType) {
        group.Problem = std::string(Messages::ProgramGroupNoDirectory);
        return;
    }
    // A group cut short keeps the entries it holds whole.
    const uint64_t count = std::min<uint64_t>(
        ReadU16(bytes->data() + 4), (bytes->size() - GroupHeaderSize) / GroupEntrySize);
    if (count > budget)
        throw Exception(FormatText(Messages::ProgramTooManyImages, { Num(MaxGroupEntries) }));
    budget -= count;
    group.Entries.resize(count);
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* p = bytes->data() + GroupHeaderSize + i * GroupEntrySize;
        TIconDirectoryEntry& entry = group.Entries[i].Entry;
        if (group.IsCursor) {
            entry.Width = static_cast<uint8_t>(ReadU16(p + 0)); // wWidth
            entry.Height = static_cast<uint8_t>(ReadU16(p + 2) / 2); // wHeight, mask rows too
        } else {
            entry.Width = p[0]; // bWidth
            entry.Height = p[1]; // bHeight
            entry.ColorCount = p[2]; // bColorCount
            entry.Reserved = p[3]; // bReserved
        }
        entry.Planes = ReadU16(p + 4); // wPlanes
        entry.BitCount = ReadU16(p + 6); // wBitCount
        entry.BytesInRes = ReadU32(p + 8); // dwBytesInRes
        group.Entries[i].ResourceId = ReadU16(p + 12); // nID
    }
}

std::string TProgramIconGroup::Reference() const
{
    if (Name.IsText)
        return Name.Text;
    std::string reference = std::to_string(Name.Id);
    reference.insert(reference.begin(), '-');
    return reference;
}

int TProgramIcons::FindIconGroup(const TResourceName& name) const
{
    for (size_t i = 0; i < m_iconGroupCount; ++i)
        if (m_groups[i].Name == name)
            return static_cast<int>(i);
    return -1;
}

int TProgramIcons::FindGroup(const TResourceName& name) const
{
    auto sameText = [&name](const TProgramIconGroup& group) {
        return group.Name.IsText && group.Name.Text.size() == name.Text.size()
            && std::equal(group.Name.Text.begin(), group.Name.Text.end(), name.Text.begin(),
                [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
    };
    const std::pair<size_t, size_t> ranges[]
        = { { 0, m_iconGroupCount }, { m_iconGroupCount, m_groups.size() } };
    for (const auto& [begin, end] : ranges) {
        for (size_t i = begin; i < end; ++i)
            if (m_groups[i].Name == name)
                return static_cast<int>(i);
        for (size_t i = begin; i < end && name.IsText; ++i)
            if (sameText(m_groups[i]))
                return static_cast<int>(i);
    }
    return -1;
}

const TProgramResource* TProgramIcons::FindImage(
    uint16_t type, uint16_t id, uint16_t language) const
{
    // The image in the group's language, else the first of its number in the file: programs
    // whose images carry another language than their group are common.
    auto exact = std::lower_bound(
        m_images.begin(), m_images.end(), TImageResource { type, id, language, 0 });
    if (exact != m_images.end() && exact->Type == type && exact->Id == id
        && exact->Language == language)
        return &m_resources[exact->Index];
    auto first = std::lower_bound(
        m_firstImages.begin(), m_firstImages.end(), TImageResource { type, id, 0, 0 });
    if (first != m_firstImages.end() && first->Type == type && first->Id == id)
        return &m_resources[first->Index];
    return nullptr;
}

TProgramGroupImages TProgramIcons::ReadImages(const TProgramIconGroup& group) const
{
    TProgramGroupImages result;
    result.IsCursor = group.IsCursor;
    uint64_t groupBytes = 0;
    const uint16_t type = group.IsCursor ? CursorType : IconType;
    for (size_t i = 0; i < group.Entries.size(); ++i) {
        const TProgramGroupEntry& entry = group.Entries[i];
        auto skip = [&](std::string_view why) {
            result.Notes.push_back(FormatText(Messages::ProgramImageSkipped,
                { group.Name.Display(), Num(i), Num(entry.ResourceId), why }));
        };
        const TProgramResource* resource = FindImage(type, entry.ResourceId, group.Language);
        if (!resource) {
            skip(Messages::ProgramImageMissing);
            continue;
        }
        if (!resource->Present || resource->Size == 0) {
            skip(Messages::ProgramImageEmpty);
            continue;
        }
        // The larger of the group's count and the resource's size, as other extractors do:
        // either may be the one that is too small. An NE file gives its sizes rounded up to
        // its alignment, so there the group's count, when it fits, is the exact one.
        const uint64_t stored = entry.Entry.BytesInRes;
        uint64_t size = std::max(stored, resource->Size);
        if (!resource->SizeExact && stored != 0 && stored <= resource->Size)
            size = stored;
        if (size > MaxImageBytes) {
            skip(Messages::ProgramImageTooLarge);
            continue;
        }
        groupBytes += size;
        if (groupBytes > MaxGroupBytes)
            throw Exception(FormatText(
                Messages::ProgramGroupTooLarge, { group.Name.Display(), Num(MaxGroupBytes) }));
        std::optional<Bytes> bytes
            = m_source.Read(resource->Offset, std::min(size, resource->Size));
        if (!bytes) {
            skip(Messages::ProgramImageEmpty);
            continue;
        }
        bytes->resize(size); // a shorter resource than the group says is filled with zeros
        TProgramImage image;
        image.Entry = entry.Entry;
        image.ResourceId = entry.ResourceId;
        if (group.IsCursor) {
            if (bytes->size() < HotspotSize) {
                skip(Messages::ProgramImageEmpty);
                continue;
            }
            image.HotspotX = ReadU16(bytes->data() + 0);
            image.HotspotY = ReadU16(bytes->data() + 2);
            bytes->erase(bytes->begin(), bytes->begin() + HotspotSize);
            image.Entry.ColorCount = CursorColorCount(*bytes);
        }
        if (!group.IsCursor && bytes->size() < TBitmapInfoHeader::Size && !IsPngData(*bytes)) {
            skip(Messages::ProgramImageTooShort);
            continue;
        }
        image.Data = std::move(*bytes);
        image.Entry.BytesInRes = static_cast<uint32_t>(image.Data.size());
        result.Images.push_back(std::move(image));
    }
    return result;
}

Bytes IconFileBytes(const TProgramGroupImages& images)
{
    const size_t count = images.Images.size();
    uint64_t total = GroupHeaderSize + TIconDirectoryEntry::RecordSize * count;
    for (const TProgramImage& image : images.Images)
        total += image.Data.size();
    Bytes file(GroupHeaderSize + TIconDirectoryEntry::RecordSize * count);
    file.reserve(total);
    WriteU16(file.data() + 0, 0); // idReserved
    WriteU16(file.data() + 2, images.IsCursor ? 2 : 1); // idType: cursor or icon
    WriteU16(file.data() + 4, static_cast<uint16_t>(count)); // idCount
    uint64_t offset = file.size();
    for (size_t i = 0; i < count; ++i) {
        const TProgramImage& image = images.Images[i];
        TIconDirectoryEntry entry = image.Entry;
        entry.ImageOffset = static_cast<uint32_t>(offset);
        uint8_t* record = file.data() + GroupHeaderSize + i * TIconDirectoryEntry::RecordSize;
        entry.WriteToRecord(record);
        if (images.IsCursor) {
            WriteU16(record + 4, image.HotspotX); // wXHotspot
            WriteU16(record + 6, image.HotspotY); // wYHotspot
        }
        offset += entry.BytesInRes;
    }
    for (const TProgramImage& image : images.Images)
        file.insert(file.end(), image.Data.begin(), image.Data.end());
    return file;
}

bool TakeProgramImages(
    TIconDirectory& document, const TProgramGroupImages& images, std::string name)
{
    if (images.Images.empty())
        return false;
    std::vector<std::unique_ptr<TIconDirectoryEntry>> entries;
    std::vector<std::unique_ptr<TIconDirectoryImage>> documentImages;
    for (const TProgramImage& image : images.Images) {
        auto entry = std::make_unique<TIconDirectoryEntry>(image.Entry);
        auto documentImage = std::make_unique<TIconDirectoryImage>();
        uint8_t header[TBitmapInfoHeader::Size] = {};
        std::memcpy(header, image.Data.data(), std::min(image.Data.size(), sizeof header));
        documentImage->Header = TBitmapInfoHeader::FromBytes(header);
        // A cursor's entry as loading its .cur file gives it: the hotspot, and the depth of
        // the image's own header (a PNG image is true colour with alpha).
        if (images.IsCursor) {
            entry->HotspotX = image.HotspotX;
            entry->HotspotY = image.HotspotY;
            entry->Planes = 1;
            entry->BitCount
                = IsPngData(image.Data) ? uint16_t { 32 } : documentImage->Header.biBitCount;
        }
        Bytes held;
        TIconDirectory::WriteSingleImageHeader(held, *entry);
        held.insert(held.end(), image.Data.begin(), image.Data.end());
        documentImage->Icon->LoadFromStream(std::move(held));
        entries.push_back(std::move(entry));
        documentImages.push_back(std::move(documentImage));
    }
    if (!document.ReplaceContent(std::move(entries), std::move(documentImages)))
        return false;
    document.SetKind(images.IsCursor ? TIconDirectory::EKind::Cursor : TIconDirectory::EKind::Icon);
    document.RecalcOffsets();
    document.SetFileName(std::move(name));
    return true;
}

TProgramIconReference ParseProgramIconReference(const std::string& name)
{
    TProgramIconReference reference { name, std::nullopt, std::nullopt };
    const size_t comma = name.rfind(',');
    if (comma == std::string::npos || comma == 0 || FileExists(name))
        return reference;
    std::string_view number = std::string_view(name).substr(comma + 1);
    const bool negative = !number.empty() && number[0] == '-';
    if (negative)
        number.remove_prefix(1);
    if (number.empty() || number.size() > 9
        || !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return reference;
    const uint64_t value = std::stoull(std::string(number));
    if (negative && value > 0xFFFF)
        return reference;
    reference.File = name.substr(0, comma);
    if (negative)
        reference.GroupId = static_cast<uint16_t>(value);
    else
        reference.GroupIndex = static_cast<size_t>(value);
    return reference;
}

bool IsProgramFileName(const std::string& name)
{
    try {
        std::unique_ptr<TFileReader> file = TFileReader::OpenIfFile(name);
        return file && IsProgramFile(TByteSource(*file));
    } catch (const std::exception&) {
        return false; // a file that cannot be read is no program that can be opened
    }
}

} // namespace velmora
