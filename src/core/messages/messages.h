#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// The program's user-visible texts, in one place. "\r\n" line ends are part of the texts;
/// the command-line tool turns them into plain line ends when it prints.
namespace Messages {

// Product.
inline constexpr std::string_view ProductName = "velmora icon manager";

// Icon document: nested error texts of the file steps.
inline constexpr std::string_view LoadFromFileFailed = "IconDirEntry.LoadFromFile failed.\r\n%s";
inline constexpr std::string_view SaveToFileFailed = "IconDirEntry.SaveToFile failed.\r\n%s";
inline constexpr std::string_view ReadIconEntriesFailed = "ReadIconEntries failed.\r\n%s";
inline constexpr std::string_view ReadIconImagesFailed = "ReadIconImages failed.\r\n%s";
inline constexpr std::string_view WriteIconFileHeaderFailed = "WriteIconFileHeader failed.\r\n%s";
inline constexpr std::string_view WriteIconEntriesFailed = "WriteIconEntries failed.\r\n%s";
inline constexpr std::string_view WriteIconImagesFailed = "WriteIconImages failed.\r\n%s";
inline constexpr std::string_view ImportBitmapFailed = "IconDirEntry.ImportBitmap failed.\r\n%s";
inline constexpr std::string_view PaintIconFailed = "PaintIcon failed.\r\n%s";

// Icon document: inner texts of this program's own checks.
inline constexpr std::string_view DirectoryPastEnd
    = "The directory of %s images needs %s bytes, but the file has only %s bytes.";
inline constexpr std::string_view ImageStartsPastEnd
    = "Image %s at offset %s (%s bytes) starts past the end of the file (%s bytes).";
inline constexpr std::string_view ImageHeaderPastEnd
    = "Image %s at offset %s (%s bytes): its header is not whole inside the file (%s bytes).";
inline constexpr std::string_view ImageTooLarge
    = "Image %s at offset %s (%s bytes) is truncated and its header asks for %s x %s pixels, "
      "more than this program accepts (%s bytes in the file).";
inline constexpr std::string_view ImageDataTooShort = "Image %s holds %s bytes of data, %s expected.";
inline constexpr std::string_view IconImageEmpty = "Image %s holds no icon.";
inline constexpr std::string_view TooManyImages = "An icon holds at most 65535 images.";
inline constexpr std::string_view ListIndexOutOfBounds = "List index out of bounds (%d)";
inline constexpr std::string_view IllegalHexCharacter = "Illegal character in hex string";

// Bitmaps.
inline constexpr std::string_view BitmapSizeRefused
    = "Bitmap size %s x %s is not supported (at most 32768 pixels a side and 256 MiB).";
inline constexpr std::string_view BitmapFormatRefused = "Bitmap of %s bits per pixel is not supported.";
inline constexpr std::string_view ScanLineOutOfRange = "Scan line index out of range (%s)";

// Files.
inline constexpr std::string_view CannotOpenFile = "Cannot open file \"%s\": %s";
inline constexpr std::string_view CannotReadFile = "Cannot read file \"%s\": %s";
inline constexpr std::string_view CannotCreateFile = "Cannot create file \"%s\": %s";
inline constexpr std::string_view CannotWriteFile = "Cannot write file \"%s\": %s";

// Pane and command-line reports.
inline constexpr std::string_view IconFileNotOpened = "Error - icon file not opened: %s";
inline constexpr std::string_view FileNotSaved = "Error: File not saved:\r\n";

} // namespace Messages

/// The text that describes a result code of the icon document (0 and every refusal).
std::string_view StatusText(int code);

} // namespace velmora
