// A build without librsvg: no SVG drawer, so the tool and the window say SVG is not available.

#include "messages/messages.h"
#include "support/error.h"
#include "svg_drawer.h"

namespace velmora
{

std::vector<TBitmap> DrawSvgSquares(ByteSpan, std::span<const int>)
{
    throw EInvalidGraphic(std::string(Messages::SvgNotAvailable));
}

std::unique_ptr<IVectorPictureDrawer> MakeSvgDrawer()
{
    return nullptr;
}

} // namespace velmora
