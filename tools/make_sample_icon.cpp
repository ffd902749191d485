// Writes the sample icon that the build ships for a first look: a 16 x 16 and a 32 x 32
// 32-bit image with alpha, and a 48 x 48 24-bit image with a mask, drawn as colour ramps.

#include "icons/icon_directory.h"
#include "support/byte_io.h"
#include "support/file_io.h"

#include <cstdio>
#include <exception>

namespace
{

using velmora::Bytes;

Bytes MakeImage(int size, int bits)
{
    const int colourRow = (size * bits + 31) / 32 * 4;
    const int maskRow = (size + 31) / 32 * 4;
    Bytes data(40 + static_cast<size_t>((colourRow + maskRow) * size), 0);
    velmora::TBitmapInfoHeader header;
    header.biWidth = size;
    header.biHeight = 2 * size;
    header.biBitCount = static_cast<uint16_t>(bits);
    header.ToBytes(data.data());
    const int bytesPerPixel = bits / 8;
    for (int y = 0; y < size; ++y) {
        uint8_t* row = data.data() + 40 + y * colourRow;
        uint8_t* mask = data.data() + 40 + size * colourRow + y * maskRow;
        for (int x = 0; x < size; ++x) {
            const int dx = 2 * x - size + 1;
            const int dy = 2 * y - size + 1;
            const bool inside = dx * dx + dy * dy <= size * size;
            uint8_t* pixel = row + x * bytesPerPixel;
            pixel[0] = static_cast<uint8_t>(255 * x / size);
            pixel[1] = static_cast<uint8_t>(255 * y / size);
            pixel[2] = 200;
            if (bits == 32)
                pixel[3] = inside ? 255 : 0;
            if (!inside)
                mask[x / 8] = static_cast<uint8_t>(mask[x / 8] | (0x80 >> (x % 8)));
        }
    }
    return data;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_icon OUTPUT.ico\n");
        return 2;
    }
    const int sizes[] = { 16, 32, 48 };
    const int depths[] = { 32, 32, 24 };
    Bytes file(6 + 16 * 3, 0);
    velmora::WriteU16(file.data() + 2, 1);
    velmora::WriteU16(file.data() + 4, 3);
    for (int i = 0; i < 3; ++i) {
        Bytes image = MakeImage(sizes[i], depths[i]);
        velmora::TIconDirectoryEntry entry;
        entry.Width = static_cast<uint8_t>(sizes[i]);
        entry.Height = static_cast<uint8_t>(sizes[i]);
        entry.Planes = 1;
        entry.BitCount = static_cast<uint16_t>(depths[i]);
        entry.BytesInRes = static_cast<uint32_t>(image.size());
        entry.ImageOffset = static_cast<uint32_t>(file.size());
        entry.WriteToRecord(file.data() + 6 + 16 * i);
        file.insert(file.end(), image.begin(), image.end());
    }
    try {
        velmora::WriteFileAtomically(argv[1], file);
        // Prove that the document reads and writes what was made.
        velmora::TIconDirectory document;
        if (!document.LoadFromFile(argv[1]) || !document.SaveToFile(argv[1]))
            return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
