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
    Bytes* Output = nullptr;
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

void PngWrite(png_structp png, png_bytep data, size_t count)
{
    auto* context = static_cast<TPngContext*>(png_get_io_ptr(png));
    bool stored = true;
    try {
        context->Output->insert(context->Output->end(), data, data + count);
    } catch (const std::bad_alloc&) {
        stored = false;
    }
    // Raised outside the handler: longjmp must not leave a catch block.
    if (!stored)
        png_error(png, "out of memory");
}

void PngFlush(png_structp)
{
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

bool WritePngRows(png_structp png, png_infop info, uint32_t width, uint32_t height, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
        PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Icons are small and exported many at a time: the fastest deflate level with the "up"
    // filter writes them about three times faster than the defaults, at some 6 % more bytes.
    png_set_compression_level(png, 1);
    png_set_filter(png, 0, PNG_FILTER_UP);
    png_write_info(png, info);
    png_set_bgr(png);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

// How EncodePngCompact stores a picture: the smallest PNG colour type that holds it exactly.
struct TPngPlan {
    int ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
    int BitDepth = 8;
    std::vector<png_color> Palette;
    std::vector<png_byte> PaletteAlpha;
    std::vector<Bytes> Rows; // packed rows in the chosen layout
};

bool WriteCompactRows(png_structp png, png_infop info, uint32_t width, uint32_t height,
    TPngPlan* plan, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, width, height, plan->BitDepth, plan->ColorType, PNG_INTERLACE_NONE,
        PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (plan->ColorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, plan->Palette.data(), static_cast<int>(plan->Palette.size()));
        if (!plan->PaletteAlpha.empty())
            png_set_tRNS(png, info, plan->PaletteAlpha.data(),
                static_cast<int>(plan->PaletteAlpha.size()), nullptr);
    }
    png_set_compression_level(png, 9);
    png_set_compression_mem_level(png, 9);
    // Palette and low-depth pictures pack best unfiltered; the others with libpng's choice
    // of filter for each row.
    const bool indexed = plan->ColorType == PNG_COLOR_TYPE_PALETTE || plan->BitDepth < 8;
    png_set_filter(png, 0, indexed ? PNG_FILTER_NONE : PNG_ALL_FILTERS);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

// Chooses the colour type: grey without alpha, a palette of at most 256 colours (with their
// alpha), grey with alpha, RGB, or RGBA; and packs the rows for it.
TPngPlan PlanCompact(const TBitmap& bgra32)
{
    const int width = bgra32.Width();
    const int height = bgra32.Height();
    bool opaque = true;
    bool grey = true;
    // Colours in order of first use; the palette lookup is a small open-addressed table.
    std::vector<uint32_t> colours;
    std::vector<int32_t> table(1024, -1);
    auto key = [](const uint8_t* p) {
        return uint32_t { p[0] } | uint32_t { p[1] } << 8 | uint32_t { p[2] } << 16
            | uint32_t { p[3] } << 24;
    };
    auto slotOf = [&](uint32_t colour) {
        size_t slot = (colour * 2654435761u) >> 22;
        while (table[slot] >= 0 && colours[static_cast<size_t>(table[slot])] != colour)
            slot = (slot + 1) & 1023;
        return slot;
    };
    bool fewColours = true;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = bgra32.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = row + 4 * x;
            opaque = opaque && p[3] == 255;
            grey = grey && p[0] == p[1] && p[1] == p[2];
            if (fewColours) {
                const uint32_t colour = key(p);
                const size_t slot = slotOf(colour);
                if (table[slot] < 0) {
                    if (colours.size() == 256)
                        fewColours = false;
                    else {
                        table[slot] = static_cast<int32_t>(colours.size());
                        colours.push_back(colour);
                    }
                }
            }
        }
    }

    TPngPlan plan;
    int channels = 4;
    if (grey && opaque) {
        plan.ColorType = PNG_COLOR_TYPE_GRAY;
        channels = 1;
    } else if (fewColours) {
        plan.ColorType = PNG_COLOR_TYPE_PALETTE;
        channels = 1;
        // Translucent entries first, so that the tRNS chunk stays short.
        std::stable_partition(
            colours.begin(), colours.end(), [](uint32_t colour) { return (colour >> 24) != 255; });
        std::fill(table.begin(), table.end(), -1);
        for (size_t i = 0; i < colours.size(); ++i) {
            table[slotOf(colours[i])] = static_cast<int32_t>(i);
            const uint32_t c = colours[i];
            plan.Palette.push_back({ static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                static_cast<png_byte>(c) });
            if ((c >> 24) != 255)
                plan.PaletteAlpha.push_back(static_cast<png_byte>(c >> 24));
        }
        plan.BitDepth = colours.size() <= 2 ? 1
            : colours.size() <= 4           ? 2
            : colours.size() <= 16          ? 4
                                            : 8;
    } else if (grey) {
        plan.ColorType = PNG_COLOR_TYPE_GRAY_ALPHA;
        channels = 2;
    } else if (opaque) {
        plan.ColorType = PNG_COLOR_TYPE_RGB;
        channels = 3;
    }

    const size_t rowBytes = (static_cast<size_t>(width) * channels * plan.BitDepth + 7) / 8;
    plan.Rows.assign(static_cast<size_t>(height), Bytes(rowBytes, 0));
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = bgra32.ScanLine(y);
        uint8_t* out = plan.Rows[static_cast<size_t>(y)].data();
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = in + 4 * x;
            switch (plan.ColorType) {
            case PNG_COLOR_TYPE_GRAY:
                out[x] = p[0];
                break;
            case PNG_COLOR_TYPE_PALETTE: {
                const auto index = static_cast<uint32_t>(table[slotOf(key(p))]);
                const int bit = x * plan.BitDepth;
                out[bit / 8] |= static_cast<uint8_t>(index << (8 - plan.BitDepth - bit % 8));
                break;
            }
            case PNG_COLOR_TYPE_GRAY_ALPHA:
                out[2 * x] = p[0];
                out[2 * x + 1] = p[3];
                break;
            case PNG_COLOR_TYPE_RGB:
                out[3 * x] = p[2];
                out[3 * x + 1] = p[1];
                out[3 * x + 2] = p[0];
                break;
            default:
                out[4 * x] = p[2];
                out[4 * x + 1] = p[1];
                out[4 * x + 2] = p[0];
                out[4 * x + 3] = p[3];
                break;
            }
        }
    }
    return plan;
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

Bytes EncodePng(const TBitmap& bgra32)
{
    if (bgra32.PixelFormat() != TPixelFormat::pf32bit || bgra32.Empty())
        throw EInvalidGraphic(FormatText(Messages::PngNeeds32Bit,
            { std::to_string(bgra32.BitsPerPixel()), std::to_string(bgra32.Width()),
                std::to_string(bgra32.Height()) }));
    Bytes out;
    out.reserve(bgra32.Pixels().size() / 2 + 1024);
    TPngContext context;
    context.Output = &out;
    TPngHandle handle(context, true);
    png_set_write_fn(handle.Png(), &context, PngWrite, PngFlush);

    // libpng copies each row before it swaps the channels, so the bitmap is left untouched.
    std::vector<png_bytep> rows(static_cast<size_t>(bgra32.Height()));
    for (int y = 0; y < bgra32.Height(); ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(bgra32.ScanLine(y));
    if (!WritePngRows(handle.Png(), handle.Info(), static_cast<uint32_t>(bgra32.Width()),
            static_cast<uint32_t>(bgra32.Height()), rows.data()))
        throw EInvalidGraphic(FormatText(Messages::PngImageNotWritten, { context.Message }));
    return out;
}

} // namespace velmora

namespace velmora
{

Bytes EncodePngCompact(const TBitmap& bgra32)
{
    if (bgra32.PixelFormat() != TPixelFormat::pf32bit || bgra32.Empty())
        throw EInvalidGraphic(FormatText(Messages::PngNeeds32Bit,
            { std::to_string(bgra32.BitsPerPixel()), std::to_string(bgra32.Width()),
                std::to_string(bgra32.Height()) }));
    TPngPlan plan = PlanCompact(bgra32);
    Bytes out;
    TPngContext context;
    context.Output = &out;
    TPngHandle handle(context, true);
    png_set_write_fn(handle.Png(), &context, PngWrite, PngFlush);
    std::vector<png_bytep> rows(plan.Rows.size());
    for (size_t y = 0; y < rows.size(); ++y)
        rows[y] = plan.Rows[y].data();
    if (!WriteCompactRows(handle.Png(), handle.Info(), static_cast<uint32_t>(bgra32.Width()),
            static_cast<uint32_t>(bgra32.Height()), &plan, rows.data()))
        throw EInvalidGraphic(FormatText(Messages::PngImageNotWritten, { context.Message }));
    return out;
}

} // namespace velmora
