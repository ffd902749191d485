#pragma once

#include "support/byte_io.h"

#include <string>
#include <string_view>

namespace velmora
{

/// True when data holds bytes at offset at.
bool HasBytesAt(const Bytes& data, std::string_view bytes, size_t at = 0);

/// What a file that is no icon is, told by its first bytes ("a PNG picture, not an icon");
/// empty when it is none of the kinds a user mistakes for an icon.
std::string_view KindOfFile(const Bytes& start);

/// KindOfFile of the first bytes of a named file, or that it is a folder; empty when the file
/// cannot be read.
std::string_view KindOfFileNamed(const std::string& name);

} // namespace velmora
