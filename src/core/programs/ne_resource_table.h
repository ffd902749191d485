#pragma once

#include "programs/program_resources.h"

namespace velmora
{

/// Reads the resources of the wanted types from the resource table of the NE file whose
/// header lies at neOffset. Raises when the table is damaged.
std::vector<TProgramResource> ReadNeResources(
    const TByteSource& source, uint32_t neOffset, std::span<const uint16_t> types);

} // namespace velmora
