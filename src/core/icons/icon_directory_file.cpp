// Reading and writing icon files.

#include "graphics/icon_decoder.h"
#include "graphics/png_codec.h"
#include "icons/icon_directory.h"
#include "icons/icon_image_layout.h"
#include "messages/messages.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>
#include <cstring>

namespace velmora
{

namespace
{

constexpr uint16_t IconReserved = 0;
constexpr uint16_t IconType = 1;
constexpr uint16_t CursorType = 2;
constexpr uint64_t SmallestIconFile = 13;
constexpr uint64_t FirstReadBytes = 64 * 1024;
// The header and directory of an ordinary icon, with the bitmap headers of its first images.
constexpr uint64_t FirstHeaderReadBytes = 4 * 1024;

std::string Num(uint64_t value)
{
    return std::to_string(value);
}

// Clears the state of a load or save when it ends, however it ends.
template <typename Clear> class TScopeExit
{
public:
    explicit TScopeExit(Clear clear)
        : m_clear(std::move(clear))
    {
    }
    ~TScopeExit() { m_clear(); }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    Clear m_clear;
};

} // namespace

bool TIconDirectory::LoadFromFile(const std::string& name)
{
    const std::string previousName = m_fileName;
    const uint16_t previousCount = m_count;
    m_fileName.clear();
    auto forgetFile = [this] {
        m_loadFile.reset();
        m_loadBytes = TByteBuffer();
    };
    try {
        m_status = ReadIconFileHeader(name);
    } catch (...) {
        forgetFile();
        m_fileName = previousName;
        throw;
    }
    if (m_status <= 0) {
        // The images shown stay, and so does the file they came from: a refused file must not
        // make the next save ask for a name or lose the document's link to its file.
        forgetFile();
        m_fileName = previousName;
        return false;
    }

    m_count = static_cast<uint16_t>(m_status);
    m_fileName = name;
    TScopeExit cleanup([this] {
        m_loadFile.reset();
        m_loadBytes = TByteBuffer();
        m_loadEntries.clear();
        m_loadImages.clear();
    });
    try {
        m_status = ResultReadEntriesFailed;
        ReadIconEntries();
        m_status = ResultReadImagesFailed;
        ReadIconImages();
    } catch (const std::exception& cause) {
        // A refused file changes nothing: the document keeps what it showed before.
        m_count = previousCount;
        m_fileName = previousName;
        throw Exception(FormatText(Messages::LoadFromFileFailed, { cause.what() }));
    }
    m_entries = std::move(m_loadEntries);
    m_images = std::move(m_loadImages);
    m_kind = m_loadKind;
    m_count = static_cast<uint16_t>(m_images.size());
    m_status = ResultOk;
    return true;
}

bool TIconDirectory::LoadReadableFromFile(
    const std::string& name, std::vector<TUnreadableImage>& unreadable)
{
    m_loadReadable = true;
    m_unreadable.clear();
    m_inspected.clear();
    TScopeExit reset([this] {
        m_loadReadable = false;
        m_unreadable.clear();
        m_inspected.clear();
    });
    const bool loaded = TIconDirectory::LoadFromFile(name);
    unreadable = std::move(m_unreadable);
    return loaded;
}

void TIconDirectory::KeepUnreadable(int index, const TIconDirectoryEntry& entry, std::string reason)
{
    if (!m_loadReadable)
        throw Exception(std::move(reason));
    m_unreadable.push_back({ index, entry, std::move(reason) });
}

bool TIconDirectory::LoadHeadersFromFile(const std::string& name)
{
    m_loadHeadersOnly = true;
    TScopeExit reset([this] { m_loadHeadersOnly = false; });
    return TIconDirectory::LoadFromFile(name);
}

bool TIconDirectory::LoadFromBytes(const std::string& name, Bytes bytes, bool headersOnly)
{
    m_pendingReader = TFileReader::FromBytes(name, std::move(bytes));
    m_loadHeadersOnly = headersOnly;
    TScopeExit reset([this] {
        m_loadHeadersOnly = false;
        m_pendingReader.reset();
    });
    return TIconDirectory::LoadFromFile(name);
}

int TIconDirectory::ReadIconFileHeader(const std::string& name)
{
    // The file stays open for the steps that follow, so that a load opens it once.
    m_loadFile = m_pendingReader ? std::move(m_pendingReader) : TFileReader::OpenIfFile(name);
    if (!m_loadFile)
        return ResultFileMissing;
    if (m_loadFile->Size() < SmallestIconFile)
        return ResultFileTooShort;
    // One read brings the whole of an ordinary icon file. Of a larger one it brings the
    // start; the directory and the images beyond are read when they are needed, so that what
    // follows the images costs nothing.
    const uint64_t firstRead = m_loadHeadersOnly ? FirstHeaderReadBytes : FirstReadBytes;
    m_loadBytes = m_loadFile->ReadBufferAt(0, std::min(m_loadFile->Size(), firstRead));
    if (m_loadBytes.size() < 6)
        return ResultFileTooShort;
    const uint16_t type = ReadU16(m_loadBytes.data() + 2);
    if (ReadU16(m_loadBytes.data()) != IconReserved || (type != IconType && type != CursorType))
        return ResultNoIconHeader;
    m_loadKind = type == CursorType ? EKind::Cursor : EKind::Icon;
    uint16_t count = ReadU16(m_loadBytes.data() + 4);
    if (count == 0)
        return ResultNoIconHeader;
    return count;
}

void TIconDirectory::ReadLoadBytes(uint64_t offset, uint8_t* out, size_t count) const
{
    if (offset <= m_loadBytes.size() && count <= m_loadBytes.size() - offset) {
        std::memcpy(out, m_loadBytes.data() + offset, count);
        return;
    }
    // Bytes that the file no longer holds (it shrank meanwhile) are left as they were.
    m_loadFile->ReadInto(offset, out, count);
}

bool TIconDirectory::ReadIconEntries()
{
    return NestErrors(Messages::ReadIconEntriesFailed, [this] {
        m_loadEntries.clear();
        if (!m_loadFile)
            m_loadFile = std::make_unique<TFileReader>(m_fileName);
        const uint64_t needed = 6 + uint64_t { TIconDirectoryEntry::RecordSize } * m_count;
        if (needed > m_loadBytes.size())
            m_loadBytes = m_loadFile->ReadBufferAt(0, needed);
        size_t whole = m_count;
        if (needed > m_loadBytes.size()) {
            // The entries that lie whole inside the file may still lead to their images.
            whole = (m_loadBytes.size() - 6) / TIconDirectoryEntry::RecordSize;
            const std::string reason = FormatText(
                Messages::DirectoryPastEnd, { Num(m_count), Num(needed), Num(m_loadBytes.size()) });
            for (size_t i = whole; i < m_count; ++i)
                KeepUnreadable(static_cast<int>(i), TIconDirectoryEntry(), reason);
        }
        m_loadEntries.reserve(whole);
        for (size_t i = 0; i < whole; ++i) {
            auto entry = std::make_unique<TIconDirectoryEntry>();
            entry->ReadFromRecord(m_loadBytes.data() + 6 + i * TIconDirectoryEntry::RecordSize);
            m_loadEntries.push_back(std::move(entry));
        }
        return true;
    });
}

bool TIconDirectory::ReadIconImages()
{
    return NestErrors(Messages::ReadIconImagesFailed, [this] {
        m_loadImages.clear();
        m_loadImages.reserve(m_loadEntries.size());
        if (!m_loadFile)
            m_loadFile = std::make_unique<TFileReader>(m_fileName);
        const uint64_t fileSize = m_loadFile->Size();
        // Entries may share or overlap their data, and truncated ones are filled up: the
        // images together may hold no more than the file and one largest picture.
        const uint64_t budget = fileSize + TBitmap::MaxPixelBytes;
        uint64_t held = 0;
        std::vector<std::unique_ptr<TIconDirectoryEntry>> kept;
        kept.reserve(m_loadEntries.size());
        const size_t unreadableFromDirectory = m_unreadable.size();
        for (size_t i = 0; i < m_loadEntries.size(); ++i) {
            try {
                if (auto image = ReadIconImage(i, fileSize, budget, held)) {
                    m_loadImages.push_back(std::move(image));
                    kept.push_back(std::move(m_loadEntries[i]));
                }
            } catch (const std::exception& error) {
                KeepUnreadable(static_cast<int>(i), *m_loadEntries[i], error.what());
            }
        }
        m_loadEntries = std::move(kept);
        // The entries cut off with the directory come last, in the file's order.
        std::rotate(m_unreadable.begin(), m_unreadable.begin() + unreadableFromDirectory,
            m_unreadable.end());
        if (m_loadImages.empty() && !m_unreadable.empty())
            throw Exception(m_unreadable.front().Reason);
        return true;
    });
}

std::unique_ptr<TIconDirectoryImage> TIconDirectory::ReadIconImage(
    size_t i, uint64_t fileSize, uint64_t budget, uint64_t& held)
{
    TIconDirectoryEntry& entry = *m_loadEntries[i];
    const uint64_t offset = entry.ImageOffset;
    const uint64_t stored = entry.BytesInRes;
    if (offset >= fileSize)
        throw Exception(FormatText(
            Messages::ImageStartsPastEnd, { Num(i), Num(offset), Num(stored), Num(fileSize) }));
    const uint64_t available = fileSize - offset;
    uint8_t headerBytes[TBitmapInfoHeader::Size] = {};
    const auto headerSize = static_cast<size_t>(std::min<uint64_t>(available, sizeof headerBytes));
    ReadLoadBytes(offset, headerBytes, headerSize);
    const bool png = IsPngData(ByteSpan(headerBytes, headerSize));
    if (!png && available < TBitmapInfoHeader::Size)
        throw Exception(FormatText(
            Messages::ImageHeaderPastEnd, { Num(i), Num(offset), Num(stored), Num(fileSize) }));

    auto image = std::make_unique<TIconDirectoryImage>();
    image->Header = TBitmapInfoHeader::FromBytes(headerBytes);
    // A cursor's entry holds the hotspot where an icon's holds planes and bit count; the depth
    // is the image's own, and a PNG image is true colour with alpha.
    if (m_loadKind == EKind::Cursor) {
        entry.HotspotX = entry.Planes;
        entry.HotspotY = entry.BitCount;
        entry.Planes = 1;
        entry.BitCount = png ? uint16_t { 32 } : image->Header.biBitCount;
    }

    // Data inside the file is kept byte for byte. Data that runs past the end keeps what the
    // file holds; a bitmap-style image is filled up with zero bytes to what its own header
    // needs, so that it stays a whole image.
    uint64_t kept = stored;
    if (stored > available) {
        kept = available;
        if (!png) {
            auto needed = IconImageBytesNeeded(image->Header);
            if (!needed)
                throw Exception(FormatText(Messages::ImageTooLarge,
                    { Num(i), Num(offset), Num(stored),
                        Num(static_cast<uint64_t>(std::llabs(image->Header.biWidth))),
                        Num(static_cast<uint64_t>(std::llabs(image->Header.biHeight)) / 2),
                        Num(fileSize) }));
            kept = std::max(available, std::min(stored, *needed));
        }
    }

    // Checked before anything is allocated for the image.
    if (held + kept > budget)
        throw Exception(FormatText(Messages::ImagesTooLarge,
            { Num(i), Num(offset), Num(kept), Num(held + kept), Num(fileSize) }));
    held += kept;
    if (stored > available) {
        image->Truncated = true;
        image->StoredBytesInRes = entry.BytesInRes;
        entry.BytesInRes = static_cast<uint32_t>(kept);
    }
    const auto present = static_cast<size_t>(std::min(kept, available));
    Bytes stream;
    if (m_loadHeadersOnly) {
        WriteSingleImageHeader(stream, entry);
        stream.insert(stream.end(), headerBytes, headerBytes + std::min(headerSize, present));
    } else if (offset + present <= m_loadBytes.size()) {
        stream.reserve(SingleImageHeaderSize + kept);
        WriteSingleImageHeader(stream, entry);
        const uint8_t* data = m_loadBytes.data() + offset;
        stream.insert(stream.end(), data, data + present);
        stream.resize(SingleImageHeaderSize + kept, 0);
    } else {
        WriteSingleImageHeader(stream, entry);
        stream.resize(SingleImageHeaderSize + kept, 0);
        m_loadFile->ReadInto(offset, stream.data() + SingleImageHeaderSize, present);
    }
    image->Icon->LoadFromStream(std::move(stream));
    if (m_loadReadable) {
        // Only an image that can be decoded counts as read: the others could be neither shown
        // nor saved.
        // Entries that share their data share the answer: a directory of thousands of entries
        // over one small PNG stream costs one decoding, not thousands.
        const auto [found, first] = m_inspected.try_emplace({ offset, kept });
        if (first) {
            try {
                InspectIcon(*image->Icon);
            } catch (const std::exception& error) {
                found->second = error.what();
            }
        }
        if (!found->second.empty()) {
            if (image->Truncated)
                entry.BytesInRes = image->StoredBytesInRes;
            throw Exception(FormatText(Messages::ImageNotDecodable, { Num(i), found->second }));
        }
    }
    return image;
}

bool TIconDirectory::SaveToFile(const std::string& name)
{
    // An icon file without images is no icon file: no reader accepts it.
    if (m_count == 0) {
        m_status = ResultNothingToSave;
        return false;
    }
    TScopeExit cleanup([this] { m_writer.reset(); });
    const uint16_t written = WriteIconFileHeader(name);
    m_status = written;
    if (written != m_count)
        return false;
    m_fileName = name;
    // Offsets kept from a loaded file are written as they are, unless images would overlap
    // the directory or each other: then they are laid out anew, so that the file is sound.
    if (!OffsetsAreSound())
        RecalcOffsets();
    try {
        m_status = ResultWriteEntriesFailed;
        WriteIconEntries();
        m_status = ResultWriteImagesFailed;
        WriteIconImages();
    } catch (const std::exception& cause) {
        throw Exception(FormatText(Messages::SaveToFileFailed, { cause.what() }));
    }
    m_status = ResultOk;
    return true;
}

uint16_t TIconDirectory::WriteIconFileHeader(const std::string& name)
{
    return NestErrors(Messages::WriteIconFileHeaderFailed, [&] {
        m_writer = std::make_unique<TAtomicFileWriter>(name);
        uint8_t header[6];
        WriteU16(header + 0, IconReserved); // idReserved(2)
        WriteU16(header + 2, IsCursor() ? CursorType : IconType); // idType(2)
        WriteU16(header + 4, m_count); // idCount(2)
        m_writer->WriteAt(0, header);
        return m_count;
    });
}

bool TIconDirectory::OffsetsAreSound() const
{
    std::vector<std::pair<uint64_t, uint64_t>> spans;
    spans.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        spans.emplace_back(entry->ImageOffset, uint64_t { entry->ImageOffset } + entry->BytesInRes);
    std::sort(spans.begin(), spans.end());
    uint64_t end = 6 + uint64_t { TIconDirectoryEntry::RecordSize } * m_entries.size();
    for (const auto& [first, last] : spans) {
        if (first < end)
            return false;
        end = last;
    }
    return true;
}

bool TIconDirectory::WriteIconEntries()
{
    return NestErrors(Messages::WriteIconEntriesFailed, [this] {
        // An icon file addresses its images with 32-bit offsets.
        for (size_t i = 0; i < m_entries.size(); ++i) {
            const TIconDirectoryEntry& entry = *m_entries[i];
            if (uint64_t { entry.ImageOffset } + entry.BytesInRes > UINT32_MAX)
                throw Exception(FormatText(Messages::IconFileTooLarge, { Num(i) }));
        }
        Bytes directory(m_entries.size() * TIconDirectoryEntry::RecordSize);
        for (size_t i = 0; i < m_entries.size(); ++i) {
            uint8_t* record = directory.data() + i * TIconDirectoryEntry::RecordSize;
            m_entries[i]->WriteToRecord(record);
            if (IsCursor()) {
                WriteU16(record + 4, m_entries[i]->HotspotX); // wXHotspot(2)
                WriteU16(record + 6, m_entries[i]->HotspotY); // wYHotspot(2)
            }
        }
        m_writer->WriteAt(6, directory);
        return true;
    });
}

bool TIconDirectory::WriteIconImages()
{
    return NestErrors(Messages::WriteIconImagesFailed, [this] {
        for (size_t i = 0; i < m_images.size(); ++i) {
            const TIconDirectoryEntry& entry = *m_entries[i];
            const TIconDirectoryImage& image = *m_images[i];
            if (!image.Icon || image.Icon->Empty())
                throw Exception(FormatText(Messages::IconImageEmpty, { Num(i) }));
            const Bytes& held = image.Icon->Data();
            const uint64_t size = entry.BytesInRes;
            if (held.size() < 22 || held.size() - 22 < size)
                throw Exception(FormatText(Messages::ImageDataTooShort,
                    { Num(i), Num(held.size() < 22 ? 0 : held.size() - 22), Num(size) }));
            NestErrors(FormatText(Messages::ImageNotDrawable, { Num(i), "%s" }),
                [&] { CheckIconImage(*image.Icon); });
            // The stored header goes over the start of the data; never past the image's end.
            Bytes data(held.begin() + 22, held.begin() + 22 + static_cast<std::ptrdiff_t>(size));
            uint8_t headerBytes[TBitmapInfoHeader::Size];
            image.Header.ToBytes(headerBytes);
            std::memcpy(
                data.data(), headerBytes, std::min<size_t>(data.size(), sizeof headerBytes));
            m_writer->WriteAt(entry.ImageOffset, data);
        }
        m_writer->Commit();
        return true;
    });
}

void TIconDirectory::CheckIconImage(const TIcon& icon)
{
    // Only an image that can be drawn is written: one that no reader could show is refused.
    DecodeIcon(icon);
}

} // namespace velmora
