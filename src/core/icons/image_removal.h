#pragma once

#include "icons/icon_directory.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora
{

/// Which images a SPEC names (as build --remove of the tool takes it): one index (0 is the first),
/// every image of a size (WxH), or every image of a size and colour depth (WxH@BPP).
struct TImageSpec {
    std::string Text; // as given, for messages
    std::optional<int> Index;
    int Width = 0;
    int Height = 0;
    std::optional<int> BitCount;
};

/// The SPEC of the text; none when it is no index, WxH or WxH@BPP.
std::optional<TImageSpec> ParseImageSpec(const std::string& text);

/// Deletes the images that the specs name from the document. Answers the first spec that
/// names no image (the document then stays as it was), or none when each named one.
std::optional<std::string> RemoveImages(
    TIconDirectory& document, const std::vector<TImageSpec>& specs);

} // namespace velmora
