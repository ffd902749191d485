// Downscaling (and upscaling) of pictures with a separable Lanczos-3 filter on premultiplied
// alpha.

#include "graphics/resample.h"

#include "messages/messages.h"
#include "support/error.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace velmora
{

namespace
{

// Three lobes for the pictures stored raw; two (less ringing at edges, which deflate packs
// far better) for the largest, PNG-compressed ones.
constexpr double SharpLobes = 3.0;
constexpr double CompactLobes = 2.0;

double Sinc(double x)
{
    if (x == 0.0)
        return 1.0;
    const double px = std::numbers::pi * x;
    return std::sin(px) / px;
}

double Lanczos(double x, double lobes)
{
    return (x > -lobes && x < lobes) ? Sinc(x) * Sinc(x / lobes) : 0.0;
}

// The source pixels and their weights for each output pixel along one axis. The windows are
// those of the usual convolution resampler: centred on the output pixel's middle, widened by
// the scale when shrinking.
struct TFilterAxis {
    std::vector<int> Start;
    std::vector<int> Count;
    int Taps = 0;
    std::vector<float> Weights; // Taps per output pixel

    TFilterAxis(int inSize, int outSize, double lobes)
        : Start(static_cast<size_t>(outSize))
        , Count(static_cast<size_t>(outSize))
    {
        const double scale = static_cast<double>(inSize) / outSize;
        const double filterScale = std::max(scale, 1.0);
        const double support = lobes * filterScale;
        Taps = static_cast<int>(std::ceil(support)) * 2 + 1;
        Weights.assign(static_cast<size_t>(outSize) * static_cast<size_t>(Taps), 0.0f);
        for (int out = 0; out < outSize; ++out) {
            const double centre = (out + 0.5) * scale;
            const int first = std::max(static_cast<int>(centre - support + 0.5), 0);
            const int last = std::min(static_cast<int>(centre + support + 0.5), inSize);
            const int count = std::min(last - first, Taps);
            float* weights = &Weights[static_cast<size_t>(out) * static_cast<size_t>(Taps)];
            double total = 0.0;
            for (int k = 0; k < count; ++k) {
                const double w = Lanczos((first + k - centre + 0.5) / filterScale, lobes);
                weights[k] = static_cast<float>(w);
                total += w;
            }
            for (int k = 0; k < count && total != 0.0; ++k)
                weights[k] = static_cast<float>(weights[k] / total);
            Start[static_cast<size_t>(out)] = first;
            Count[static_cast<size_t>(out)] = count;
        }
    }
};

// A premultiplied picture: four floats (blue, green, red, alpha; 0 to 255) per pixel.
struct TFloatPicture {
    int Width = 0;
    int Height = 0;
    std::vector<float> Pixels;

    const float* Row(int y) const
    {
        return Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Width) * 4;
    }
};

using TRowSource = std::function<const float*(int y)>;

// Resamples a picture of inWidth x inHeight, read row by row, to outWidth x outHeight, and
// places it at (left, top) in a transparent square of side pixels. Only one source row is
// held at a time besides the horizontally resampled rows.
TFloatPicture Resample(const TRowSource& rows, int inWidth, int inHeight, int outWidth,
    int outHeight, int side, int left, int top)
{
    const double lobes = side >= 256 ? CompactLobes : SharpLobes;
    const TFilterAxis across(inWidth, outWidth, lobes);
    const TFilterAxis down(inHeight, outHeight, lobes);
    const size_t outRow = static_cast<size_t>(outWidth) * 4;

    // Horizontally: only the source rows that some output row needs.
    const int firstRow = down.Start.front();
    const int lastRow = down.Start.back() + down.Count.back();
    std::vector<float> narrow(static_cast<size_t>(lastRow - firstRow) * outRow, 0.0f);
    for (int y = firstRow; y < lastRow; ++y) {
        const float* in = rows(y);
        float* out = narrow.data() + static_cast<size_t>(y - firstRow) * outRow;
        for (int x = 0; x < outWidth; ++x) {
            const float* weights
                = &across.Weights[static_cast<size_t>(x) * static_cast<size_t>(across.Taps)];
            const float* pixel = in + static_cast<size_t>(across.Start[static_cast<size_t>(x)]) * 4;
            float sum[4] = { 0, 0, 0, 0 };
            const int count = across.Count[static_cast<size_t>(x)];
            for (int k = 0; k < count; ++k) {
                for (int c = 0; c < 4; ++c)
                    sum[c] += weights[k] * pixel[4 * k + c];
            }
            for (int c = 0; c < 4; ++c)
                out[4 * x + c] = sum[c];
        }
    }

    // Vertically, into the square.
    TFloatPicture square { side, side,
        std::vector<float>(static_cast<size_t>(side) * static_cast<size_t>(side) * 4, 0.0f) };
    for (int y = 0; y < outHeight; ++y) {
        float* out = square.Pixels.data()
            + (static_cast<size_t>(top + y) * static_cast<size_t>(side) + static_cast<size_t>(left))
                * 4;
        const float* weights
            = &down.Weights[static_cast<size_t>(y) * static_cast<size_t>(down.Taps)];
        const int start = down.Start[static_cast<size_t>(y)];
        for (int k = 0; k < down.Count[static_cast<size_t>(y)]; ++k) {
            const float w = weights[k];
            const float* in = narrow.data() + static_cast<size_t>(start + k - firstRow) * outRow;
            for (size_t i = 0; i < outRow; ++i)
                out[i] += w * in[i];
        }
    }
    return square;
}

uint8_t ToByte(float value)
{
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0l, 255l));
}

// Back to straight alpha in bytes.
TBitmap ToBitmap(const TFloatPicture& picture)
{
    TBitmap bitmap(picture.Width, picture.Height, TPixelFormat::pf32bit);
    for (int y = 0; y < picture.Height; ++y) {
        const float* in = picture.Row(y);
        uint8_t* out = bitmap.ScanLine(y);
        for (int x = 0; x < picture.Width; ++x) {
            const float* p = in + 4 * x;
            const uint8_t alpha = ToByte(p[3]);
            if (alpha == 0)
                continue;
            const float unmultiply = 255.0f / p[3];
            for (int c = 0; c < 3; ++c)
                out[4 * x + c] = ToByte(p[c] * unmultiply);
            out[4 * x + 3] = alpha;
        }
    }
    return bitmap;
}

} // namespace

std::vector<TBitmap> MakeSquareSizes(const TBitmap& picture, std::span<const int> sides)
{
    if (picture.PixelFormat() != TPixelFormat::pf32bit || picture.Empty()
        || picture.Width() > LargestSourceSide || picture.Height() > LargestSourceSide)
        throw EInvalidGraphic(FormatText(Messages::PictureSideRefused,
            { std::to_string(picture.Width()), std::to_string(picture.Height()),
                std::to_string(LargestSourceSide) }));
    for (int side : sides) {
        if (side < 1 || side > 256)
            throw EInvalidGraphic(FormatText(Messages::PictureSideRefused,
                { std::to_string(side), std::to_string(side), "256" }));
    }

    // The picture's rows, premultiplied one at a time.
    std::vector<float> row(static_cast<size_t>(picture.Width()) * 4);
    const TRowSource pictureRows = [&](int y) {
        const uint8_t* in = picture.ScanLine(y);
        for (size_t i = 0; i < row.size(); i += 4) {
            const float alpha = in[i + 3];
            const float factor = alpha / 255.0f;
            row[i] = in[i] * factor;
            row[i + 1] = in[i + 1] * factor;
            row[i + 2] = in[i + 2] * factor;
            row[i + 3] = alpha;
        }
        return static_cast<const float*>(row.data());
    };

    // Largest first, so that smaller squares can be made from larger ones.
    std::vector<size_t> order(sides.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(
        order.begin(), order.end(), [&](size_t a, size_t b) { return sides[a] > sides[b]; });

    std::vector<TFloatPicture> made(sides.size());
    std::vector<TBitmap> result(sides.size());
    for (size_t n = 0; n < order.size(); ++n) {
        const int side = sides[order[n]];
        // A square picture is made from the largest square made so far when that is at least
        // twice this side: one more pass of the filter over a few pixels instead of all of the
        // picture's. A picture that is not square is always read whole, since a square made
        // from it holds its fitted rectangle at rounded sizes and places.
        const TFloatPicture* from = nullptr;
        if (picture.Width() == picture.Height() && n > 0 && made[order[0]].Width >= 2 * side)
            from = &made[order[0]];
        TFloatPicture square;
        if (from) {
            square = Resample([from](int y) { return from->Row(y); }, from->Width, from->Height,
                side, side, side, 0, 0);
        } else {
            const int longest = std::max(picture.Width(), picture.Height());
            const auto fit = [&](int length) {
                return std::max(
                    1, static_cast<int>(std::lround(static_cast<double>(length) * side / longest)));
            };
            const int width = fit(picture.Width());
            const int height = fit(picture.Height());
            square = Resample(pictureRows, picture.Width(), picture.Height(), width, height, side,
                (side - width) / 2, (side - height) / 2);
        }
        result[order[n]] = ToBitmap(square);
        made[order[n]] = std::move(square);
    }
    return result;
}

} // namespace velmora
