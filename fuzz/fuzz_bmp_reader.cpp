// Reads arbitrary bytes as a .bmp file. Whatever the reader accepts must survive a round trip
// through the writer unchanged; anything else must be refused with the codec's error.
#include "graphics/bmp_codec.h"
#include "support/error.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace velmora;
    TBitmap bitmap;
    try {
        bitmap = ReadBmp(ByteSpan(data, size));
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    Bytes written = WriteBmp(bitmap);
    TBitmap again = ReadBmp(written);
    if (!(again == bitmap)) {
        std::fprintf(stderr, "round trip changed the bitmap (%d x %d, format %d)\n", bitmap.Width(),
            bitmap.Height(), static_cast<int>(bitmap.PixelFormat()));
        std::abort();
    }
    return 0;
}
