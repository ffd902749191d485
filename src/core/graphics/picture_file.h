#pragma once

#include "graphics/bitmap.h"
#include "support/byte_io.h"

#include <filesystem>
#include <optional>

namespace velmora
{

/// The width and height that a PNG stream's header announces, read without decoding; none
/// when the data does not start with a PNG signature and header chunk.
std::optional<std::pair<uint32_t, uint32_t>> PngHeaderSize(ByteSpan data);

/// Reads a picture file (PNG, or a .bmp file of any depth) as a 32-bit bitmap with straight
/// alpha: a PNG keeps its transparency, a bitmap without alpha (or whose alpha bytes are all 0)
/// is opaque. A picture wider or higher than maxSide is refused with EInvalidGraphic before its
/// pixels are allocated. Raises the file and decoding errors.
TBitmap LoadPictureFile(const std::filesystem::path& name, int maxSide);

/// True when some pixel of a 32-bit bitmap is not fully opaque.
bool HasTransparency(const TBitmap& bgra32);

/// True when the alpha bytes of a 32-bit bitmap are not all one value: the bitmap carries
/// transparency of its own, as a bitmap joined with its mask does.
bool HasVaryingAlpha(const TBitmap& bgra32);

} // namespace velmora
