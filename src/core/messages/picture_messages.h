#pragma once

#include <string_view>

// Texts of the PNG picture import, the sizes made from one picture and the PNG export.
namespace velmora::Messages
{

inline constexpr std::string_view PictureTooLarge
    = "Picture too large (width or height > 256):\r\n\r\n%s";
inline constexpr std::string_view PictureSideRefused
    = "Picture size %s x %s is not supported (at most %s pixels a side).";
inline constexpr std::string_view PictureFilter
    = "Pictures (*.bmp *.png)|*.bmp;*.png|Bitmaps (*.bmp)|*.bmp|PNG pictures (*.png)|*.png";
inline constexpr std::string_view ExportFilter = "Bitmaps (*.bmp)|*.bmp|PNG picture (*.png)|*.png";
inline constexpr std::string_view ImportSizesTitle = "Import picture at several sizes...";
inline constexpr std::string_view NoSizeChosen = "No size chosen.";

} // namespace velmora::Messages
