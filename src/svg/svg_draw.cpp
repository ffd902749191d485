// SVG data drawn at given sizes with librsvg and cairo, in this process.

#include "support/error.h"
#include "svg_drawer.h"

#include <algorithm>
#include <cairo.h>
#include <librsvg/rsvg.h>
#include <memory>

namespace velmora
{

namespace
{

// rsvg-convert's resolution, so that lengths in physical units come out as it draws them.
constexpr double DotsPerInch = 96.0;

struct TGObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct TSurfaceDestroy {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct TCairoDestroy {
    void operator()(cairo_t* cairo) const { cairo_destroy(cairo); }
};
struct TErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using THandle = std::unique_ptr<RsvgHandle, TGObjectUnref>;
using TSurface = std::unique_ptr<cairo_surface_t, TSurfaceDestroy>;
using TCairo = std::unique_ptr<cairo_t, TCairoDestroy>;
using TError = std::unique_ptr<GError, TErrorFree>;

[[noreturn]] void Refuse(const std::string& what, GError* error)
{
    const TError owned(error);
    std::string text = what;
    if (owned && owned->message) {
        text += ": ";
        text += owned->message;
    }
    throw EInvalidGraphic(text);
}

// The picture's own width and height in pixels: its width and height, or else its viewBox.
std::pair<double, double> NaturalSize(RsvgHandle* handle)
{
    double width = 0;
    double height = 0;
    if (rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height) && width > 0
        && height > 0)
        return { width, height };
    gboolean hasWidth = FALSE;
    gboolean hasHeight = FALSE;
    gboolean hasViewBox = FALSE;
    RsvgLength lengthWidth {};
    RsvgLength lengthHeight {};
    RsvgRectangle viewBox {};
    rsvg_handle_get_intrinsic_dimensions(
        handle, &hasWidth, &lengthWidth, &hasHeight, &lengthHeight, &hasViewBox, &viewBox);
    if (hasViewBox && viewBox.width > 0 && viewBox.height > 0)
        return { viewBox.width, viewBox.height };
    throw EInvalidGraphic("the SVG has no size: neither a width and height nor a viewBox");
}

// Cairo's premultiplied native-endian ARGB to straight blue, green, red, alpha, rounding as
// cairo's own PNG writer does; fully transparent pixels become 0 in every byte.
TBitmap StraightBitmap(cairo_surface_t* surface, int side)
{
    TBitmap bitmap(side, side, TPixelFormat::pf32bit);
    const uint8_t* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < side; ++y) {
        const uint8_t* in = data + static_cast<ptrdiff_t>(y) * stride;
        uint8_t* out = bitmap.ScanLine(y);
        for (int x = 0; x < side; ++x, in += 4, out += 4) {
            uint32_t argb = 0;
            std::copy(in, in + 4, reinterpret_cast<uint8_t*>(&argb));
            const uint32_t alpha = argb >> 24;
            if (alpha == 0)
                continue;
            const auto straight = [&](uint32_t value) {
                return static_cast<uint8_t>((value * 255 + alpha / 2) / alpha);
            };
            out[0] = straight(argb & 0xFF);
            out[1] = straight((argb >> 8) & 0xFF);
            out[2] = straight((argb >> 16) & 0xFF);
            out[3] = static_cast<uint8_t>(alpha);
        }
    }
    return bitmap;
}

} // namespace

std::vector<TBitmap> DrawSvgSquares(ByteSpan data, std::span<const int> sides)
{
    for (int side : sides) {
        if (side < 1 || side > 256)
            throw EInvalidGraphic("SVG size " + std::to_string(side) + " is not 1 to 256");
    }
    if (data.size() > MaxSvgFileBytes)
        throw EInvalidGraphic("the SVG file is larger than 16 MiB");
    GError* error = nullptr;
    // No base file or address: librsvg then refuses every reference outside the data.
    const THandle handle(rsvg_handle_new_from_data(data.data(), data.size(), &error));
    if (!handle)
        Refuse("the SVG could not be read", error);
    rsvg_handle_set_dpi(handle.get(), DotsPerInch);
    const auto [width, height] = NaturalSize(handle.get());

    std::vector<TBitmap> drawn;
    for (int side : sides) {
        const TSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side));
        const TCairo cairo(cairo_create(surface.get()));
        if (cairo_status(cairo.get()) != CAIRO_STATUS_SUCCESS)
            throw EOutOfMemory("no memory to draw the SVG");
        // Fitted inside the square and centred, drawn at the scale rsvg-convert uses.
        const double scale = side / std::max(width, height);
        cairo_translate(cairo.get(), (side - width * scale) / 2.0, (side - height * scale) / 2.0);
        cairo_scale(cairo.get(), scale, scale);
        const RsvgRectangle viewport { 0, 0, width, height };
        if (!rsvg_handle_render_document(handle.get(), cairo.get(), &viewport, &error))
            Refuse("the SVG could not be drawn", error);
        cairo_surface_flush(surface.get());
        drawn.push_back(StraightBitmap(surface.get(), side));
    }
    return drawn;
}

} // namespace velmora
