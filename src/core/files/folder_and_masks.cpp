#include "files/folder_and_masks.h"

namespace velmora
{

TFolderAndMasks SplitFolderAndMasks(std::string_view parameter, char separator, bool drives)
{
    const char enders[] = { separator, ':' };
    const size_t last = parameter.find_last_of(std::string_view(enders, drives ? 2 : 1));
    if (last == std::string_view::npos)
        return { {}, std::string(parameter) };
    return { std::string(parameter.substr(0, last + 1)), std::string(parameter.substr(last + 1)) };
}

} // namespace velmora
