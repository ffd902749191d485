#include "graphics/picture_file.h"
#include "icons/icon_directory.h"
#include "messages/messages.h"
#include "support/error.h"

#include <cstdio>
#include <map>
#include <set>
#include <tuple>

namespace velmora
{

namespace
{

// Fixed-width upper-case hexadecimal, so that sorting the texts sorts by number.
std::string Hex8(uint32_t value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

bool HasIcon(const TIconDirectoryImage* image)
{
    return image && image->Icon && !image->Icon->Empty();
}

} // namespace

int TIconDirectory::CopyImageInto(const TIconDirectoryImage* source,
    const TIconDirectoryEntry* sourceEntry, int index, int noIconCode, int noEntryCode,
    int noEntryStatus, int tooManyCode)
{
    if (!HasIcon(source))
        return noIconCode;
    if (sourceEntry
        && FindFormat(sourceEntry->BitCount, sourceEntry->Width, sourceEntry->Height) >= 0)
        return ResultFormatExists;
    if (m_count >= MaxImages)
        return tooManyCode;

    auto image = std::make_unique<TIconDirectoryImage>();
    Bytes stream;
    source->Icon->SaveToStream(stream);
    image->Icon->LoadFromStream(std::move(stream));
    image->Header = source->Header;
    auto entry = std::make_unique<TIconDirectoryEntry>();
    if (!entry->Assign(sourceEntry)) {
        m_status = noEntryStatus;
        return noEntryCode;
    }
    if (!IsCursor())
        entry->HotspotX = entry->HotspotY = 0;

    auto position = static_cast<size_t>(index);
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(position), std::move(entry));
    m_images.insert(m_images.begin() + static_cast<std::ptrdiff_t>(position), std::move(image));
    ++m_count;
    RecalcOffsets();
    m_status = ResultOk;
    return ResultOk;
}

int TIconDirectory::AddImage(
    const TIconDirectoryImage* source, const TIconDirectoryEntry* sourceEntry)
{
    return CopyImageInto(source, sourceEntry, m_count, ResultAddNoSourceIcon,
        ResultAddNoSourceEntry, ResultAddNoSourceIcon, ResultAddTooManyImages);
}

int TIconDirectory::InsertImage(
    const TIconDirectoryImage* source, const TIconDirectoryEntry* sourceEntry, int index)
{
    if (index >= m_count)
        return AddImage(source, sourceEntry);
    // A negative position is the list's index error, as for GetEntry.
    if (index < 0)
        throw EListError(FormatText(Messages::ListIndexOutOfBounds, { std::to_string(index) }));
    return CopyImageInto(source, sourceEntry, index, ResultInsertNoSourceIcon,
        ResultInsertNoSourceEntry, ResultInsertNoSourceStatus, ResultInsertTooManyImages);
}

int TIconDirectory::DeleteImage(int index)
{
    if (index >= m_count)
        return ResultDeleteBadIndex;
    CheckIndex(index);
    auto position = static_cast<std::ptrdiff_t>(index);
    m_entries.erase(m_entries.begin() + position);
    m_images.erase(m_images.begin() + position);
    --m_count;
    if (m_count > 0)
        RecalcOffsets();
    m_status = ResultOk;
    return ResultOk;
}

int TIconDirectory::DeleteImages(const std::vector<int>& indices)
{
    // One pass over the images and one layout of the offsets, however many go.
    std::vector<bool> doomed(m_entries.size(), false);
    for (int index : indices)
        if (index >= 0 && index < m_count)
            doomed[static_cast<size_t>(index)] = true;
    size_t kept = 0;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (doomed[i])
            continue;
        m_entries[kept] = std::move(m_entries[i]);
        m_images[kept] = std::move(m_images[i]);
        ++kept;
    }
    m_entries.resize(kept);
    m_images.resize(kept);
    m_count = static_cast<uint16_t>(kept);
    if (m_count > 0)
        RecalcOffsets();
    m_status = ResultOk;
    return ResultOk;
}

int TIconDirectory::FindFormat(int bitCount, int width, int height) const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const auto& entry = *m_entries[i];
        if (entry.BitCount == bitCount && entry.Width == width && entry.Height == height)
            return static_cast<int>(i);
    }
    return -1;
}

void TIconDirectory::GetColorDepthList(TStringList& list) const
{
    if (m_count == 0)
        return;
    list.Clear();
    // A set finds the texts already present: the list holds each distinct text once.
    std::set<std::string> seen;
    for (const auto& entry : m_entries) {
        std::string line = Hex8(entry->BitCount);
        if (seen.insert(line).second)
            list.Add(std::move(line));
    }
    list.Sort();
}

void TIconDirectory::GetSizeList(TStringList& list) const
{
    if (m_count == 0)
        return;
    list.Clear();
    std::set<std::string> seen;
    for (const auto& entry : m_entries) {
        std::string line = Hex8(static_cast<uint32_t>(entry->ImageWidth())) + "|"
            + Hex8(static_cast<uint32_t>(entry->ImageHeight()));
        if (seen.insert(line).second)
            list.Add(std::move(line));
    }
    list.Sort();
}

void TIconDirectory::GetFormatList(TStringList& list) const
{
    if (m_count == 0)
        return;
    list.Clear();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const auto& entry = *m_entries[i];
        list.Add(Hex8(entry.BitCount) + "|" + Hex8(static_cast<uint32_t>(entry.ImageWidth())) + "|"
            + Hex8(static_cast<uint32_t>(entry.ImageHeight())) + "|" + std::to_string(i));
    }
    list.Sort();
}

int32_t TIconDirectory::HexToInt(std::string_view text)
{
    uint32_t value = 0;
    for (char c : text) {
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<uint32_t>(c - 'a' + 10);
        else
            throw EConvertError(std::string(Messages::IllegalHexCharacter));
        value = value * 16 + digit; // more than 8 digits wrap around
    }
    return static_cast<int32_t>(value);
}

void TIconDirectory::SortImages()
{
    TStringList formats;
    GetFormatList(formats);
    // The search of each step looks at the image headers, from position 1 on: an image whose
    // header disagrees with its entry stays where it is. The positions of each header format
    // are kept in ordered sets, so that the first match is found without a walk over the
    // images and every exchange updates two sets.
    using THeaderFormat = std::tuple<int64_t, int64_t, int64_t>;
    const auto headerFormat = [this](size_t position) {
        const TBitmapInfoHeader& header = m_images[position]->Header;
        if (!m_images[position]->IsPng())
            return THeaderFormat { header.biBitCount, header.biWidth, header.biHeight };
        // A PNG image (the 256-pixel ones) has its size in the stream's own header, which the
        // first bytes of the data hold, and is decoded to 32 bits.
        uint8_t start[TBitmapInfoHeader::Size];
        header.ToBytes(start);
        const auto size = PngHeaderSize(ByteSpan(start, sizeof start));
        return size ? THeaderFormat { 32, int64_t { size->first }, 2 * int64_t { size->second } }
                    : THeaderFormat { 32, -1, -1 };
    };
    std::map<THeaderFormat, std::set<size_t>> positions;
    for (size_t k = 1; k < m_images.size(); ++k)
        positions[headerFormat(k)].insert(k);
    const auto move = [&](size_t from, size_t to) {
        if (from == 0 && to == 0)
            return;
        auto& set = positions[headerFormat(from)];
        if (from != 0)
            set.erase(from);
        if (to != 0)
            set.insert(to);
    };
    for (int j = 0; j < formats.Count(); ++j) {
        const std::string& line = formats[j];
        size_t bar1 = line.find('|');
        size_t bar2 = line.find('|', bar1 + 1);
        size_t bar3 = line.find('|', bar2 + 1);
        int32_t bitCount = HexToInt(std::string_view(line).substr(0, bar1));
        int32_t width = HexToInt(std::string_view(line).substr(bar1 + 1, bar2 - bar1 - 1));
        int32_t height = HexToInt(std::string_view(line).substr(bar2 + 1, bar3 - bar2 - 1));
        const auto found
            = positions.find(THeaderFormat { bitCount, width, 2 * static_cast<int64_t>(height) });
        if (found == positions.end() || found->second.empty())
            continue;
        const size_t k = *found->second.begin();
        const size_t target = static_cast<size_t>(j);
        if (k == target)
            continue;
        move(k, target);
        move(target, k);
        std::swap(m_entries[k], m_entries[target]);
        std::swap(m_images[k], m_images[target]);
    }
    RecalcOffsets();
}

} // namespace velmora
