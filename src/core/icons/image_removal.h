#pragma once

#include "icons/icon_directory.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora
{

/// Which images one choice of the tool's build --remove names: one index (0 is the first),
/// every image of a size (WxH), or every image of a size and colour depth (WxH@BPP).
struct TImageChoice {
    std::string Text; // as given, for messages
    std::optional<int> Index;
    int Width = 0;
    int Height = 0;
    std::optional<int> BitCount;
};

/// The choice the text gives; none when it is no index, WxH or WxH@BPP.
std::optional<TImageChoice> ParseImageChoice(const std::string& text);

/// Deletes the images that the choices name from the document. Answers the first choice that
/// names no image (the document then stays as it was), or none when each named one.
std::optional<std::string> RemoveImages(
    TIconDirectory& document, const std::vector<TImageChoice>& choices);

} // namespace velmora
