#pragma once

#include "core/icon_test_files.h"

#include <string>
#include <vector>

namespace velmora::test
{

/// One resource of a program to build: a numeric type, a number or text name, a language.
struct TTestResource {
    uint16_t Type = 0;
    uint16_t Id = 0;
    std::string Text; // a text name when not empty
    uint16_t Language = 0x0409;
    Bytes Data;
};

enum class TTestProgram {
    Pe32,
    Pe32Plus,
    /// PE32+ aligned as Windows' resource-only files (.mun): sections and file data on 16
    /// bytes, the resource data in a section of its own after .rsrc.
    Mun,
    /// A 16-bit NE file with resources aligned on 16 bytes.
    Ne,
};

/// A program of the given kind holding the resources: in PE files a resource tree in file
/// order (type, name, language as given), in NE files a resource table.
Bytes MakeProgram(TTestProgram kind, const std::vector<TTestResource>& resources);

/// A group directory (RT_GROUP_ICON, or RT_GROUP_CURSOR when cursor) naming the images with
/// these resource numbers, each entry taken from the image (a cursor's height doubled).
Bytes MakeGroup(
    const std::vector<TTestImage>& images, const std::vector<uint16_t>& ids, bool cursor = false);

} // namespace velmora::test
