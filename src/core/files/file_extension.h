#pragma once

#include <string_view>

namespace velmora
{

/// True when name ends in suffix (such as ".png") without regard to ASCII letter case, so
/// that "logo.PNG" and "logo.Bmp" are a PNG picture and a bitmap as their lower-case names are.
bool EndsWithIgnoringCase(std::string_view name, std::string_view suffix);

/// The position of the first occurrence of part in name without regard to ASCII letter
/// case; std::string_view::npos when there is none.
size_t FindIgnoringCase(std::string_view name, std::string_view part);

} // namespace velmora
