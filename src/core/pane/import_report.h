#pragma once

#include <string>
#include <vector>

namespace velmora
{

/// What became of one file given to a bitmap import.
enum class TImportOutcome {
    Imported, ///< became a new image of the icon
    Replaced, ///< took the place of the icon's image of its format, as the user agreed
    UsedAsMask, ///< a mask file that gave its bitmap file's transparency
    Refused, ///< refused by the icon document or unreadable; Code and Message say why
    FormatExists, ///< the icon holds an image of its format and keeps it
    LoneMask, ///< a mask file whose bitmap file is not in the list, skipped
    WrongExtension, ///< a name that ends in neither ".bmp" nor ".png", skipped
    NotReached, ///< after a quiet import stopped at a format that exists
};

/// One file of a bitmap import and what became of it.
struct TImportFileReport {
    std::string FileName;
    TImportOutcome Outcome = TImportOutcome::NotReached;
    /// The document's result: a refusal code, or for FormatExists the index + 1 of the image
    /// that holds the format; 0 for an error raised while reading the file.
    int Code = 0;
    /// Refused: the message shown to the user.
    std::string Message;
    /// Refused: why, in one line (the refusal's description, or the raised error's text).
    /// FormatExists: the format as "W*H, B bpp".
    std::string Reason;
};

/// What one call of ImportBitmapFiles did with each file, in the order it took them (the
/// sorted order of the names).
struct TImportReport {
    std::vector<TImportFileReport> Files;
    /// Set when a quiet import stopped at a file whose format the icon holds.
    bool Stopped = false;

    /// True when every file whose name ends in ".bmp" or ".png" became an image or gave its
    /// transparency to one.
    bool AllBitmapsUsed() const;
};

} // namespace velmora
