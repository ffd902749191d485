#pragma once

#include "support/byte_io.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora
{

/// The value of one block of a VS_VERSIONINFO structure, as VerQueryValue finds it.
struct TVersionValue {
    /// The bytes from the value's start to the end of its block.
    ByteSpan Data {};
    /// The stored value length: characters for a text value (Type 1), bytes for a binary one.
    uint16_t Length = 0;
    /// 1 for text, 0 for binary data.
    uint16_t Type = 0;

    /// The value's bytes as stored, cut at the end of its block.
    ByteSpan Binary() const;
    /// The value read as UTF-16 text and given in UTF-8: its characters up to the first zero,
    /// at most Length of them and none past the end of the block. Writers differ in whether
    /// Length counts the terminating zero, so the zero, not Length, ends the text.
    std::string Text() const;
};

/// Finds a block of a VS_VERSIONINFO structure and gives its value, as the platform's
/// VerQueryValue does: "\" names the root, whose value is the fixed file information;
/// "\VarFileInfo\Translation" the translation table; "\StringFileInfo\040904e4\ProductName"
/// one text of a string table. Keys are compared without regard to case (so the hexadecimal
/// digits of a string table's key match in either case), repeated backslashes count as one.
/// None when there is no such block. Never reads outside info, whatever its lengths say.
std::optional<TVersionValue> VerQueryValue(ByteSpan info, std::string_view subBlock);

/// Checks the VS_VERSIONINFO structure at the start of bytes: the root block with the key
/// "VS_VERSION_INFO" lies inside bytes, every block of the first three levels lies inside its
/// parent, is at least a header long and has a terminated key. Returns the root block's
/// length when the structure is sound, 0 otherwise.
size_t CheckVersionInfo(ByteSpan bytes);

/// UTF-16LE units, at most units of them, up to the first zero, as UTF-8. A surrogate
/// without its partner becomes U+FFFD.
std::string Utf16ToUtf8(const uint8_t* data, size_t units);

/// The size of the fixed file information (VS_FIXEDFILEINFO), the value of the root block.
inline constexpr size_t FixedFileInfoSize = 52;

/// The signature that begins the fixed file information.
inline constexpr uint32_t FixedFileInfoSignature = 0xFEEF04BD;

} // namespace velmora
