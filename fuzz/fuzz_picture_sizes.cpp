// Fuzz target of the picture import: decodes the input as a PNG picture (or any other picture
// file), makes the sizes of an icon from it and adds them to a document, and checks that the
// compact PNG encoding gives the picture back exactly. Errors of the core are the expected
// answer to bad input; anything else, a failed round trip included, is a finding.
#include "graphics/png_codec.h"
#include "graphics/resample.h"
#include "icons/icon_directory_picture.h"
#include "support/error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace velmora;
    try {
        const TBitmap picture = DecodePng(ByteSpan(data, size));
        // Large pictures are valid but slow; the resampler's bounds are the same for all.
        if (picture.Width() > 1024 || picture.Height() > 1024)
            return 0;
        if (picture.Width() <= LargestPictureSide && picture.Height() <= LargestPictureSide
            && DecodePng(EncodePngCompact(picture)) != picture)
            std::abort();
        TIconDirectory document;
        const int sides[] = { 256, 16, 20 };
        for (const TBitmap& square : MakeSquareSizes(picture, sides)) {
            if (ImportPicture(document, square) != 0)
                std::abort();
        }
    } catch (const Exception&) {
    }
    return 0;
}
