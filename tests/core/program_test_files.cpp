#include "core/program_test_files.h"

#include <map>

namespace velmora::test
{

namespace
{

void Put(Bytes& out, size_t at, uint32_t value, int size = 4)
{
    out.resize(std::max(out.size(), at + size));
    for (int i = 0; i < size; ++i)
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A PE resource section at rva: directories, data entries, name strings, then the data (at
// dataRva when it is not 0, returned apart in data).
Bytes ResourceTree(
    const std::vector<TTestResource>& resources, uint32_t rva, uint32_t dataRva, Bytes& data)
{
    // type -> names in order -> the resources under each name
    std::vector<std::pair<uint16_t, std::vector<std::vector<const TTestResource*>>>> types;
    for (const TTestResource& r : resources) {
        auto type
            = std::find_if(types.begin(), types.end(), [&](auto& t) { return t.first == r.Type; });
        if (type == types.end())
            type = types.insert(types.end(), { r.Type, {} });
        auto name = std::find_if(type->second.begin(), type->second.end(),
            [&](auto& n) { return n[0]->Id == r.Id && n[0]->Text == r.Text; });
        if (name == type->second.end())
            type->second.push_back({ &r });
        else
            name->push_back(&r);
    }
    Bytes out;
    uint32_t next = 16 + 8 * static_cast<uint32_t>(types.size());
    auto directory = [&](uint32_t at, size_t count) {
        Put(out, at + 14, static_cast<uint32_t>(count), 2);
        Put(out, at + 16 + 8 * static_cast<uint32_t>(count) - 1, 0, 1);
    };
    std::vector<std::pair<uint32_t, const TTestResource*>> dataEntries, strings;
    directory(0, types.size());
    for (size_t t = 0; t < types.size(); ++t) {
        const uint32_t typeDir = next;
        Put(out, 16 + 8 * t, types[t].first);
        Put(out, 20 + 8 * t, 0x80000000 | typeDir);
        directory(typeDir, types[t].second.size());
        next += 16 + 8 * static_cast<uint32_t>(types[t].second.size());
        for (size_t n = 0; n < types[t].second.size(); ++n) {
            const auto& languages = types[t].second[n];
            const uint32_t nameDir = next;
            if (languages[0]->Text.empty())
                Put(out, typeDir + 16 + 8 * n, languages[0]->Id);
            else
                strings.push_back({ typeDir + 16 + 8 * static_cast<uint32_t>(n), languages[0] });
            Put(out, typeDir + 20 + 8 * n, 0x80000000 | nameDir);
            directory(nameDir, languages.size());
            next += 16 + 8 * static_cast<uint32_t>(languages.size());
            for (size_t l = 0; l < languages.size(); ++l) {
                Put(out, nameDir + 16 + 8 * l, languages[l]->Language);
                dataEntries.push_back(
                    { nameDir + 20 + 8 * static_cast<uint32_t>(l), languages[l] });
            }
        }
    }
    for (auto& [field, r] : dataEntries) {
        Put(out, field, next);
        next += 16;
    }
    for (auto& [field, r] : strings) {
        Put(out, field, 0x80000000 | next);
        Put(out, next, static_cast<uint32_t>(r->Text.size()), 2);
        for (char c : r->Text)
            Put(out, next += 2, static_cast<uint8_t>(c), 2);
        next += 2;
    }
    out.resize(next);
    for (auto& [field, r] : dataEntries) {
        Bytes& target = dataRva ? data : out;
        const auto at = static_cast<uint32_t>((target.size() + 7) & ~size_t { 7 });
        const uint32_t entry = ReadU32(out.data() + field);
        Put(out, entry, (dataRva ? dataRva : rva) + at);
        Put(out, entry + 4, static_cast<uint32_t>(r->Data.size()));
        target.resize(at);
        target.insert(target.end(), r->Data.begin(), r->Data.end());
    }
    return out;
}

Bytes MakePe(TTestProgram kind, const std::vector<TTestResource>& resources)
{
    const bool is64 = kind != TTestProgram::Pe32, mun = kind == TTestProgram::Mun;
    const uint32_t align = mun ? 0x10 : 0x200, rsrcRva = mun ? 0x1010 : 0x2000;
    const uint32_t rsrcRaw = mun ? 0x1F0 : 0x400;
    Bytes data;
    Bytes tree = ResourceTree(resources, rsrcRva, mun ? 0x3000 : 0, data);
    const uint32_t size = static_cast<uint32_t>(tree.size());
    const uint32_t dataRaw = (rsrcRaw + size + align - 1) & ~(align - 1);
    const uint32_t o = 0x40 + 24, sections = o + (is64 ? 240 : 224);
    const uint32_t directories = o + (is64 ? 112 : 96);
    Bytes out(rsrcRaw);
    Put(out, 0, 0x5A4D, 2); // MZ
    Put(out, 0x3C, 0x40); // e_lfanew
    Put(out, 0x40, 0x4550); // PE
    Put(out, 0x40 + 6, data.empty() ? 2 : 3, 2); // NumberOfSections
    Put(out, 0x40 + 20, is64 ? 240 : 224, 2); // SizeOfOptionalHeader
    Put(out, o, is64 ? 0x20B : 0x10B, 2); // Magic
    Put(out, o + 32, align); // SectionAlignment
    Put(out, o + 36, align); // FileAlignment
    Put(out, directories - 4, 16); // NumberOfRvaAndSizes
    Put(out, directories + 16, rsrcRva);
    Put(out, directories + 20, size);
    const uint32_t table[3][4] = { { 0x1000, 0x10, 0x1E0, 0x10 }, { rsrcRva, size, rsrcRaw, size },
        { 0x3000, static_cast<uint32_t>(data.size()), dataRaw,
            static_cast<uint32_t>(data.size()) } };
    for (uint32_t s = 0; s < 3; ++s) {
        const uint32_t at = sections + 40 * s;
        Put(out, at + 8, table[s][1]); // VirtualSize
        Put(out, at + 12, table[s][0]); // VirtualAddress
        Put(out, at + 16, table[s][3]); // SizeOfRawData
        Put(out, at + 20, table[s][2]); // PointerToRawData
    }
    out.resize(rsrcRaw);
    out.insert(out.end(), tree.begin(), tree.end());
    out.resize(data.empty() ? out.size() : dataRaw);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes MakeNe(const std::vector<TTestResource>& resources)
{
    // Resource table at 0x80: the alignment shift, the types with their names, a zero type,
    // then the name strings; the resources follow on 16-byte boundaries.
    std::map<uint16_t, std::vector<const TTestResource*>> types;
    for (const TTestResource& r : resources)
        types[r.Type].push_back(&r);
    Bytes table;
    Put(table, 0, 4, 2);
    uint32_t at = 2, names = 2 + 2;
    for (auto& [type, list] : types)
        names += 8 + 12 * static_cast<uint32_t>(list.size());
    Bytes strings;
    uint32_t textBytes = 0;
    for (const TTestResource& r : resources)
        textBytes += r.Text.empty() ? 0 : 1 + static_cast<uint32_t>(r.Text.size());
    const uint32_t dataAt = (0x80 + names + textBytes + 15) & ~15u;
    Bytes data;
    for (auto& [type, list] : types) {
        Put(table, at, 0x8000 | type, 2);
        Put(table, at + 2, static_cast<uint32_t>(list.size()), 2);
        at += 8;
        for (const TTestResource* r : list) {
            const uint32_t offset = dataAt + static_cast<uint32_t>(data.size());
            Put(table, at, offset >> 4, 2);
            Put(table, at + 2, static_cast<uint32_t>((r->Data.size() + 15) >> 4), 2);
            Put(table, at + 4, 0x30, 2);
            if (r->Text.empty()) {
                Put(table, at + 6, 0x8000 | r->Id, 2);
            } else {
                Put(table, at + 6, names + static_cast<uint32_t>(strings.size()), 2);
                strings.push_back(static_cast<uint8_t>(r->Text.size()));
                strings.insert(strings.end(), r->Text.begin(), r->Text.end());
            }
            at += 12;
            data.insert(data.end(), r->Data.begin(), r->Data.end());
            data.resize((data.size() + 15) & ~size_t { 15 });
        }
    }
    Put(table, at, 0, 2);
    table.insert(table.end(), strings.begin(), strings.end());
    Bytes out(0x80);
    Put(out, 0, 0x5A4D, 2);
    Put(out, 0x3C, 0x40);
    Put(out, 0x40, 0x454E, 2); // NE
    Put(out, 0x40 + 0x24, 0x40, 2); // ne_rsrctab
    Put(out, 0x40 + 0x26, 0x40 + static_cast<uint32_t>(table.size()), 2); // ne_restab
    out.insert(out.end(), table.begin(), table.end());
    out.resize(dataAt);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

} // namespace

Bytes MakeProgram(TTestProgram kind, const std::vector<TTestResource>& resources)
{
    return kind == TTestProgram::Ne ? MakeNe(resources) : MakePe(kind, resources);
}

Bytes MakeGroup(
    const std::vector<TTestImage>& images, const std::vector<uint16_t>& ids, bool cursor)
{
    Bytes out;
    Put(out, 2, cursor ? 2 : 1, 2);
    Put(out, 4, static_cast<uint32_t>(images.size()), 2);
    for (size_t i = 0; i < images.size(); ++i) {
        const TTestImage& image = images[i];
        const size_t at = 6 + 14 * i;
        if (cursor) {
            Put(out, at, image.Width, 2);
            Put(out, at + 2, image.Height * 2u, 2);
        } else {
            Put(out, at, image.Width | image.Height << 8 | image.ColorCount << 16, 4);
        }
        Put(out, at + 4, image.Planes, 2);
        Put(out, at + 6, image.BitCount, 2);
        Put(out, at + 8,
            image.BytesInRes ? image.BytesInRes
                             : static_cast<uint32_t>(image.Data.size() + (cursor ? 4 : 0)));
        Put(out, at + 12, ids[i], 2);
    }
    return out;
}

} // namespace velmora::test
