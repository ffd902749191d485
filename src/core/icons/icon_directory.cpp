#include "icons/icon_directory.h"

#include "graphics/png_codec.h"
#include "messages/messages.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

namespace velmora
{

namespace
{

} // namespace

bool TIconDirectoryImage::IsPng() const
{
    const Bytes& data = Icon->Data();
    return data.size() > 22 && IsPngData(ByteSpan(data).subspan(22));
}

TIconDirectory::TIconDirectory() = default;

TIconDirectory::~TIconDirectory() = default;

void TIconDirectory::Clear()
{
    if (m_count == 0)
        return;
    m_images.clear();
    m_entries.clear();
    m_count = 0;
    m_fileName.clear();
}

void TIconDirectory::SetKind(EKind kind)
{
    m_kind = kind;
    if (kind == EKind::Icon)
        for (auto& entry : m_entries)
            entry->HotspotX = entry->HotspotY = 0;
}

bool TIconDirectory::SetHotspot(int index, int x, int y)
{
    if (index < 0 || index >= m_count)
        return false;
    TIconDirectoryEntry& entry = *m_entries[static_cast<size_t>(index)];
    if (x < 0 || y < 0 || x >= entry.ImageWidth() || y >= entry.ImageHeight())
        return false;
    entry.HotspotX = static_cast<uint16_t>(x);
    entry.HotspotY = static_cast<uint16_t>(y);
    return true;
}

void TIconDirectory::CheckIndex(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_entries.size())
        || index >= static_cast<int>(m_images.size()))
        throw EListError(FormatText(Messages::ListIndexOutOfBounds, { std::to_string(index) }));
}

TIconDirectoryEntry& TIconDirectory::GetEntry(int index)
{
    CheckIndex(index);
    return *m_entries[static_cast<size_t>(index)];
}

const TIconDirectoryEntry& TIconDirectory::GetEntry(int index) const
{
    CheckIndex(index);
    return *m_entries[static_cast<size_t>(index)];
}

TIconDirectoryImage& TIconDirectory::GetImage(int index)
{
    CheckIndex(index);
    return *m_images[static_cast<size_t>(index)];
}

const TIconDirectoryImage& TIconDirectory::GetImage(int index) const
{
    CheckIndex(index);
    return *m_images[static_cast<size_t>(index)];
}

// The distinct bit counts and sizes are counted through a set: a document of thousands of
// images must not compare each with every other.
uint16_t TIconDirectory::CountColorDepths() const
{
    std::set<int> seen;
    for (const auto& entry : m_entries)
        seen.insert(entry->BitCount);
    return static_cast<uint16_t>(seen.size());
}

uint16_t TIconDirectory::CountSizes() const
{
    std::set<std::pair<int, int>> seen;
    for (const auto& entry : m_entries)
        seen.emplace(entry->ImageWidth(), entry->ImageHeight());
    return static_cast<uint16_t>(seen.size());
}

void TIconDirectory::RecalcOffsets()
{
    if (m_entries.empty())
        return;
    // 22 bytes per image, not 16: the directory is followed by 6 spare bytes per image.
    // Offsets past 4 GiB cannot be stored; they are held at the largest value, which a save
    // then refuses.
    uint64_t offset = 6 + 22 * uint64_t { m_entries.size() };
    for (auto& entry : m_entries) {
        entry->ImageOffset = static_cast<uint32_t>(std::min<uint64_t>(offset, UINT32_MAX));
        offset += entry->BytesInRes;
    }
}

void TIconDirectory::WriteSingleImageHeader(Bytes& stream, const TIconDirectoryEntry& entry)
{
    stream.resize(SingleImageHeaderSize);
    WriteSingleImageHeader(stream.data(), entry);
}

void TIconDirectory::WriteSingleImageHeader(uint8_t* out, const TIconDirectoryEntry& entry)
{
    WriteU16(out + 0, 0); // reserved(2)
    WriteU16(out + 2, 1); // type(2): icon
    WriteU16(out + 4, 1); // count(2): one image
    out[6] = entry.Width; // bWidth(1)
    out[7] = entry.Height; // bHeight(1)
    out[8] = entry.ColorCount; // bColorCount(1)
    out[9] = entry.Reserved; // bReserved(1)
    WriteU16(out + 10, entry.Planes); // wPlanes(2)
    WriteU16(out + 12, entry.BitCount); // wBitCount(2)
    WriteU32(out + 14, entry.BytesInRes); // dwBytesInRes(4)
    WriteU32(out + 18, SingleImageHeaderSize); // dwImageOffset(4): the data follows at once
}

void TIconDirectory::AppendImage(
    std::unique_ptr<TIconDirectoryEntry> entry, std::unique_ptr<TIconDirectoryImage> image)
{
    m_entries.push_back(std::move(entry));
    m_images.push_back(std::move(image));
    ++m_count;
    RecalcOffsets();
    m_status = ResultOk;
}

} // namespace velmora
