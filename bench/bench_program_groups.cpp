// The chooser of a program's groups on a hostile program: thousands of icon groups that all
// name one 256 x 256 true-colour image. Drawing each group's largest image would read and
// decode it once per group; the chooser draws while its budget lasts and offers the rest by
// text, so the cost beyond a few hundred groups is that of the text alone.

#include "pane/program_group_choices.h"
#include "programs/byte_source.h"
#include "programs/program_icon_groups.h"
#include "support/byte_io.h"

#include <benchmark/benchmark.h>

namespace
{

using namespace velmora;

constexpr uint32_t SectionRva = 0x1000;
constexpr uint32_t SectionOffset = 0x200;

// A PE32+ file of one resource section: RT_ICON 1 (a 256 x 256 32-bit bitmap) and groups
// RT_GROUP_ICON 1..groups, whose names share one language directory and one group directory.
Bytes HostileProgram(uint32_t groups)
{
    const uint32_t imageSize = 40 + 256 * 256 * 4 + 256 * 32;
    const uint32_t groupDir = 80;
    const uint32_t groupLanguages = groupDir + 16 + 8 * groups;
    const uint32_t iconData = groupLanguages + 24;
    const uint32_t groupData = iconData + 16;
    const uint32_t image = groupData + 16;
    const uint32_t directory = image + imageSize;
    const uint32_t sectionSize = directory + 20;
    Bytes file(SectionOffset + sectionSize, 0);
    uint8_t* p = file.data();
    p[0] = 'M';
    p[1] = 'Z';
    WriteU32(p + 0x3C, 0x40); // e_lfanew
    WriteU32(p + 0x40, 0x00004550); // "PE\0\0"
    WriteU16(p + 0x44, 0x8664); // Machine
    WriteU16(p + 0x46, 1); // NumberOfSections
    WriteU16(p + 0x54, 240); // SizeOfOptionalHeader
    uint8_t* optional = p + 0x58;
    WriteU16(optional, 0x20B); // Magic: PE32+
    WriteU32(optional + 108, 16); // NumberOfRvaAndSizes
    WriteU32(optional + 128, SectionRva); // resource directory: VirtualAddress
    WriteU32(optional + 132, sectionSize); // Size
    uint8_t* section = optional + 240;
    WriteU32(section + 8, sectionSize); // VirtualSize
    WriteU32(section + 12, SectionRva); // VirtualAddress
    WriteU32(section + 16, sectionSize); // SizeOfRawData
    WriteU32(section + 20, SectionOffset); // PointerToRawData

    uint8_t* r = p + SectionOffset;
    auto dir
        = [&](uint32_t at, uint32_t count) { WriteU16(r + at + 14, static_cast<uint16_t>(count)); };
    auto entry = [&](uint32_t at, uint32_t name, uint32_t target) {
        WriteU32(r + at, name);
        WriteU32(r + at + 4, target);
    };
    dir(0, 2);
    entry(16, 3, 0x80000000 | 32); // RT_ICON
    entry(24, 14, 0x80000000 | groupDir); // RT_GROUP_ICON
    dir(32, 1);
    entry(48, 1, 0x80000000 | 56);
    dir(56, 1);
    entry(72, 0x0409, iconData);
    dir(groupDir, groups);
    for (uint32_t i = 0; i < groups; ++i)
        entry(groupDir + 16 + 8 * i, i + 1, 0x80000000 | groupLanguages);
    dir(groupLanguages, 1);
    entry(groupLanguages + 16, 0x0409, groupData);
    WriteU32(r + iconData, SectionRva + image); // OffsetToData
    WriteU32(r + iconData + 4, imageSize); // Size
    WriteU32(r + groupData, SectionRva + directory);
    WriteU32(r + groupData + 4, 20);

    uint8_t* header = r + image; // BITMAPINFOHEADER of 256 x 512 rows (colours and mask)
    WriteU32(header, 40);
    WriteU32(header + 4, 256);
    WriteU32(header + 8, 512);
    WriteU16(header + 12, 1);
    WriteU16(header + 14, 32);
    uint8_t* group = r + directory; // one entry: 256 x 256, 32 bits, image 1
    WriteU16(group + 2, 1); // idType
    WriteU16(group + 4, 1); // idCount
    WriteU16(group + 10, 1); // wPlanes
    WriteU16(group + 12, 32); // wBitCount
    WriteU32(group + 14, imageSize); // dwBytesInRes
    WriteU16(group + 18, 1); // nID
    return file;
}

void BM_GroupChooser(benchmark::State& state)
{
    const Bytes file = HostileProgram(static_cast<uint32_t>(state.range(0)));
    const TByteSource source(file);
    const TProgramIcons icons(source);
    if (icons.Groups().size() != static_cast<size_t>(state.range(0)))
        state.SkipWithError("the program's groups were not read");
    for (auto _ : state)
        benchmark::DoNotOptimize(ProgramGroupChoices(icons));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_GroupChooser)->Arg(300)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
