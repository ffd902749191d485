#pragma once

#include "icons/icon_directory.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora::cli
{

/// How loading an icon file for a command went.
struct TLoadResult {
    bool Loaded = false;
    std::optional<int> Status; // empty when the load raised before it set a result code
    std::string Error; // the refusal's text, or the raised error's nested text
    std::vector<TUnreadableImage> Unreadable; // with TLoadContent::Readable: the images lost
};

/// How much of an icon file a command needs.
enum class TLoadContent {
    Images, // the whole images, to draw or save them
    Headers, // what describes each image (TIconDirectory::LoadHeadersFromFile)
    Readable, // every image that can be read and decoded (TIconDirectory::LoadReadableFromFile)
};

/// What a file that is no icon is by its first bytes ("a PNG picture, not an icon"); empty
/// when it is none of the kinds told apart or cannot be read.
std::string KindOfFile(const std::string& name);

/// Loads an icon file into the document. A refused file is reported on standard error as
/// "Error - icon file not opened: NAME" followed by the reason.
TLoadResult LoadIconFile(
    TIconDirectory& document, const std::string& name, TLoadContent content = TLoadContent::Images);

} // namespace velmora::cli
