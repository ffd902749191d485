// Fuzz target of the icon image decoder: decodes the input as the data of one icon image and,
// when that succeeds, draws it onto a small 32-bit bitmap at several positions and sizes.
// Errors of the core are the expected answer to bad input; anything else is a finding.
#include "graphics/icon_decoder.h"
#include "graphics/icon_draw.h"
#include "support/error.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace velmora;
    try {
        TIconImage image = DecodeIconImage(ByteSpan(data, size));
        TBitmap dest(24, 20, TPixelFormat::pf32bit);
        // Own size, enlarged, shrunk, clipped on every side, a single pixel.
        const int placements[][4] = {
            { 0, 0, image.Width(), image.Height() },
            { 2, 3, 40, 33 },
            { 1, 1, 5, 3 },
            { -7, -9, 31, 29 },
            { 20, 17, 16, 16 },
            { 0, 0, 1, 1 },
        };
        for (const auto& p : placements)
            DrawIcon(dest, p[0], p[1], p[2], p[3], image);
    } catch (const Exception&) {
    }
    return 0;
}
