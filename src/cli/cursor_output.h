#pragma once

#include "cli_output.h"
#include "icons/animated_cursor.h"
#include "icons/icon_directory.h"

#include <filesystem>
#include <string>

namespace velmora::cli
{

/// Describes an animated cursor: its frames with their images, its steps and rates, its title
/// and artist; as text or as one JSON object. False, with the reason on standard error, when
/// the file cannot be read.
bool DescribeAnimatedCursor(TTextBuffer& out, const std::string& name, bool json);

/// Writes each frame of an animated cursor into outDir as STEM-FRAME.cur (the frame's bytes as
/// they are), or with png as STEM-FRAME.png (STEM-FRAME-IMAGE.png for frames of several
/// images), printing each path. The exit status.
int ExtractAnimatedCursor(const std::string& name, const std::filesystem::path& outDir, bool png);

/// Writes the image at index of a cursor as a one-image cursor file, keeping its hotspot.
void SaveCursorImage(const TIconDirectory& cursor, int index, const std::string& target);

/// The text ", hotspot X,Y" of a cursor's image, empty for an icon's.
std::string HotspotText(const TIconDirectory& document, int index);

} // namespace velmora::cli
