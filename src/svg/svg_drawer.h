#pragma once

#include "graphics/vector_picture.h"
#include "support/byte_io.h"

#include <memory>

namespace velmora
{

/// The largest SVG file that is read, in bytes.
inline constexpr uint64_t MaxSvgFileBytes = 16ull * 1024 * 1024;
/// The longest that drawing all sizes of one SVG may take, in seconds of wall time.
inline constexpr int SvgDrawSeconds = 10;
/// The most memory (address space) that drawing one SVG may take.
inline constexpr uint64_t SvgDrawMemoryBytes = 1024ull * 1024 * 1024;

/// Draws SVG data once per side (1 to 256) in this process, as IVectorPictureDrawer describes.
/// The data is read from memory with no base address, so that librsvg resolves no reference to
/// another file or to the network; librsvg's own limits on elements and nesting hold. Raises
/// EInvalidGraphic with librsvg's reason.
std::vector<TBitmap> DrawSvgSquares(ByteSpan data, std::span<const int> sides);

/// The drawer of SVG files for the tool and the window, or none when the program was built
/// without librsvg. It reads at most MaxSvgFileBytes and draws in a child process that is
/// stopped after SvgDrawSeconds or past SvgDrawMemoryBytes, so that no SVG can hang or exhaust
/// the program.
std::unique_ptr<IVectorPictureDrawer> MakeSvgDrawer();

} // namespace velmora
