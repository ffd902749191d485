#pragma once

#include <string>
#include <string_view>

namespace velmora
{

/// How much a finding matters: an error means a reader fails or shows the wrong thing, a
/// warning that readers differ, a note is for information.
enum class TFindingLevel {
    Note,
    Warning,
    Error,
};

/// The repairs that answer findings; None for findings that no repair answers.
enum class TRepair {
    None,
    /// Width, height, bit count, planes, colour count and byte count taken from the images.
    DirectoryFields,
    /// The AND masks of 32-bit images remade from their alpha, whole.
    MaskFromAlpha,
    /// The alpha of 32-bit images whose alpha is all 0 taken from their AND mask.
    AlphaFromMask,
    /// PNG images stored again as 8-bit RGBA.
    PngToRgba,
    /// 256-pixel bitmap images stored as PNG images.
    LargeBitmapToPng,
    /// The missing Windows sizes made from the largest image.
    AddSizes,
    /// The images' data laid out anew, back to back after the directory.
    Layout,
};

/// One finding of the check of an icon file.
struct TFinding {
    TFindingLevel Level = TFindingLevel::Note;
    /// The 0-based entry it is about; -1 for the file as a whole.
    int Entry = -1;
    /// A short stable name of the rule, for scripts ("mask-alpha").
    std::string_view Rule;
    /// One sentence: what happens, and where.
    std::string Text;
    TRepair Repair = TRepair::None;

    bool operator==(const TFinding&) const = default;
};

/// "note", "warning" or "error".
std::string_view LevelText(TFindingLevel level);

} // namespace velmora
