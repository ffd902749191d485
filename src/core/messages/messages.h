#pragma once

#include <string>
#include <string_view>

namespace velmora
{

/// The program's user-visible texts, in one place. "\r\n" line ends are part of the texts;
/// the command-line tool turns them into plain line ends when it prints.
namespace Messages
{

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
inline constexpr std::string_view ImagesTooLarge
    = "Image %s at offset %s (%s bytes) brings the images to %s bytes, more than a file of %s "
      "bytes can hold.";
inline constexpr std::string_view IconFileTooLarge
    = "Image %s lies past 4 GiB, which an icon file cannot address.";
inline constexpr std::string_view ImageDataTooShort
    = "Image %s holds %s bytes of data, %s expected.";
inline constexpr std::string_view ImageNotDrawable = "Image %s cannot be drawn: %s";
inline constexpr std::string_view IconImageEmpty = "Image %s holds no icon.";
inline constexpr std::string_view TooManyImages = "An icon holds at most 65535 images.";
inline constexpr std::string_view ListIndexOutOfBounds = "List index out of bounds (%d)";
inline constexpr std::string_view IllegalHexCharacter = "Illegal character in hex string";

// Bitmaps.
inline constexpr std::string_view BitmapSizeRefused
    = "Bitmap size %s x %s is not supported (at most 32768 pixels a side and 256 MiB).";
inline constexpr std::string_view BitmapFormatRefused
    = "Bitmap of %s bits per pixel is not supported.";
inline constexpr std::string_view ScanLineOutOfRange = "Scan line index out of range (%s)";

inline constexpr std::string_view PngStreamTooShort
    = "A PNG stream of %s bytes cannot hold a picture of %s x %s pixels.";

// Bitmap import and export.
inline constexpr std::string_view ClipboardHoldsNoBitmap = "The clipboard holds no bitmap.";
inline constexpr std::string_view NoClipboard = "No clipboard is available.";
inline constexpr std::string_view PaletteBitmapRefused
    = "Sorry. Palette bitmap are not supported.\r\nTrueColor bitmap (>=24bit) needed:\r\n\r\n%s";
inline constexpr std::string_view BitmapTooLarge
    = "Bitmap too large (width or height > 72):\r\n\r\n%s";
inline constexpr std::string_view BitmapTooSmall
    = "Bitmap too small (width or height < 4):\r\n\r\n%s";
inline constexpr std::string_view BitmapHeaderEmpty = "Bitmap header empty";
inline constexpr std::string_view BitmapSmallerThanMask
    = "Bitmap smaller than its mask bitmap:\r\n\r\n%s";
inline constexpr std::string_view MaskBitmapUnusable = "Mask bitmap not usable:\r\n\r\n%s";
inline constexpr std::string_view FormatExistsReplace
    = "Format exists:\r\n\r\n%d*%d, %d bpp\r\n\r\nReplace?";
inline constexpr std::string_view BitmapNotCopied = "Error: Bitmap not copied.";

// Files.
inline constexpr std::string_view CannotOpenFile = "Cannot open file \"%s\": %s";
inline constexpr std::string_view CannotReadFile = "Cannot read file \"%s\": %s";
inline constexpr std::string_view CannotCreateFile = "Cannot create file \"%s\": %s";
inline constexpr std::string_view CannotWriteFile = "Cannot write file \"%s\": %s";
inline constexpr std::string_view CannotKeepOwner
    = "Cannot keep the owner and group of file \"%s\": %s";

// Pane and command-line reports.
inline constexpr std::string_view IconFileNotOpened = "Error - icon file not opened: %s";
inline constexpr std::string_view FileNotSaved = "Error: File not saved:\r\n";

// The application's error guard.
inline constexpr std::string_view UnknownError = "An unknown error occurred.";

// Icon pane: headline, status, dialogs.
inline constexpr std::string_view NewDocumentName = "(new)";
inline constexpr std::string_view HeadlineUnnumbered = "Icon: %s";
inline constexpr std::string_view HeadlineEmpty = "Icon #%d (empty)";
inline constexpr std::string_view HeadlineOneImage = "Icon #%d, 1 image: %s";
inline constexpr std::string_view HeadlineImages = "Icon #%d, %d images: %s";
inline constexpr std::string_view StatusNoImage = "(no image)";
inline constexpr std::string_view StatusImage = "Image #%d, %d bpp, %d x %d";
inline constexpr std::string_view StatusMultipleImages = "(multiple images selected)";
inline constexpr std::string_view OpenIconTitle = "Open icon...";
inline constexpr std::string_view SaveIconTitle = "Save icon...";
inline constexpr std::string_view IconFilter = "Icons (*.ico)|*.ico";
inline constexpr std::string_view IconExtension = "ico";
inline constexpr std::string_view CustomColorA = "ColorA=%s";
inline constexpr std::string_view SizeHeader = " %d x %d ";
inline constexpr std::string_view DepthHeader = " %d bpp ";
// Entries that store 0 bits per pixel show the depth of the image's own data, marked so.
inline constexpr std::string_view DepthHeaderFromImage = " %d bpp (image) ";
inline constexpr std::string_view StatusImageFromImage = "Image #%d, %d bpp (image), %d x %d";

// Icon pane: unsaved changes and the undo history.
inline constexpr std::string_view ChangedMark = "*";
inline constexpr std::string_view SaveChangesQuestion = "Save changes to %s in icon #%d?";
inline constexpr std::string_view UndoStep = "&Undo %s";
inline constexpr std::string_view RedoStep = "&Redo %s";
inline constexpr std::string_view StepNew = "New icon";
inline constexpr std::string_view StepClose = "Close icon";
inline constexpr std::string_view StepCut = "Cut image";
inline constexpr std::string_view StepPaste = "Paste image";
inline constexpr std::string_view StepDelete = "Delete image";
inline constexpr std::string_view StepSort = "Sort by format";
inline constexpr std::string_view StepInsert = "Insert image from icon";
inline constexpr std::string_view StepAdd = "Add image to icon";
inline constexpr std::string_view StepImport = "Import from bitmap";
inline constexpr std::string_view StepRunScript = "Run script %s";
inline constexpr std::string_view SaveIconAsTitle = "Save icon as...";
inline constexpr std::string_view SaveNotIconExtension
    = "The name %s ends in .%s: the icon is written as an .ico file, so give it a name that ends "
      "in "
      ".ico (or no extension).";

// The window: drops it cannot use.
inline constexpr std::string_view DropNotLocal = "Only files on this computer can be dropped.";
inline constexpr std::string_view DropNotUsable
    = "Nothing to do with the dropped files:\r\n\r\n%s\r\n\r\nDrop icon files (.ico) to "
      "open them, bitmaps (.bmp) or pictures (.png) to import them, or a script file (a name "
      "holding "
      "qebscript.txt) to run it.";

// Icon pane: image transfer, bitmap import and export.
inline constexpr std::string_view ClipboardName = "ClipBoard";
inline constexpr std::string_view ImportBitmapCaption = "Import bitmap to icon #%d";
inline constexpr std::string_view ImportPictureCaption = "Import picture to icon #%d";
inline constexpr std::string_view AddImageCaption = "Add image #%d to icon #%d";
inline constexpr std::string_view InsertImageCaption = "Insert image #%d from icon #%d";
inline constexpr std::string_view FormatExistsNotAdded = "Format exists, not added!";
inline constexpr std::string_view LastImageNotDeleted = "The last image cannot be deleted.";
inline constexpr std::string_view BitmapFileNotFound = "File not found:\r\n\r\n%s";
inline constexpr std::string_view BitmapFormatNotSupported
    = "Sorry. This bitmap format is not supported:\r\n\r\n%s";
inline constexpr std::string_view BitmapNotImported = "Bitmap not imported, %s:\r\n\r\n%s";
inline constexpr std::string_view BitmapNotRead = "Bitmap not imported:\r\n\r\n%s\r\n\r\n%s";
inline constexpr std::string_view ImportBitmapTitle = "Import image from bitmap...";
inline constexpr std::string_view ExportBitmapTitle
    = "Export image #%d (%d*%d, %d bpp) to bitmap...";
inline constexpr std::string_view ImageFormat = "%d*%d, %d bpp";
inline constexpr std::string_view BitmapFilter = "Bitmaps (*.bmp)|*.bmp";
inline constexpr std::string_view BitmapExtension = "bmp";

// Command-line tool: what became of the files given to "build".
inline constexpr std::string_view BuildFileNotImported = "%s: not imported: %s";
inline constexpr std::string_view BuildFormatExists
    = "the icon already holds an image of its format (%s)";
inline constexpr std::string_view BuildImportStopped = "; the import stopped here";
inline constexpr std::string_view BuildNotReached
    = "not reached: the import stopped at %s, whose format the icon already holds";
inline constexpr std::string_view BuildLoneMask
    = "a mask file whose bitmap file is not among the files, skipped";
inline constexpr std::string_view BuildWrongExtension
    = "the name does not end in \".bmp\", skipped";
inline constexpr std::string_view BuildNoImage = "The icon has no image; %s was not written.";
inline constexpr std::string_view QuestionNotAsked
    = "%s: %s\r\n(no questions are asked here: answered No)";

// Script files.
inline constexpr std::string_view ScriptError = "Script error - %s";
inline constexpr std::string_view ScriptFileNotFound = "Script file not found.";
inline constexpr std::string_view ScriptHeaderNotFound = "QEB Header not found in script file.";
inline constexpr std::string_view ScriptFileEmpty = "Script file is empty.";
inline constexpr std::string_view ScriptFileTooLarge
    = "The script file %s holds %s bytes; a script file may hold at most %s bytes.";

// Bitmap pixels, conversion and the .bmp codec.
inline constexpr std::string_view PixelOutOfRange
    = "Pixel (%s, %s) is outside the bitmap (%s x %s).";
inline constexpr std::string_view PixelFormatNotConvertible
    = "Cannot convert a bitmap to pixel format %s.";
inline constexpr std::string_view BmpEmptyNotSaved
    = "An empty bitmap cannot be saved as a .bmp file.";
inline constexpr std::string_view BmpBadSignature
    = "Not a .bmp file: the file does not start with \"BM\".";
inline constexpr std::string_view BmpHeaderTruncated
    = "The .bmp file is truncated: its headers need %s bytes, the file has %s.";
inline constexpr std::string_view BmpHeaderSizeUnsupported
    = "The .bmp file has a bitmap header of %s bytes, which is not supported.";
inline constexpr std::string_view BmpBadDimensions
    = "The .bmp file gives an invalid size of %s x %s pixels.";
inline constexpr std::string_view BmpBitCountUnsupported
    = "The .bmp file has %s bits per pixel, which is not supported.";
inline constexpr std::string_view BmpCompressionUnsupported
    = "The .bmp file uses compression %s with %s bits per pixel, which is not supported.";
inline constexpr std::string_view BmpEmbeddedImageUnsupported
    = "The .bmp file holds a JPEG or PNG image, which is not supported.";
inline constexpr std::string_view BmpTopDownCompressed
    = "The .bmp file is stored top-down with run-length compression, which is not allowed.";
inline constexpr std::string_view BmpBadMasks
    = "The .bmp file has invalid bit-field masks (zero, overlapping, split or too wide).";
inline constexpr std::string_view BmpPaletteTruncated
    = "The colour table of the .bmp file (%s entries) runs past the end of the file.";
inline constexpr std::string_view BmpBadDataOffset
    = "The pixel data offset %s of the .bmp file lies inside its headers or past its end.";
inline constexpr std::string_view BmpPixelDataTruncated
    = "The .bmp file holds %s bytes of pixel data, %s expected.";
inline constexpr std::string_view BmpRleTruncated
    = "The run-length data of the .bmp file ends in the middle of a command.";
inline constexpr std::string_view BmpRlePastPicture
    = "The run-length data of the .bmp file runs past the picture at row %s, column %s.";
inline constexpr std::string_view BmpFileNotRead = "Cannot read bitmap file \"%s\": %s";

// Icon image decoding, drawing and PNG (graphics/icon_decoder, png_codec, icon_draw).
inline constexpr std::string_view IconImageTooShort
    = "The icon image holds %s bytes, too few for its %s-byte header.";
inline constexpr std::string_view IconImageHeaderSize
    = "The icon image has a bitmap header of %s bytes, which is not supported.";
inline constexpr std::string_view IconImageBadSize
    = "The icon image gives an invalid size of %s x %s pixels.";
inline constexpr std::string_view IconImageBitCount
    = "The icon image has %s bits per pixel, which is not supported.";
inline constexpr std::string_view IconImageCompression
    = "The icon image uses compression %s with %s bits per pixel, which is not supported.";
inline constexpr std::string_view IconImageBadMasks
    = "The icon image has invalid bit-field masks (zero, overlapping, split or too wide).";
inline constexpr std::string_view IconImageDataShort
    = "The icon image holds %s bytes, but its header needs %s bytes for its colour table and "
      "colour rows.";
inline constexpr std::string_view IconHeaderInvalid
    = "The icon holds %s bytes, which do not start with a one-image icon header.";
inline constexpr std::string_view IconEntryOutside
    = "The icon's image at offset %s (%s bytes) does not lie inside its %s bytes.";
inline constexpr std::string_view PngImageInvalid = "The PNG image cannot be read: %s";
inline constexpr std::string_view PngImageNotWritten = "The PNG image cannot be written: %s";
inline constexpr std::string_view PngNeeds32Bit = "Only non-empty 32-bit bitmaps can be written as "
                                                  "PNG (this one has %s bits per pixel, %s x %s).";
inline constexpr std::string_view IconImageMaskMissing
    = "The icon image to draw has no mask for its %s x %s pixels.";
inline constexpr std::string_view IconDrawNeeds32Bit
    = "Icons are drawn onto 32-bit bitmaps only (this one has %s bits per pixel).";

// Colour analysis, masks and colour reduction (colors/).
inline constexpr std::string_view AnalyzeBitmapFailed = "Exception in AnalyzeBitmap\n%s";
inline constexpr std::string_view AddMaskToBitmap32Failed = "AddMaskToBitmap32 failed.\n%s";
inline constexpr std::string_view MaskColorBitmapRefused
    = "The colour bitmap (%s x %s pixels, %s bits per pixel) does not cover its mask (%s x %s "
      "pixels) as a 24-bit bitmap.";
inline constexpr std::string_view RowAlignmentRefused
    = "A row of %s pixels at %s bits per pixel cannot be aligned to %s bits.";
inline constexpr std::string_view ChevronScaleRefused
    = "A chevron of scale %s is not drawn (at most 4096 either way).";
inline constexpr std::string_view InvalidImageDimensions = "Invalid image dimensions";
inline constexpr std::string_view GifDibOutOfMemory = "Failed to allocate memory for GIF DIB";

// Version information.
inline constexpr std::string_view DefaultLanguagePrefix = "DEFAULT: ";
inline constexpr std::string_view VersionTextUnknown = "???";

// Shell execution: why the shell did not open a document or link.
inline constexpr std::string_view ShellOutOfMemory = "Out of memory or resources.";
inline constexpr std::string_view ShellFileNotFound = "RS_FILE_NOT_FOUND_TPL";
inline constexpr std::string_view ShellPathNotFound = "Path not found: [%s]";
inline constexpr std::string_view ShellAccessDenied = "Access denied.";
inline constexpr std::string_view ShellInvalidExecutable = "Invalid executable file.";
inline constexpr std::string_view ShellSharingViolation = "Sharing violation occurred.";
inline constexpr std::string_view ShellIncompleteFileName = "Incomplete or invalid file name: %s";
inline constexpr std::string_view ShellDdeTimeOut = "DDE time out.";
inline constexpr std::string_view ShellDdeFailed = "DDE transaction failed.";
inline constexpr std::string_view ShellDdeBusy = "DDE is busy. Transaction not completed.";
inline constexpr std::string_view ShellNoAssociation = "No application associated.";
inline constexpr std::string_view ShellDllNotFound = "DLL not found.";

// Version stamp and About dialog.
inline constexpr std::string_view WindowTitleFormat = "%s %d.%d - %s";
inline constexpr std::string_view AboutTitle = "About %s";
inline constexpr std::string_view AboutVersionBlock
    = "Version\t  %s\t%s\r\nRelease\t  %d\r\nBuild\t  %d\t%s";
inline constexpr std::string_view AboutMailLinkFormat = "mailto:%s?subject=%s %s.%d.%d";
inline constexpr std::string_view AboutUpdate = " Update";
inline constexpr std::string_view AboutInternet = "Internet:";
inline constexpr std::string_view AboutContact = " Contact";
inline constexpr std::string_view AboutEMail = "E-Mail:";
inline constexpr std::string_view AboutOk = "Ok";
inline constexpr std::string_view HomepageAddress = "https://velmora.example.com/";
inline constexpr std::string_view ProductPageAddress = "https://velmora.example.com/icon-manager/";
inline constexpr std::string_view MailAddress = "velmora@example.com";

// The PNG picture import, the sizes made from one picture and the PNG export.
inline constexpr std::string_view PictureTooLarge
    = "Picture too large (width or height > 256):\r\n\r\n%s";
inline constexpr std::string_view PictureSideRefused
    = "Picture size %s x %s is not supported (at most %s pixels a side).";
inline constexpr std::string_view PictureFilter
    = "Pictures (*.bmp *.png)|*.bmp;*.png|Bitmaps (*.bmp)|*.bmp|PNG pictures (*.png)|*.png";
inline constexpr std::string_view ExportFilter = "Bitmaps (*.bmp)|*.bmp|PNG picture (*.png)|*.png";
inline constexpr std::string_view ImportSizesTitle = "Import picture at several sizes...";
inline constexpr std::string_view NoSizeChosen = "No size chosen.";

} // namespace Messages

/// The text that describes a result code of the icon document (0 and every refusal).
std::string_view StatusText(int code);

} // namespace velmora
