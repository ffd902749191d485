// Fuzz target of the icon check: checks the input as a whole icon file, every rule over
// whatever the header, directory and images hold. Errors of the core are the expected answer
// to bad input; anything else is a finding.
#include "check/icon_check.h"
#include "support/error.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace velmora;
    try {
        CheckIconBytes(ByteSpan(data, size));
    } catch (const Exception&) {
    }
    return 0;
}
