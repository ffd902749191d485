#pragma once

#include "programs/version_info.h"

namespace velmora
{

/// The version reader that the main window creates for its version stamp; it reads exactly
/// as TVersionInfo.
class TVersionInfoVerbose : public TVersionInfo
{
public:
    using TVersionInfo::TVersionInfo;
};

} // namespace velmora
