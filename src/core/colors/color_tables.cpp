#include "colors/color_tables.h"

#include "graphics/standard_colors.h"
#include "platform/system_colors.h"

#include <algorithm>

namespace velmora
{

namespace
{

template <size_t N> int Find(const std::array<TColor, N>& table, TColor color)
{
    auto found = std::find(table.begin(), table.end(), color);
    return found == table.end() ? -1 : static_cast<int>(found - table.begin());
}

} // namespace

int FindStandardColor(TColor color)
{
    return Find(StandardColors, color);
}

int FindWebSafeColor(TColor color)
{
    return Find(WebSafeColors, color);
}

bool IsGrayColor(TColor color)
{
    TColor rgb = ColorToRGB(color);
    return RedOf(rgb) == GreenOf(rgb) && GreenOf(rgb) == BlueOf(rgb);
}

} // namespace velmora
