#pragma once

#include "programs/version_resource.h"

namespace velmora
{

/// The version information of a little-endian ELF file (32 or 64 bits) whose bytes begin with
/// the ELF magic: the contents of its section VersionSectionName, found through the section
/// headers and their name table, every offset and size checked against the file.
TVersionResource FindElfVersionSection(const TByteSource& source);

} // namespace velmora
