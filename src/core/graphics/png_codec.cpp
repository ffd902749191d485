#include "graphics/png_codec.h"

#include "messages/messages.h"
#include "support/error.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <png.h>
#include <string>
#include <vector>

namespace velmora
{

namespace
{

constexpr uint8_t PngSignature[8] = { 0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A };

// The most memory libpng may take for one ancillary chunk (text, ICC profiles and the like).
constexpr png_alloc_size_t MaxChunkBytes = 8 * 1024 * 1024;

// Everything libpng's callbacks touch. Plain data only: libpng leaves its callbacks and our
// setjmp frames by longjmp, which runs no destructors.
struct TPngContext {
    const uint8_t* Input = nullptr;
    size_t InputSize = 0;
    size_t Position = 0;
    char Message[256] = {};
};

[[noreturn]] void PngError(png_structp png, png_const_charp message)
{
    auto* context = static_cast<TPngContext*>(png_get_error_ptr(png));
    std::snprintf(context->Message, sizeof context->Message, "%s", message ? message : "");
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp)
{
    // Warnings (damaged ancillary chunks and the like) do not stop the decoding.
}

void PngRead(png_structp png, png_bytep out, size_t count)
{
    auto* context = static_cast<TPngContext*>(png_get_io_ptr(png));
    if (count > context->InputSize - context->Position)
        png_error(png, "the PNG stream ends early");
    std::memcpy(out, context->Input + context->Position, count);
    context->Position += count;
}

// Owns libpng's read or write structures.
class TPngHandle
{
public:
    TPngHandle(TPngContext& context, bool writing)
        : m_writing(writing)
    {
        m_png = writing
            ? png_create_write_struct(PNG_LIBPNG_VER_STRING, &context, PngError, PngWarning)
            : png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, PngError, PngWarning);
        if (m_png)
            m_info = png_create_info_struct(m_png);
        if (!m_png || !m_info) {
            Destroy();
            throw std::bad_alloc();
        }
    }
    ~TPngHandle() { Destroy(); }
    TPngHandle(const TPngHandle&) = delete;
    TPngHandle& operator=(const TPngHandle&) = delete;

    png_structp Png() const { return m_png; }
    png_infop Info() const { return m_info; }

private:
    void Destroy()
    {
        if (m_writing)
            png_destroy_write_struct(&m_png, m_info ? &m_info : nullptr);
        else
            png_destroy_read_struct(&m_png, m_info ? &m_info : nullptr, nullptr);
    }

    bool m_writing;
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

struct TPngLayout {
    uint32_t Width = 0;
    uint32_t Height = 0;
    size_t RowBytes = 0;
};

// The functions below call setjmp: no object with a destructor may live in their frames.
// Each answers false when libpng raised an error; its text is in the context.

bool ReadPngHeader(png_structp png, png_infop info, TPngLayout* layout)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    // Refuse oversized pictures inside libpng already, before it allocates rows for them.
    png_set_user_limits(png, TBitmap::MaxDimension, TBitmap::MaxDimension);
    png_set_chunk_malloc_max(png, MaxChunkBytes);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    layout->Width = png_get_image_width(png, info);
    layout->Height = png_get_image_height(png, info);
    layout->RowBytes = png_get_rowbytes(png, info);
    return true;
}

bool ReadPngRows(png_structp png, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    // Reads up to IEND, so that a stream cut after its pixel data is refused too.
    png_read_end(png, nullptr);
    return true;
}

} // namespace

bool IsPngData(ByteSpan data)
{
    return data.size() >= sizeof PngSignature
        && std::equal(std::begin(PngSignature), std::end(PngSignature), data.begin());
}

TBitmap DecodePng(ByteSpan data)
{
    TPngContext context;
    context.Input = data.data();
    context.InputSize = data.size();
    TPngHandle handle(context, false);
    png_set_read_fn(handle.Png(), &context, PngRead);

    TPngLayout layout;
    if (!ReadPngHeader(handle.Png(), handle.Info(), &layout))
        throw EInvalidGraphic(FormatText(Messages::PngImageInvalid, { context.Message }));
    if (layout.Width == 0 || layout.Height == 0)
        throw EInvalidGraphic(FormatText(Messages::IconImageBadSize,
            { std::to_string(layout.Width), std::to_string(layout.Height) }));
    TBitmap::CheckSize(layout.Width, layout.Height, 32);
    // Deflate packs at most 1032 bytes into one, and a picture needs at least one bit per
    // pixel and a filter byte per row: a stream too short for that is refused before the
    // picture is allocated, so that a few bytes cannot claim 256 MiB.
    const uint64_t leastRawBytes
        = uint64_t { layout.Height } * (1 + (uint64_t { layout.Width } + 7) / 8);
    if (leastRawBytes > 1032 * uint64_t { data.size() } + 1024)
        throw EInvalidGraphic(FormatText(Messages::PngStreamTooShort,
            { std::to_string(data.size()), std::to_string(layout.Width),
                std::to_string(layout.Height) }));
    TBitmap bitmap(
        static_cast<int>(layout.Width), static_cast<int>(layout.Height), TPixelFormat::pf32bit);
    if (layout.RowBytes != bitmap.Stride())
        throw EInvalidGraphic(FormatText(Messages::PngImageInvalid, { "unexpected row size" }));

    std::vector<png_bytep> rows(layout.Height);
    for (uint32_t y = 0; y < layout.Height; ++y)
        rows[y] = bitmap.ScanLine(static_cast<int>(y));
    if (!ReadPngRows(handle.Png(), rows.data()))
        throw EInvalidGraphic(FormatText(Messages::PngImageInvalid, { context.Message }));
    return bitmap;
}

} // namespace velmora
