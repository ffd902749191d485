#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velmora
{

class TByteSource;

/// The kinds of Windows program files whose resources are read.
enum class TProgramFormat {
    Pe32,
    Pe32Plus,
    /// A 16-bit new executable (Windows 3.x programs, libraries and .icl icon libraries).
    Ne,
};

/// The name of a resource: a number or a text.
struct TResourceName {
    uint16_t Id = 0;
    std::string Text; // UTF-8; used when IsText
    bool IsText = false;

    /// The number in decimal, or the text.
    std::string Display() const { return IsText ? Text : std::to_string(Id); }
    bool operator==(const TResourceName&) const = default;
};

/// One resource of a program: its type, name and language, and where its bytes lie.
struct TProgramResource {
    uint16_t Type = 0;
    TResourceName Name;
    /// The language (PE); 0 in NE files, which have none.
    uint16_t Language = 0;
    uint64_t Offset = 0;
    uint64_t Size = 0;
    /// False when the file does not give the size exactly: NE files round it up to their
    /// alignment unit, so the resource may be shorter.
    bool SizeExact = true;
    /// False when the resource's data lies outside the file or in no section.
    bool Present = true;
};

/// The resources of some types in a program file, in the file's order (type, name, language).
struct TProgramResources {
    TProgramFormat Format = TProgramFormat::Pe32;
    std::vector<TProgramResource> Resources;

    /// The most resources, and directory entries, that a file may have for the wanted types.
    static constexpr uint64_t MaxResources = 1 << 17;
};

/// True when bytes start like a program file ("MZ").
bool IsProgramFile(const TByteSource& source);

/// Reads the resources of the wanted types (numeric types only) of a PE32, PE32+ or NE file.
/// Only the headers and the resource tables are read, never the resources' data. Raises the
/// core's general error with a text that says what is wrong when the file is no such program
/// or its headers or resource tables are damaged; a program without resources has none.
TProgramResources ReadProgramResources(const TByteSource& source, std::span<const uint16_t> types);

} // namespace velmora
