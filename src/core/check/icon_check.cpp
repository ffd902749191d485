// The check of an icon file: its inputs, the order of the rules and the structure rules.

#include "check/icon_check.h"

#include "check/check_rules.h"
#include "icons/icon_directory.h"
#include "messages/messages.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace velmora
{

namespace
{

using L = TFindingLevel;
namespace M = Messages;

constexpr uint64_t HeaderSize = 6;
constexpr uint64_t SmallestIconFile = HeaderSize + TIconDirectoryEntry::RecordSize;
// The most data one image may bring: more than the largest picture the decoder accepts with
// its mask, far less than memory.
constexpr uint64_t LargestImageData = TBitmap::MaxPixelBytes + (TBitmap::MaxPixelBytes >> 4);
// What the check reads and decodes beyond the file's own size, for entries that share data.
constexpr uint64_t ExtraReadBytes = uint64_t { 64 } << 20;
constexpr uint64_t ExtraPixels = uint64_t { 64 } << 20;

std::string Num(uint64_t value)
{
    return std::to_string(value);
}

uint64_t DirectoryEnd(uint16_t count)
{
    return HeaderSize + uint64_t { TIconDirectoryEntry::RecordSize } * count;
}

// Where each entry's data lies, against the file and against each other. The spans are sorted
// once, so that overlaps and gaps are found in one pass whatever the number of entries.
void CheckSpans(const TCheckInput& input, TFindingList& findings)
{
    const uint64_t directoryEnd = DirectoryEnd(input.Count);
    struct TSpan {
        uint64_t First;
        uint64_t Last;
        int Index;
        bool operator<(const TSpan& other) const
        {
            return std::tie(First, Last, Index) < std::tie(other.First, other.Last, other.Index);
        }
    };
    std::vector<TSpan> spans;
    spans.reserve(input.Entries.size());
    for (size_t i = 0; i < input.Entries.size(); ++i) {
        const TIconDirectoryEntry& entry = input.Entries[i];
        const int index = static_cast<int>(i);
        const uint64_t first = entry.ImageOffset;
        const uint64_t last = first + entry.BytesInRes;
        if (entry.BytesInRes == 0) {
            findings.Add(L::Error, index, "empty", TRepair::None, M::CheckDataEmpty);
            continue;
        }
        if (first < directoryEnd)
            findings.Add(L::Error, index, "on-directory", TRepair::Layout, M::CheckDataOnDirectory,
                { Num(first), Num(directoryEnd) });
        if (last > input.FileSize)
            findings.Add(L::Error, index, "outside", TRepair::Layout, M::CheckDataOutside,
                { Num(entry.BytesInRes), Num(first), Num(input.FileSize) });
        spans.push_back({ first, last, index });
    }
    std::sort(spans.begin(), spans.end());

    uint64_t reach = directoryEnd; // the end of the data seen so far
    int reachOwner = -1;
    const TSpan* previous = nullptr;
    for (const TSpan& span : spans) {
        if (previous && previous->First == span.First && previous->Last == span.Last) {
            findings.Add(L::Warning, span.Index, "shared", TRepair::Layout, M::CheckDataShared,
                { Num(static_cast<uint64_t>(previous->Index)) });
            continue; // the group's first entry stands for it
        }
        if (span.First >= input.FileSize)
            continue; // reported as outside; it covers nothing of the file
        if (span.First >= directoryEnd) {
            if (span.First < reach && reachOwner >= 0) {
                findings.Add(L::Error, span.Index, "overlap", TRepair::Layout, M::CheckDataOverlaps,
                    { Num(span.First), Num(span.Last), Num(static_cast<uint64_t>(reachOwner)) });
            } else if (span.First > reach) {
                const uint64_t gap = span.First - reach;
                // The first image of a file this program laid out follows 6 spare bytes per
                // image.
                if (reachOwner < 0 && gap == 6 * uint64_t { input.Count })
                    findings.Add(
                        L::Note, -1, "spare", TRepair::None, M::CheckProgramSpare, { Num(gap) });
                else
                    findings.Add(L::Note, span.Index, "gap", TRepair::None, M::CheckGap,
                        { Num(gap), Num(reach) });
            }
        }
        if (span.Last > reach || reachOwner < 0) {
            reach = std::max(reach, std::min(span.Last, input.FileSize));
            reachOwner = span.Index;
        }
        previous = &span;
    }
    if (reach < input.FileSize && reachOwner >= 0)
        findings.Add(L::Note, -1, "trailing", TRepair::None, M::CheckTrailing,
            { Num(input.FileSize - reach) });
}

// Entries of one size and depth: sorted by format, each later one names the first.
void CheckDuplicates(const std::vector<TIconDirectoryEntry>& entries, TFindingList& findings)
{
    std::vector<std::tuple<int, int, int, int>> formats;
    formats.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        formats.emplace_back(entries[i].BitCount, entries[i].ImageWidth(), entries[i].ImageHeight(),
            static_cast<int>(i));
    std::sort(formats.begin(), formats.end());
    size_t first = 0; // the first entry of the current format
    for (size_t i = 1; i < formats.size(); ++i) {
        const auto& [bits, width, height, index] = formats[i];
        if (std::get<0>(formats[first]) != bits || std::get<1>(formats[first]) != width
            || std::get<2>(formats[first]) != height) {
            first = i;
            continue;
        }
        findings.Add(L::Warning, index, "duplicate", TRepair::None, M::CheckDuplicateFormat,
            { Num(static_cast<uint64_t>(std::get<3>(formats[first]))), SizeText(width, height),
                Num(static_cast<uint64_t>(bits)) });
    }
}

} // namespace

std::string_view LevelText(TFindingLevel level)
{
    switch (level) {
    case TFindingLevel::Note:
        return M::CheckLevelNote;
    case TFindingLevel::Warning:
        return M::CheckLevelWarning;
    case TFindingLevel::Error:
        break;
    }
    return M::CheckLevelError;
}

void TFindingList::Add(TFindingLevel level, int entry, std::string_view rule, TRepair repair,
    std::string_view format, std::initializer_list<std::string_view> args)
{
    m_findings.push_back({ level, entry, rule, FormatText(format, args), repair });
}

std::string SizeText(int width, int height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

bool CheckStructure(const TCheckInput& input, TFindingList& findings)
{
    if (input.FileSize < SmallestIconFile) {
        findings.Add(L::Error, -1, "file-size", TRepair::None, M::CheckFileTooShort,
            { Num(input.FileSize) });
        return false;
    }
    bool sound = true;
    if (input.Reserved != 0) {
        findings.Add(
            L::Error, -1, "reserved", TRepair::None, M::CheckReserved, { Num(input.Reserved) });
        sound = false;
    }
    if (input.Type == 2)
        findings.Add(L::Note, -1, "type", TRepair::None, M::CheckTypeCursor);
    else if (input.Type != 1)
        findings.Add(L::Error, -1, "type", TRepair::None, M::CheckType, { Num(input.Type) });
    if (input.Count == 0) {
        findings.Add(L::Error, -1, "count", TRepair::None, M::CheckNoImages);
        return false;
    }
    if (DirectoryEnd(input.Count) > input.FileSize) {
        findings.Add(L::Error, -1, "directory", TRepair::None, M::CheckDirectoryPastEnd,
            { Num(input.Count), Num(DirectoryEnd(input.Count)), Num(input.FileSize) });
        return false;
    }
    CheckSpans(input, findings);
    CheckDuplicates(input.Entries, findings);
    return sound && (input.Type == 1 || input.Type == 2);
}

std::vector<TFinding> CheckIcon(const TCheckInput& input)
{
    std::vector<TFinding> found;
    TFindingList findings(found);
    if (CheckStructure(input, findings)) {
        uint64_t readBudget = input.FileSize + ExtraReadBytes;
        uint64_t pixelBudget = ExtraPixels + 8 * input.FileSize;
        // Entries on the very same bytes are examined once.
        std::map<std::pair<uint64_t, uint64_t>, int> examined;
        Bytes scratch;
        for (size_t i = 0; i < input.Entries.size(); ++i) {
            const TIconDirectoryEntry& entry = input.Entries[i];
            const int index = static_cast<int>(i);
            if (entry.BytesInRes == 0 || entry.ImageOffset >= input.FileSize)
                continue;
            if (!examined.emplace(std::pair { entry.ImageOffset, entry.BytesInRes }, index).second)
                continue;
            const uint64_t present
                = std::min<uint64_t>(entry.BytesInRes, input.FileSize - entry.ImageOffset);
            if (present > LargestImageData) {
                findings.Add(L::Error, index, "refused", TRepair::None, M::CheckRefused,
                    { FormatText(M::CheckImageTooLarge, { Num(present), Num(LargestImageData) }) });
                continue;
            }
            if (present > readBudget) {
                findings.Add(L::Warning, index, "not-examined", TRepair::None, M::CheckNotExamined);
                continue;
            }
            readBudget -= present;
            CheckImage(
                index, entry, input.Type == 2, input.Data(i, scratch), pixelBudget, findings);
        }
        // The sizes the shell and browsers ask for are those of icons, not of pointers.
        if (input.Type == 1)
            CheckShown(input.Entries, findings);
    }
    // File-wide findings first, then by entry; each group in the order of the rules.
    std::stable_sort(found.begin(), found.end(),
        [](const TFinding& a, const TFinding& b) { return a.Entry < b.Entry; });
    return found;
}

std::vector<TFinding> CheckIconBytes(ByteSpan file)
{
    TCheckInput input;
    input.FileSize = file.size();
    if (file.size() >= HeaderSize) {
        input.Reserved = ReadU16(file.data()); // idReserved(2)
        input.Type = ReadU16(file.data() + 2); // idType(2)
        input.Count = ReadU16(file.data() + 4); // idCount(2)
    }
    const uint64_t whole = std::min<uint64_t>(
        input.Count, (file.size() - std::min<uint64_t>(file.size(), HeaderSize)) / 16);
    input.Entries.resize(whole);
    for (size_t i = 0; i < whole; ++i)
        input.Entries[i].ReadFromRecord(file.data() + HeaderSize + 16 * i);
    input.Data = [&input, file](size_t i, Bytes&) {
        const TIconDirectoryEntry& entry = input.Entries[i];
        const uint64_t present
            = std::min<uint64_t>(entry.BytesInRes, file.size() - entry.ImageOffset);
        return file.subspan(entry.ImageOffset, static_cast<size_t>(present));
    };
    return CheckIcon(input);
}

std::vector<TFinding> CheckIconFile(const std::string& fileName)
{
    const TFileReader file(fileName);
    TCheckInput input;
    input.FileSize = file.Size();
    const Bytes head = file.ReadAt(0, std::min<uint64_t>(file.Size(), DirectoryEnd(UINT16_MAX)));
    if (head.size() >= HeaderSize) {
        input.Reserved = ReadU16(head.data());
        input.Type = ReadU16(head.data() + 2);
        input.Count = ReadU16(head.data() + 4);
    }
    const uint64_t whole = std::min<uint64_t>(
        input.Count, (head.size() - std::min<uint64_t>(head.size(), HeaderSize)) / 16);
    input.Entries.resize(whole);
    for (size_t i = 0; i < whole; ++i)
        input.Entries[i].ReadFromRecord(head.data() + HeaderSize + 16 * i);
    input.Data = [&input, &file](size_t i, Bytes& scratch) {
        const TIconDirectoryEntry& entry = input.Entries[i];
        scratch = file.ReadAt(entry.ImageOffset, entry.BytesInRes);
        return ByteSpan(scratch);
    };
    return CheckIcon(input);
}

std::vector<TFinding> CheckIconDocument(const TIconDirectory& document)
{
    TCheckInput input;
    input.Type = document.IsCursor() ? 2 : 1;
    input.Count = document.Count();
    input.FileSize = DirectoryEnd(input.Count);
    for (int i = 0; i < document.Count(); ++i) {
        TIconDirectoryEntry entry = document.GetEntry(i);
        const TIconDirectoryImage& image = document.GetImage(i);
        const uint64_t held = image.Icon->Data().size()
            - std::min<size_t>(image.Icon->Data().size(), TIconDirectory::SingleImageHeaderSize);
        input.FileSize = std::max(
            input.FileSize, entry.ImageOffset + std::min<uint64_t>(held, entry.BytesInRes));
        if (image.Truncated)
            entry.BytesInRes = image.StoredBytesInRes;
        if (document.IsCursor()) {
            // As the cursor's file holds it: the hotspot where an icon has planes and bit count.
            entry.Planes = entry.HotspotX;
            entry.BitCount = entry.HotspotY;
        }
        input.Entries.push_back(entry);
    }
    input.Data = [&input, &document](size_t i, Bytes&) {
        const Bytes& data = document.GetImage(static_cast<int>(i)).Icon->Data();
        const size_t start = std::min<size_t>(data.size(), TIconDirectory::SingleImageHeaderSize);
        const uint64_t present = std::min<uint64_t>(
            input.Entries[i].BytesInRes, input.FileSize - input.Entries[i].ImageOffset);
        return ByteSpan(data).subspan(start, std::min<size_t>(data.size() - start, present));
    };
    return CheckIcon(input);
}

bool AnyAboveNote(const std::vector<TFinding>& findings)
{
    return std::any_of(findings.begin(), findings.end(),
        [](const TFinding& finding) { return finding.Level != TFindingLevel::Note; });
}

} // namespace velmora
