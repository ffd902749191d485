#pragma once

#include "platform/memory_clipboard.h"

namespace velmora::test
{

/// The tests' clipboard: one in memory.
using TFakeClipboard = TMemoryClipboard;

} // namespace velmora::test
