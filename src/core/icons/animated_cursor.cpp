// Reading animated cursor (.ani) files.

#include "icons/animated_cursor.h"

#include "messages/messages.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>
#include <cstring>

namespace velmora
{

namespace
{

constexpr size_t ChunkHeaderSize = 8;
constexpr size_t AniHeaderSize = 36;

std::string Num(uint64_t value)
{
    return std::to_string(value);
}

bool IdIs(ByteSpan data, size_t at, const char* id)
{
    return at + 4 <= data.size() && std::memcmp(data.data() + at, id, 4) == 0;
}

// A chunk id is four printable characters; a pad byte or data never looks like one in the
// files seen, which is what tells a missing pad byte from a present one.
bool LooksLikeChunkId(ByteSpan data, size_t at)
{
    if (at + 4 > data.size())
        return false;
    return std::all_of(data.begin() + static_cast<std::ptrdiff_t>(at),
        data.begin() + static_cast<std::ptrdiff_t>(at + 4),
        [](uint8_t c) { return c >= 0x20 && c < 0x7F; });
}

struct TChunk {
    size_t Id = 0; // offset of the id
    size_t Data = 0; // offset of the data
    size_t Size = 0; // bytes of data inside the file
};

// Walks the chunks of [begin, end) and calls visit for each. A size past the end is cut to
// the end; an odd size skips its pad byte only when a chunk id follows it. Every chunk moves
// the walk forward by at least its header, so a walk takes at most one step per 8 bytes.
template <typename Visit> void WalkChunks(ByteSpan data, size_t begin, size_t end, Visit visit)
{
    size_t at = begin;
    while (at + ChunkHeaderSize <= end) {
        const uint64_t declared = ReadU32(data.data() + at + 4);
        TChunk chunk { at, at + ChunkHeaderSize,
            static_cast<size_t>(std::min<uint64_t>(declared, end - at - ChunkHeaderSize)) };
        visit(chunk);
        at = chunk.Data + chunk.Size;
        if (chunk.Size % 2 == 1 && at < end && !LooksLikeChunkId(data, at)
            && LooksLikeChunkId(data, at + 1))
            ++at;
    }
}

std::string ChunkText(ByteSpan data, const TChunk& chunk)
{
    const size_t size = std::min(chunk.Size, TAnimatedCursor::MaxTextBytes);
    std::string text(reinterpret_cast<const char*>(data.data() + chunk.Data), size);
    text.erase(std::find(text.begin(), text.end(), '\0'), text.end());
    return text;
}

std::vector<uint32_t> ReadWords(ByteSpan data, const TChunk& chunk)
{
    const size_t count = std::min(chunk.Size / 4, TAnimatedCursor::MaxSteps);
    std::vector<uint32_t> words(count);
    for (size_t i = 0; i < count; ++i)
        words[i] = ReadU32(data.data() + chunk.Data + 4 * i);
    return words;
}

bool IsIconOrCursorFile(const Bytes& frame)
{
    return frame.size() >= 6 && ReadU16(frame.data()) == 0
        && (ReadU16(frame.data() + 2) == 1 || ReadU16(frame.data() + 2) == 2)
        && ReadU16(frame.data() + 4) != 0;
}

} // namespace

bool IsAnimatedCursorData(ByteSpan data)
{
    return IdIs(data, 0, "RIFF") && IdIs(data, 8, "ACON");
}

TAnimatedCursor ReadAnimatedCursor(ByteSpan data)
{
    if (!IsAnimatedCursorData(data))
        throw Exception(std::string(Messages::AniNotRiff));
    TAnimatedCursor cursor;
    bool haveHeader = false;
    std::vector<uint32_t> sequence;
    std::vector<uint32_t> rates;
    // The RIFF size is not trusted: files that give a wrong one are common, so the chunks
    // are read up to the end of the data.
    WalkChunks(data, 12, data.size(), [&](const TChunk& chunk) {
        if (IdIs(data, chunk.Id, "anih") && !haveHeader && chunk.Size >= AniHeaderSize) {
            const uint8_t* header = data.data() + chunk.Data;
            cursor.DeclaredFrames = ReadU32(header + 4); // nFrames(4)
            cursor.DeclaredSteps = ReadU32(header + 8); // nSteps(4)
            cursor.DisplayRate = ReadU32(header + 28); // iDispRate(4)
            cursor.Flags = ReadU32(header + 32); // bfAttributes(4)
            haveHeader = true;
        } else if (IdIs(data, chunk.Id, "rate") && rates.empty()) {
            rates = ReadWords(data, chunk);
        } else if (IdIs(data, chunk.Id, "seq ") && sequence.empty()) {
            sequence = ReadWords(data, chunk);
        } else if (IdIs(data, chunk.Id, "LIST") && chunk.Size >= 4) {
            const bool frames = IdIs(data, chunk.Data, "fram");
            const bool info = IdIs(data, chunk.Data, "INFO");
            WalkChunks(data, chunk.Data + 4, chunk.Data + chunk.Size, [&](const TChunk& inner) {
                if (frames && IdIs(data, inner.Id, "icon")) {
                    if (cursor.Frames.size() >= TAnimatedCursor::MaxFrames)
                        throw Exception(FormatText(
                            Messages::AniTooManyFrames, { Num(TAnimatedCursor::MaxFrames) }));
                    const uint8_t* begin = data.data() + inner.Data;
                    cursor.Frames.emplace_back(begin, begin + inner.Size);
                } else if (info && IdIs(data, inner.Id, "INAM")) {
                    cursor.Title = ChunkText(data, inner);
                } else if (info && IdIs(data, inner.Id, "IART")) {
                    cursor.Artist = ChunkText(data, inner);
                }
            });
        }
    });
    if (!haveHeader)
        throw Exception(std::string(Messages::AniNoHeader));
    if (cursor.Frames.empty())
        throw Exception(std::string(Messages::AniNoFrames));
    // Frames are read as icon or cursor files whatever the flags say: files that leave the
    // flag off still hold them.
    for (size_t i = 0; i < cursor.Frames.size(); ++i)
        if (!IsIconOrCursorFile(cursor.Frames[i]))
            throw Exception(FormatText(Messages::AniFrameNotIcon, { Num(i) }));

    // Without a sequence the steps show the frames in order; without rates every step takes
    // the header's rate, as do the steps a short rate list leaves out.
    if (sequence.empty()) {
        sequence.resize(cursor.Frames.size());
        for (size_t i = 0; i < sequence.size(); ++i)
            sequence[i] = static_cast<uint32_t>(i);
    }
    rates.resize(sequence.size(), cursor.DisplayRate);
    for (size_t i = 0; i < sequence.size(); ++i)
        if (sequence[i] >= cursor.Frames.size())
            throw Exception(FormatText(
                Messages::AniStepNoFrame, { Num(i), Num(sequence[i]), Num(cursor.Frames.size()) }));
    cursor.Sequence = std::move(sequence);
    cursor.Rates = std::move(rates);
    return cursor;
}

bool IsAnimatedCursorFile(const std::string& fileName)
{
    const auto reader = TFileReader::OpenIfFile(fileName);
    return reader && IsAnimatedCursorData(reader->ReadAt(0, 12));
}

TAnimatedCursor ReadAnimatedCursorFile(const std::string& fileName)
{
    TFileReader reader(fileName);
    if (reader.Size() > TAnimatedCursor::MaxFileBytes)
        throw Exception(FormatText(Messages::AniFileTooLarge,
            { fileName, Num(reader.Size()), Num(TAnimatedCursor::MaxFileBytes) }));
    const Bytes bytes = reader.ReadAt(0, reader.Size());
    return ReadAnimatedCursor(bytes);
}

} // namespace velmora
