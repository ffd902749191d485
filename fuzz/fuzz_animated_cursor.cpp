// Fuzz target: reads the input as an animated cursor and loads each frame it gives as a
// cursor document; every step must name a frame that exists.

#include "icons/animated_cursor.h"
#include "icons/icon_directory.h"

#include <cstdint>
#include <cstdlib>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    velmora::TAnimatedCursor cursor;
    try {
        cursor = velmora::ReadAnimatedCursor(velmora::ByteSpan(data, size));
    } catch (const std::exception&) {
        return 0;
    }
    if (cursor.Sequence.size() != cursor.Rates.size()
        || cursor.Frames.size() > velmora::TAnimatedCursor::MaxFrames)
        std::abort();
    for (uint32_t frame : cursor.Sequence)
        if (frame >= cursor.Frames.size())
            std::abort();
    for (const auto& frame : cursor.Frames) {
        velmora::TIconDirectory document;
        try {
            document.LoadFromBytes("frame", frame);
        } catch (const std::exception&) {
        }
    }
    return 0;
}
