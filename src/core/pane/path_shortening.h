#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velmora
{

/// The platform's path separator.
inline constexpr char PathSeparator = '/';
/// Whether paths of the platform can begin with a drive ("C:").
inline constexpr bool PathsHaveDrives = false;

/// Measures the width of a text in pixels.
using TTextMeasure = std::function<int(std::string_view)>;

/// Folds the first folder of a folder part ("a/b/" or the rest of an earlier fold) into the
/// marker ".../", keeping a leading separator: "/a/b/" gives "/.../b/", ".../b/" gives ".../",
/// and a folder part without a further separator becomes empty.
void CutFirstFolder(std::string& folders, char separator = PathSeparator);

/// Shortens a path for display by folding its folders from the left into ".../" (and, where
/// paths have drives, finally dropping the drive) until the text is no wider than maxWidth.
/// The result may stay wider when only the name is left.
std::string ShortenPathToWidth(std::string_view path, const TTextMeasure& measure, int maxWidth,
    char separator = PathSeparator, bool drives = PathsHaveDrives);

} // namespace velmora
