#include "graphics/bmp_rle.h"

#include "graphics/bitmap_pixels.h"
#include "messages/messages.h"
#include "support/error.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace velmora
{

namespace
{

/// The read position and the pen of a run-length stream.
class TRleDecoder
{
public:
    TRleDecoder(ByteSpan data, TBitmap& bitmap)
        : m_data(data)
        , m_bitmap(bitmap)
        , m_bits(bitmap.BitsPerPixel())
        , m_paddedWidth(static_cast<int64_t>(bitmap.Stride() * 8 / static_cast<size_t>(m_bits)))
    {
    }

    void Run()
    {
        while (m_pos < m_data.size()) {
            uint8_t count = Next();
            uint8_t value = Next();
            if (count > 0) {
                Draw(count, value, nullptr);
                continue;
            }
            switch (value) {
            case 0: // end of line
                m_x = 0;
                Move(0, 1);
                break;
            case 1: // end of bitmap
                return;
            case 2: { // delta: move right and up
                uint8_t dx = Next();
                uint8_t dy = Next();
                Move(dx, dy);
                break;
            }
            default:
                Absolute(value);
                break;
            }
        }
    }

private:
    uint8_t Next()
    {
        if (m_pos >= m_data.size())
            throw EInvalidGraphic(std::string(Messages::BmpRleTruncated));
        return m_data[m_pos++];
    }

    [[noreturn]] void PastPicture(int64_t x, int64_t y) const
    {
        throw EInvalidGraphic(
            FormatText(Messages::BmpRlePastPicture, { std::to_string(y), std::to_string(x) }));
    }

    /// Moves the pen; it may stop just past the padded row or the last line, but no further.
    void Move(int64_t dx, int64_t dy)
    {
        if (m_x + dx > m_paddedWidth || m_y + dy > m_bitmap.Height())
            PastPicture(m_x + dx, m_y + dy);
        m_x += dx;
        m_y += dy;
    }

    /// Draws count pixels at the pen. Some encoders (ImageMagick among them) run the last run
    /// of a line into the row's padding; those pixels are dropped, but a run past the padded
    /// row is refused. The pixels are those stored at run or, without run, a run of value (at 4
    /// bits its two nibbles alternate, the high one first).
    void Draw(int count, uint8_t value, const uint8_t* run)
    {
        if (m_y >= m_bitmap.Height() || m_x + count > m_paddedWidth)
            PastPicture(m_x + count, m_y);
        uint8_t* row = m_bitmap.ScanLine(static_cast<int>(m_bitmap.Height() - 1 - m_y));
        int64_t visible = std::max<int64_t>(std::min<int64_t>(count, m_bitmap.Width() - m_x), 0);
        if (m_bits == 8) {
            auto start = static_cast<size_t>(m_x);
            if (run != nullptr)
                std::memcpy(row + start, run, static_cast<size_t>(visible));
            else
                std::memset(row + start, value, static_cast<size_t>(visible));
        } else {
            for (int i = 0; i < visible; ++i) {
                uint32_t index = run != nullptr ? ReadRowIndex(run, i, 4)
                                                : (i % 2 == 0 ? value >> 4 : value & 0x0Fu);
                WriteRowIndex(row, static_cast<int>(m_x + i), 4, index);
            }
        }
        m_x += count;
    }

    /// A run of count pixels stored as they are, padded to an even number of bytes.
    void Absolute(int count)
    {
        size_t bytes
            = m_bits == 8 ? static_cast<size_t>(count) : (static_cast<size_t>(count) + 1) / 2;
        size_t padded = bytes + (bytes & 1);
        if (m_data.size() - m_pos < bytes)
            throw EInvalidGraphic(std::string(Messages::BmpRleTruncated));
        const uint8_t* run = m_data.data() + m_pos;
        Draw(count, 0, run);
        // A missing pad byte at the very end of the data is no loss.
        m_pos += std::min(padded, m_data.size() - m_pos);
    }

    ByteSpan m_data;
    TBitmap& m_bitmap;
    int m_bits;
    int64_t m_paddedWidth; // pixels of a row with its padding
    size_t m_pos = 0;
    int64_t m_x = 0; // column of the pen
    int64_t m_y = 0; // line of the pen, counted from the bottom
};

} // namespace

void DecodeBmpRle(ByteSpan data, TBitmap& bitmap)
{
    TRleDecoder(data, bitmap).Run();
}

} // namespace velmora
