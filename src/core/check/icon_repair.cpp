// The repairs that answer the check's findings, each on the images that need it.

#include "check/icon_repair.h"

#include "check/check_rules.h"
#include "check/icon_check.h"
#include "check/image_facts.h"
#include "graphics/icon_decoder.h"
#include "graphics/png_codec.h"
#include "graphics/resample.h"
#include "icons/icon_directory.h"
#include "icons/icon_directory_picture.h"
#include "messages/messages.h"
#include "support/error.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace velmora
{

namespace
{

namespace M = Messages;

// The order in which RepairDocument applies the repairs: the encodings first, so that the
// pixel and directory repairs see the images as they will be stored; the layout last.
constexpr TRepair RepairOrder[]
    = { TRepair::PngToRgba, TRepair::LargeBitmapToPng, TRepair::AlphaFromMask,
          TRepair::MaskFromAlpha, TRepair::DirectoryFields, TRepair::AddSizes, TRepair::Layout };

std::string Num(int64_t value)
{
    return std::to_string(value);
}

// The image data of an entry as the document holds it.
ByteSpan ImageData(const TIconDirectory& document, int index)
{
    const Bytes& held = document.GetImage(index).Icon->Data();
    const size_t start = std::min<size_t>(held.size(), TIconDirectory::SingleImageHeaderSize);
    return ByteSpan(held).subspan(
        start, std::min<size_t>(held.size() - start, document.GetEntry(index).BytesInRes));
}

// Puts new data in place of an image's, with the entry that describes it.
void SetImage(TIconDirectory& document, int index, Bytes data, TIconDirectoryEntry entry)
{
    entry.BytesInRes = static_cast<uint32_t>(data.size());
    TIconDirectoryImage& image = document.GetImage(index);
    uint8_t header[TBitmapInfoHeader::Size] = {};
    std::memcpy(header, data.data(), std::min(data.size(), sizeof header));
    image.Header = TBitmapInfoHeader::FromBytes(header);
    image.Truncated = false;
    image.StoredBytesInRes = 0;
    Bytes stream;
    stream.reserve(TIconDirectory::SingleImageHeaderSize + data.size());
    TIconDirectory::WriteSingleImageHeader(stream, entry);
    stream.insert(stream.end(), data.begin(), data.end());
    image.Icon->LoadFromStream(std::move(stream));
    document.GetEntry(index) = entry;
}

// A stored image of a 32-bit picture, with the entry that describes it.
void SetPngImage(TIconDirectory& document, int index, const TBitmap& picture)
{
    Bytes png = EncodePng(picture);
    const std::optional<TImageFacts> facts = ReadImageFacts(png);
    SetImage(document, index, png, EntryForImage(*facts, document.GetEntry(index)));
}

uint64_t RowBytes(int width, int bitCount)
{
    return (static_cast<uint64_t>(width) * static_cast<uint64_t>(bitCount) + 31) / 32 * 4;
}

uint64_t PixelStart(const TImageFacts& facts)
{
    return facts.BytesNeeded
        - (RowBytes(facts.Width, facts.BitCount) + RowBytes(facts.Width, 1))
        * static_cast<uint64_t>(facts.Height);
}

std::string DirectoryChanges(const TIconDirectoryEntry& was, const TIconDirectoryEntry& now)
{
    std::string text;
    auto field = [&](std::string_view name, int64_t value, int64_t old) {
        if (value == old)
            return;
        text += (text.empty() ? "" : ", ")
            + FormatText(M::RepairFieldChange, { name, Num(value), Num(old) });
    };
    field("width", now.Width, was.Width);
    field("height", now.Height, was.Height);
    field("bit count", now.BitCount, was.BitCount);
    field("planes", now.Planes, was.Planes);
    field("colour count", now.ColorCount, was.ColorCount);
    field("byte count", now.BytesInRes, was.BytesInRes);
    return text;
}

// Repairs one image; false when it needed nothing after all.
bool RepairImage(
    TIconDirectory& document, int index, TRepair repair, std::vector<std::string>& changes)
{
    const std::string entryText = Num(index);
    const ByteSpan data = ImageData(document, index);
    const std::optional<TImageFacts> facts = ReadImageFacts(data);
    if (!facts)
        return false;
    const TIconDirectoryEntry entry = document.GetEntry(index);
    switch (repair) {
    case TRepair::DirectoryFields: {
        TIconDirectoryEntry fixed = EntryForImage(*facts, entry);
        // A byte count too small for the image is the mask repair's; this one only trims.
        fixed.BytesInRes = std::min<uint32_t>(
            { fixed.BytesInRes, entry.BytesInRes, static_cast<uint32_t>(data.size()) });
        SetImage(document, index, Bytes(data.begin(), data.begin() + fixed.BytesInRes), fixed);
        changes.push_back(
            FormatText(M::RepairDirectoryDone, { entryText, DirectoryChanges(entry, fixed) }));
        return true;
    }
    case TRepair::MaskFromAlpha: {
        const TIconImage image = DecodeIconImage(data);
        const uint64_t maskStart = PixelStart(*facts)
            + RowBytes(facts->Width, facts->BitCount) * static_cast<uint64_t>(facts->Height);
        Bytes made(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(maskStart));
        const uint64_t maskRow = RowBytes(facts->Width, 1);
        made.resize(static_cast<size_t>(facts->BytesNeeded), 0);
        for (int y = 0; y < facts->Height; ++y) {
            // Bottom-up rows; 1 lets the background through.
            const uint8_t* pixels = image.Pixels.ScanLine(facts->Height - 1 - y);
            uint8_t* bits = made.data() + maskStart + maskRow * static_cast<uint64_t>(y);
            for (int x = 0; x < facts->Width; ++x) {
                const size_t at
                    = static_cast<size_t>(facts->Height - 1 - y) * static_cast<size_t>(facts->Width)
                    + static_cast<size_t>(x);
                const bool clear = image.HasAlpha ? pixels[4 * x + 3] == 0 : image.Mask[at] != 0;
                if (clear)
                    bits[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        SetImage(document, index, std::move(made), entry);
        changes.push_back(FormatText(M::RepairMaskDone, { entryText }));
        return true;
    }
    case TRepair::AlphaFromMask: {
        const TIconImage image = DecodeIconImage(data);
        Bytes made(data.begin(), data.end());
        const uint64_t start = PixelStart(*facts);
        const uint64_t stride = RowBytes(facts->Width, 32);
        for (int y = 0; y < facts->Height; ++y) {
            uint8_t* row = made.data() + start + stride * static_cast<uint64_t>(y);
            for (int x = 0; x < facts->Width; ++x)
                row[4 * x + 3] = image.MaskAt(x, facts->Height - 1 - y) ? 0 : 255;
        }
        SetImage(document, index, std::move(made), entry);
        changes.push_back(FormatText(M::RepairAlphaDone, { entryText }));
        return true;
    }
    case TRepair::PngToRgba:
        SetPngImage(document, index, DecodePng(data));
        changes.push_back(FormatText(M::RepairPngDone, { entryText }));
        return true;
    case TRepair::LargeBitmapToPng:
        SetPngImage(document, index, DecodeIconImage(data).Pixels);
        changes.push_back(FormatText(M::RepairLargeBitmapDone, { entryText }));
        return true;
    default:
        return false;
    }
}

// Makes the missing Windows sizes from the largest image that can be decoded.
void AddSizes(TIconDirectory& document, std::vector<std::string>& changes)
{
    std::set<int> present;
    int largest = -1;
    int64_t largestArea = 0;
    TBitmap picture;
    for (int i = 0; i < document.Count(); ++i) {
        const TIconDirectoryEntry& entry = document.GetEntry(i);
        if (entry.ImageWidth() == entry.ImageHeight())
            present.insert(entry.ImageWidth());
        const std::optional<TImageFacts> facts = ReadImageFacts(ImageData(document, i));
        if (!facts || int64_t { facts->Width } * facts->Height <= largestArea
            || facts->Width > LargestSourceSide || facts->Height > LargestSourceSide)
            continue;
        try {
            picture = DecodeIconImage(ImageData(document, i)).Pixels;
        } catch (const Exception&) {
            continue;
        }
        largest = i;
        largestArea = int64_t { facts->Width } * facts->Height;
    }
    std::vector<int> missing;
    for (int side : WindowsSizes)
        if (!present.contains(side))
            missing.push_back(side);
    if (largest < 0 || missing.empty())
        return;
    const std::vector<TBitmap> made = MakeSquareSizes(picture, missing);
    for (size_t i = 0; i < made.size(); ++i) {
        if (ImportPicture(document, made[i]) != 0)
            continue;
        changes.push_back(FormatText(M::RepairSizeAdded,
            { Num(document.Count() - 1), SizeText(missing[i], missing[i]) + ", 32 bpp",
                Num(largest) }));
    }
}

} // namespace

std::vector<std::string> ApplyRepair(TIconDirectory& document, TRepair repair)
{
    std::vector<std::string> changes;
    if (repair == TRepair::AddSizes) {
        // The shell's icon sizes are no cursor's: scaled copies would point with no hotspot.
        if (!document.IsCursor())
            AddSizes(document, changes);
        return changes;
    }
    const std::vector<TFinding> findings = CheckIconDocument(document);
    if (repair == TRepair::Layout) {
        if (std::any_of(findings.begin(), findings.end(),
                [](const TFinding& f) { return f.Repair == TRepair::Layout; })) {
            document.RecalcOffsets();
            for (int i = 0; i < document.Count(); ++i) {
                document.GetImage(i).Truncated = false;
                document.GetImage(i).StoredBytesInRes = 0;
            }
            changes.emplace_back(M::RepairLayoutDone);
        }
        return changes;
    }
    std::set<int> entries;
    for (const TFinding& finding : findings)
        if (finding.Repair == repair && finding.Entry >= 0)
            entries.insert(finding.Entry);
    std::vector<uint32_t> sizes;
    for (int i = 0; i < document.Count(); ++i)
        sizes.push_back(document.GetEntry(i).BytesInRes);
    for (int index : entries)
        RepairImage(document, index, repair, changes);
    bool resized = false;
    for (int i = 0; i < document.Count(); ++i)
        resized = resized || document.GetEntry(i).BytesInRes != sizes[static_cast<size_t>(i)];
    if (resized) {
        document.RecalcOffsets();
        changes.emplace_back(M::RepairLayoutDone);
    }
    return changes;
}

std::vector<std::string> RepairDocument(TIconDirectory& document, bool addSizes)
{
    std::vector<std::string> changes;
    for (TRepair repair : RepairOrder) {
        if (repair == TRepair::AddSizes && !addSizes)
            continue;
        for (std::string& line : ApplyRepair(document, repair))
            changes.push_back(std::move(line));
    }
    return changes;
}

std::vector<TRepair> RepairsFor(const std::vector<TFinding>& findings)
{
    std::vector<TRepair> repairs;
    for (TRepair repair : RepairOrder)
        if (std::any_of(findings.begin(), findings.end(),
                [repair](const TFinding& f) { return f.Repair == repair; }))
            repairs.push_back(repair);
    return repairs;
}

std::string_view RepairCaption(TRepair repair)
{
    switch (repair) {
    case TRepair::DirectoryFields:
        return M::RepairDirectoryCaption;
    case TRepair::MaskFromAlpha:
        return M::RepairMaskCaption;
    case TRepair::AlphaFromMask:
        return M::RepairAlphaCaption;
    case TRepair::PngToRgba:
        return M::RepairPngCaption;
    case TRepair::LargeBitmapToPng:
        return M::RepairLargeBitmapCaption;
    case TRepair::AddSizes:
        return M::RepairSizesCaption;
    case TRepair::Layout:
    case TRepair::None:
        break;
    }
    return M::RepairLayoutCaption;
}

} // namespace velmora
