#include "icons/icon_directory_entry.h"

#include "support/byte_io.h"

namespace velmora
{

bool TIconDirectoryEntry::ReadFromRecord(const uint8_t* record)
{
    Width = record[0]; // bWidth(1)
    Height = record[1]; // bHeight(1)
    ColorCount = record[2]; // bColorCount(1)
    Reserved = record[3]; // bReserved(1)
    Planes = ReadU16(record + 4); // wPlanes(2)
    BitCount = ReadU16(record + 6); // wBitCount(2)
    BytesInRes = ReadU32(record + 8); // dwBytesInRes(4)
    ImageOffset = ReadU32(record + 12); // dwImageOffset(4)
    return true;
}

bool TIconDirectoryEntry::WriteToRecord(uint8_t* record) const
{
    record[0] = Width;
    record[1] = Height;
    record[2] = ColorCount;
    record[3] = Reserved;
    WriteU16(record + 4, Planes);
    WriteU16(record + 6, BitCount);
    WriteU32(record + 8, BytesInRes);
    WriteU32(record + 12, ImageOffset);
    return true;
}

bool TIconDirectoryEntry::Assign(const TIconDirectoryEntry* source)
{
    if (!source)
        return false;
    *this = *source;
    return true;
}

bool TIconDirectoryEntry::AssignFromBitmapHeader(const TBitmapInfoHeader& header)
{
    Width = static_cast<uint8_t>(header.biWidth);
    Height = static_cast<uint8_t>(header.biHeight);
    ColorCount = 0;
    Reserved = 0;
    Planes = header.biPlanes;
    BitCount = header.biBitCount;
    BytesInRes = header.biSizeImage;
    ImageOffset = 0;
    return true;
}

} // namespace velmora
