#pragma once

#include "programs/version_resource.h"

namespace velmora
{

/// The version resource (RT_VERSION) of a 32- or 64-bit PE file whose bytes begin with "MZ".
/// The resource directory is walked its three levels deep (type, name, language) and no
/// further, every offset and count checked against the resource section, so that a directory
/// that points back into itself or past its end gives Damaged instead of a loop or a wild read.
TVersionResource FindPeVersionResource(const TByteSource& source);

} // namespace velmora
