// Fuzz target of the SVG reading: draws the input as an SVG at two sizes in this process, with
// librsvg's own limits. A refusal is the expected answer to bad input; anything else, a crash
// or a drawn size of the wrong shape, is a finding.
#include "support/error.h"
#include "svg_drawer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace velmora;
    const int sides[] = { 16, 48 };
    try {
        const std::vector<TBitmap> drawn = DrawSvgSquares(ByteSpan(data, size), sides);
        for (size_t i = 0; i < drawn.size(); ++i) {
            if (drawn[i].Width() != sides[i] || drawn[i].Height() != sides[i])
                std::abort();
        }
    } catch (const Exception&) {
    }
    return 0;
}
