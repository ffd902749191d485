// Fuzz target of the version information reader: reads the input as a PE or ELF file with
// TVersionInfo, and as a bare VS_VERSIONINFO structure with the query that walks it. No input
// may raise, crash or read out of bounds; a refused file must leave the record empty, and a
// structure that the check accepts must hold every block the reader asks for inside itself.
#include "programs/version_info.h"
#include "programs/version_query.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace velmora;
    const ByteSpan input(data, size);

    TVersionInfo info;
    int result = info.LoadFromBytes(input);
    switch (result) {
    case TVersionInfo::ResultOk:
    case TVersionInfo::ResultNoFixedPart:
        break;
    case TVersionInfo::ResultNoVersionInfo:
    case TVersionInfo::ResultNotFetched:
        if (!info.ProductName().empty() || info.ProductVersionMS() != 0 || info.Language() != 0)
            std::abort(); // a refused file filled the record
        break;
    default:
        std::abort(); // no other code can come from reading a file
    }

    static const char* const subBlocks[] = {
        "\\",
        "\\VarFileInfo\\Translation",
        "\\StringFileInfo\\040904e4\\ProductName",
        "\\StringFileInfo\\040704E4\\CompanyName",
        "StringFileInfo\\\\040904B0\\",
    };
    size_t checked = CheckVersionInfo(input);
    if (checked > size)
        std::abort();
    for (const char* subBlock : subBlocks) {
        if (std::optional<TVersionValue> value = VerQueryValue(input, subBlock)) {
            ByteSpan binary = value->Binary();
            if (binary.data() < data || binary.data() + binary.size() > data + size)
                std::abort(); // a value outside the input
            (void)value->Text();
        }
    }
    return 0;
}
