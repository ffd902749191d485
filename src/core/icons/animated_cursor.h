#pragma once

#include "support/byte_io.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora
{

/// The content of an animated cursor (.ani) file: a RIFF "ACON" form whose "anih" chunk gives
/// the counts and the default rate, whose optional "rate" and "seq " chunks give each step's
/// time and frame, and whose "LIST fram" holds the frames, each a whole cursor or icon file.
struct TAnimatedCursor {
    /// The counts the "anih" chunk declares; the frames and steps below are what the file
    /// holds, which real files do not always agree with.
    uint32_t DeclaredFrames = 0;
    uint32_t DeclaredSteps = 0;
    /// Default time of a step, in 1/60 s.
    uint32_t DisplayRate = 0;
    /// The "anih" flags: 1 frames are icon or cursor files, 2 the file has a step sequence.
    uint32_t Flags = 0;
    std::vector<Bytes> Frames;
    /// For each step the frame it shows and its time in 1/60 s.
    std::vector<uint32_t> Sequence;
    std::vector<uint32_t> Rates;
    /// The "LIST INFO" title (INAM) and artist (IART), empty when absent.
    std::string Title;
    std::string Artist;

    static constexpr size_t MaxFrames = 4096;
    static constexpr size_t MaxSteps = 65536;
    static constexpr size_t MaxTextBytes = 1024;
    static constexpr size_t MaxFileBytes = size_t { 64 } << 20;
};

/// True when the bytes start as a RIFF "ACON" form.
bool IsAnimatedCursorData(ByteSpan data);

/// True when a file starts as a RIFF "ACON" form.
bool IsAnimatedCursorFile(const std::string& fileName);

/// Reads an animated cursor leniently: the RIFF size may be wrong, chunks may miss their pad
/// byte, and frames count as icon or cursor files whatever the flags say. Raises the core's
/// general error with a text that says what is wrong when no frame can be read, when a frame
/// is no icon or cursor file, or when a step names a frame the file lacks.
TAnimatedCursor ReadAnimatedCursor(ByteSpan data);

/// ReadAnimatedCursor of a file, which may be at most MaxFileBytes long.
TAnimatedCursor ReadAnimatedCursorFile(const std::string& fileName);

} // namespace velmora
