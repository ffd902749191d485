#include "programs/ne_resource_table.h"

#include "messages/messages.h"
#include "programs/byte_source.h"
#include "support/error.h"

#include <algorithm>

namespace velmora
{

namespace
{

constexpr uint64_t NeHeaderSize = 64;
constexpr uint16_t IntegerIdBit = 0x8000;
constexpr uint64_t TypeInfoSize = 8;
constexpr uint64_t NameInfoSize = 12;
// Shifts above this would place resources past 4 GiB from offsets of 16 bits.
constexpr uint16_t MaxAlignShift = 16;

[[noreturn]] void Damaged(std::string_view why)
{
    throw Exception(FormatText(Messages::ProgramTableDamaged, { why }));
}

// A name of the table: an integer when the high bit is set, else the offset of a string of
// the table (a length byte and the characters, taken as Latin-1).
TResourceName TableName(const Bytes& table, uint16_t value)
{
    TResourceName name;
    if (value & IntegerIdBit) {
        name.Id = value & ~IntegerIdBit;
        return name;
    }
    name.IsText = true;
    if (value >= table.size() || value + 1 + uint64_t { table[value] } > table.size()) {
        name.Text = std::to_string(value);
        name.Text.insert(name.Text.begin(), '#');
        return name;
    }
    for (uint8_t i = 0; i < table[value]; ++i) {
        const uint8_t c = table[value + 1u + i];
        if (c < 0x80) {
            name.Text += static_cast<char>(c);
        } else {
            name.Text += static_cast<char>(0xC0 | (c >> 6));
            name.Text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return name;
}

} // namespace

std::vector<TProgramResource> ReadNeResources(
    const TByteSource& source, uint32_t neOffset, std::span<const uint16_t> types)
{
    std::optional<Bytes> header = source.Read(neOffset, NeHeaderSize);
    if (!header)
        Damaged("the NE header lies past the end of the file");
    const uint16_t resourceTable = ReadU16(header->data() + 0x24); // ne_rsrctab
    const uint16_t residentNames = ReadU16(header->data() + 0x26); // ne_restab
    if (resourceTable == residentNames)
        return {}; // no resources
    if (residentNames < resourceTable)
        Damaged("the resource table ends before it begins");
    // The resident-name table follows the resource table, which gives its size; both are
    // addressed with 16 bits from the header, so the table is small.
    std::optional<Bytes> table
        = source.Read(uint64_t { neOffset } + resourceTable, residentNames - resourceTable);
    if (!table || table->size() < 2)
        Damaged("the resource table lies past the end of the file");
    const uint16_t shift = ReadU16(table->data()); // rscAlignShift
    if (shift > MaxAlignShift)
        Damaged("the alignment shift is larger than 16");

    std::vector<TProgramResource> resources;
    uint64_t at = 2;
    while (at + 2 <= table->size()) {
        const uint16_t typeId = ReadU16(table->data() + at); // rtTypeID
        if (typeId == 0)
            return resources;
        if (at + TypeInfoSize > table->size())
            break;
        const uint16_t count = ReadU16(table->data() + at + 2); // rtResourceCount
        at += TypeInfoSize;
        if (count * NameInfoSize > table->size() - at)
            break;
        const bool wanted = (typeId & IntegerIdBit)
            && std::find(types.begin(), types.end(), typeId & ~IntegerIdBit) != types.end();
        for (uint16_t i = 0; wanted && i < count; ++i) {
            const uint8_t* p = table->data() + at + i * NameInfoSize;
            TProgramResource resource;
            resource.Type = typeId & ~IntegerIdBit;
            resource.Name = TableName(*table, ReadU16(p + 6)); // rnID
            resource.Offset = uint64_t { ReadU16(p + 0) } << shift; // rnOffset
            resource.Size = uint64_t { ReadU16(p + 2) } << shift; // rnLength
            resource.SizeExact = false;
            resource.Present = source.Contains(resource.Offset, resource.Size);
            if (!resource.Present && resource.Offset < source.Size()) {
                // The rounded length may run past the end of a file that ends at once.
                resource.Size = source.Size() - resource.Offset;
                resource.Present = true;
            }
            resources.push_back(std::move(resource));
        }
        at += count * NameInfoSize;
    }
    // The table is bounded by its 16-bit size, so the loop above ends; a table without its
    // terminating zero type is damaged.
    Damaged("the resource table runs past its end");
}

} // namespace velmora
