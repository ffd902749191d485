#pragma once

#include <string>
#include <string_view>

namespace velmora
{

/// A script parameter of the form folder + masks, split into its two parts.
struct TFolderAndMasks {
    /// Everything up to and including the last separator (or drive colon); empty when the
    /// parameter has none.
    std::string Folder;
    /// The rest: one or more ";"-separated file masks.
    std::string Masks;
};

/// Splits a parameter such as "/pics/*.bmp;*.dib" after its last separator into the folder
/// "/pics/" and the masks "*.bmp;*.dib". With drives, a ":" ends the folder too, as in
/// "C:*.bmp". The separator and drives are parameters so that Windows-style names
/// (separator '\\', drives true) can be split as well.
TFolderAndMasks SplitFolderAndMasks(
    std::string_view parameter, char separator = '/', bool drives = false);

} // namespace velmora
