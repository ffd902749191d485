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
// Every kind of file a drop takes, named once here.
inline constexpr std::string_view DropNotUsable
    = "Nothing to do with the dropped files:\r\n\r\n%s\r\n\r\nDrop icons (.ico), cursors (.cur, "
      ".ani) or programs (.exe, .dll, .mun, .icl) to open them, bitmaps (.bmp) or pictures (.png, "
      ".svg, .svgz) to import them, or a "
      "script file (a name holding qebscript.txt) to run it.";

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
    = "the name does not end in \".bmp\" or \".png\", skipped";
// Command-line tool: why "build" wrote nothing, or left a stream out.
inline constexpr std::string_view BuildNoImage = "not written: the icon has no image";
inline constexpr std::string_view BuildNoImageMatches = "no image matches --remove %s";
inline constexpr std::string_view BuildNoPicture = "neither a PNG, a bitmap nor an SVG picture";
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

// Icons inside programs (.exe, .dll, .mun, .icl).
inline constexpr std::string_view NotAProgram
    = "The file is no Windows program: it is neither a PE nor an NE file.";
inline constexpr std::string_view ProgramTableDamaged = "The program's resources are damaged: %s.";
inline constexpr std::string_view ProgramTooManyResources
    = "The program's resource directory holds more than %s entries.";
inline constexpr std::string_view ProgramTooManyImages
    = "The program's icon groups name more than %s images.";
inline constexpr std::string_view ProgramGroupTooLarge
    = "Group %s holds more than %s bytes of images.";
inline constexpr std::string_view ProgramGroupOutside = "its data lies outside the file";
inline constexpr std::string_view ProgramGroupNoDirectory = "its data is no group directory";
inline constexpr std::string_view ProgramImageSkipped
    = "Group %s: image %s (resource %s) skipped: %s.";
inline constexpr std::string_view ProgramImageMissing = "the program holds no such image";
inline constexpr std::string_view ProgramImageEmpty = "its data is empty or outside the file";
inline constexpr std::string_view ProgramImageTooLarge = "it is larger than 16 MiB";
inline constexpr std::string_view ProgramImageTooShort = "it is too short for an image";
inline constexpr std::string_view ProgramNoIcons = "no icons in this program";
inline constexpr std::string_view ProgramNoSuchGroup = "the program has no icon group %s";
inline constexpr std::string_view ProgramGroupUnreadable = "Group %s cannot be read: %s.";

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

// The check of an icon file: one sentence per finding, saying what happens and where.
inline constexpr std::string_view CheckLevelNote = "note";
inline constexpr std::string_view CheckLevelWarning = "warning";
inline constexpr std::string_view CheckLevelError = "error";
inline constexpr std::string_view CheckEntryLabel = "entry %s";
inline constexpr std::string_view CheckFileLabel = "file";
inline constexpr std::string_view CheckFileTooShort
    = "The file holds %s bytes, too few for an icon: readers refuse it.";
inline constexpr std::string_view CheckImageTooLarge
    = "its %s bytes are more than any icon image takes (%s).";
inline constexpr std::string_view CheckReserved
    = "The header's reserved field is %s, not 0: Windows and most readers refuse the file.";
inline constexpr std::string_view CheckTypeCursor
    = "The header's type is 2, a cursor: it is checked as one; icon readers refuse the file or "
      "show no icon.";
inline constexpr std::string_view CheckHotspot
    = "The hotspot %s,%s lies outside the %s image: the pointer's tip cannot be shown there.";
inline constexpr std::string_view CheckType
    = "The header's type is %s, not 1 (icon): readers refuse the file.";
inline constexpr std::string_view CheckNoImages
    = "The header counts no images: readers refuse the file.";
inline constexpr std::string_view CheckDirectoryPastEnd
    = "The directory of %s entries needs %s bytes, but the file has %s: readers refuse it.";
inline constexpr std::string_view CheckProgramSpare
    = "The %s bytes after the directory are unused, 6 per image as this program lays files "
      "out: readers skip them.";
inline constexpr std::string_view CheckGap
    = "%s unused bytes lie before this image's data (from offset %s): readers skip them.";
inline constexpr std::string_view CheckTrailing
    = "%s bytes follow the last image's data at the end of the file: readers ignore them.";
inline constexpr std::string_view CheckDataEmpty
    = "The directory gives this image 0 bytes: readers refuse it or show nothing.";
inline constexpr std::string_view CheckDataOutside
    = "The data (%s bytes at offset %s) runs past the end of the file (%s bytes): readers "
      "refuse the image or show it cut.";
inline constexpr std::string_view CheckDataOnDirectory
    = "The data at offset %s lies on the header and directory, which end at %s: readers take "
      "directory bytes for the image.";
inline constexpr std::string_view CheckDataOverlaps
    = "The data (offsets %s to %s) overlaps the data of entry %s: some readers refuse the file, "
      "and a change of one image breaks the other.";
inline constexpr std::string_view CheckDataShared
    = "The data is the same bytes as entry %s's: readers show one image twice, and a change of "
      "one image breaks the other.";
inline constexpr std::string_view CheckNotExamined
    = "The image was not examined: the entries before it share more data than the file holds.";
inline constexpr std::string_view CheckDuplicateFormat
    = "Same size and depth as entry %s (%s, %s bpp): Windows shows only one of them, and "
      "readers differ in which.";
inline constexpr std::string_view CheckRefused = "The decoder refuses the image: %s";
inline constexpr std::string_view CheckSize
    = "The directory says %s, the image is %s: Windows picks it by the directory's size and "
      "scales it wrongly.";
inline constexpr std::string_view CheckSize256
    = "A side of 256 is stored as 0, but the directory stores %s for this %s image: readers "
      "take it for another size.";
inline constexpr std::string_view CheckBitCount
    = "The directory gives %s bits per pixel, the image has %s: Windows picks images by the "
      "directory's depth.";
inline constexpr std::string_view CheckPlanes
    = "The directory gives %s colour planes, the image %s: Windows counts planes into the depth "
      "it picks by.";
inline constexpr std::string_view CheckColorCount
    = "The directory gives %s colours, the image has %s: readers that trust the count take a "
      "palette of the wrong size.";
inline constexpr std::string_view CheckByteCount
    = "The directory gives %s bytes, the image takes %s: readers that check the size refuse "
      "it.";
inline constexpr std::string_view CheckMaskShort
    = "The AND mask rows need %s more bytes than the data holds: readers read past the image or "
      "refuse it.";
inline constexpr std::string_view CheckPngKind
    = "The PNG image is %s at %s bits (colour type %s), not 8-bit RGBA: Windows before 10 and "
      "several readers show it wrongly or not at all.";
inline constexpr std::string_view CheckPngSmall
    = "A PNG image of %s: Windows XP and older readers show PNG images only from 256 pixels.";
inline constexpr std::string_view CheckLargeBitmap
    = "A 256-pixel image stored as a bitmap takes about four times the bytes of a PNG image.";
inline constexpr std::string_view CheckAlphaZero
    = "Every alpha byte of this 32-bit image is 0: Windows draws it by its AND mask, other "
      "readers show it invisible.";
inline constexpr std::string_view CheckMaskAgainstAlpha
    = "The AND mask is transparent at %s pixels whose alpha is visible and opaque at %s whose "
      "alpha is 0: readers that draw by the mask show another outline.";
inline constexpr std::string_view CheckPaletteIndex
    = "%s pixels use palette indices beyond the %s colours of the palette: readers show them "
      "black or in random colours.";
inline constexpr std::string_view CheckWindowsPick
    = "Windows shows this image for its %s-pixel icons%s.";
inline constexpr std::string_view CheckBrowserPick = "A browser tab takes this image at %s%s.";
inline constexpr std::string_view CheckAsItIs = ", as it is";
inline constexpr std::string_view CheckScaledDown = ", scaled down to %s";
inline constexpr std::string_view CheckScaledUp = ", scaled up to %s";
inline constexpr std::string_view CheckMissingSizes
    = "Windows asks for %s pixels, which the icon lacks: it scales another image for them.";

// The repairs that answer the findings: the changes they list, and their buttons.
inline constexpr std::string_view RepairDirectoryDone
    = "entry %s: directory fields taken from the image (%s)";
inline constexpr std::string_view RepairFieldChange = "%s %s, was %s";
inline constexpr std::string_view RepairMaskDone = "entry %s: AND mask remade from the alpha";
inline constexpr std::string_view RepairAlphaDone = "entry %s: alpha taken from the AND mask";
inline constexpr std::string_view RepairPngDone = "entry %s: PNG image stored as 8-bit RGBA";
inline constexpr std::string_view RepairLargeBitmapDone
    = "entry %s: 256-pixel bitmap stored as a PNG image";
inline constexpr std::string_view RepairSizeAdded = "entry %s: %s made from entry %s";
inline constexpr std::string_view RepairLayoutDone = "image data laid out anew after the directory";
inline constexpr std::string_view RepairNothing = "nothing to repair";
inline constexpr std::string_view RepairDirectoryCaption = "Take directory fields from images";
inline constexpr std::string_view RepairMaskCaption = "Remake AND masks from alpha";
inline constexpr std::string_view RepairAlphaCaption = "Take alpha from AND masks";
inline constexpr std::string_view RepairPngCaption = "Store PNG images as 8-bit RGBA";
inline constexpr std::string_view RepairLargeBitmapCaption = "Store 256-pixel bitmaps as PNG";
inline constexpr std::string_view RepairSizesCaption = "Add missing Windows sizes";
inline constexpr std::string_view RepairLayoutCaption = "Lay image data out anew";
inline constexpr std::string_view CheckDialogTitle = "Check icon %s";
inline constexpr std::string_view CheckNoFindings = "Nothing to report.";
// Cursors and animated cursors.
inline constexpr std::string_view AniNotRiff
    = "The file is no animated cursor (no RIFF ACON form).";
inline constexpr std::string_view AniNoHeader = "The animated cursor has no anih chunk.";
inline constexpr std::string_view AniNoFrames = "The animated cursor holds no frames.";
inline constexpr std::string_view AniTooManyFrames
    = "The animated cursor holds more than %s frames.";
inline constexpr std::string_view AniFrameNotIcon = "Frame %s is no cursor or icon file.";
inline constexpr std::string_view AniStepNoFrame
    = "Step %s shows frame %s, but the animated cursor has %s frames.";
inline constexpr std::string_view AniFileTooLarge
    = "%s: %s bytes is more than an animated cursor may have (%s bytes).";
inline constexpr std::string_view AniFrameName = "%s, frame %s";
inline constexpr std::string_view HeadlineCursorUnnumbered = "Cursor: %s";
inline constexpr std::string_view HeadlineCursorEmpty = "Cursor #%d (empty)";
inline constexpr std::string_view HeadlineCursorOneImage = "Cursor #%d, 1 image: %s";
inline constexpr std::string_view HeadlineCursorImages = "Cursor #%d, %d images: %s";
inline constexpr std::string_view HeadlineAnimationTitle = " (%s)";
inline constexpr std::string_view StatusHotspot = ", hotspot %s,%s";
inline constexpr std::string_view StepHotspot = "Hotspot";
inline constexpr std::string_view StepToCursor = "Convert to cursor";
inline constexpr std::string_view StepToIcon = "Convert to icon";
inline constexpr std::string_view SaveAsCursorTitle = "Save as cursor...";
inline constexpr std::string_view SaveAsIconTitle = "Save as icon...";
inline constexpr std::string_view IconSaveFilter = "Icons (*.ico)|*.ico|Cursors (*.cur)|*.cur";
inline constexpr std::string_view CursorSaveFilter = "Cursors (*.cur)|*.cur|Icons (*.ico)|*.ico";
inline constexpr std::string_view CursorExtension = "cur";
inline constexpr std::string_view NewCursorFileName = "new.cur";
inline constexpr std::string_view OpenFilter
    = "Icons, cursors and programs (*.ico *.cur *.ani *.exe *.dll *.mun *.icl *.cpl *.ocx *.scr "
      "*.sys *.efi)|*.ico;*.cur;*.ani;*.exe;*.dll;*.mun;*.icl;*.cpl;*.ocx;*.scr;*.sys;*.efi|"
      "Icons (*.ico)|*.ico|Cursors (*.cur)|*.cur|Animated cursors (*.ani)|*.ani|"
      "Programs and icon libraries (*.exe *.dll *.mun *.icl *.cpl *.ocx *.scr *.sys *.efi)|"
      "*.exe;*.dll;*.mun;*.icl;*.cpl;*.ocx;*.scr;*.sys;*.efi";
inline constexpr std::string_view ChooseFrameTitle = "Open a frame of %s";
inline constexpr std::string_view FrameChoice = "Frame %s: %s x %s, %s bpp, hotspot %s,%s";
inline constexpr std::string_view FrameFileName = "%s-%s.cur";
// The icon and cursor groups of a program opened in a pane.
inline constexpr std::string_view ChooseGroupTitle = "Open a group of %s";
inline constexpr std::string_view GroupChoice = "%s %s: %s, largest %s x %s";
inline constexpr std::string_view GroupChoiceUnreadable = "%s %s: cannot be read, %s";
inline constexpr std::string_view GroupKindIcon = "Icon group";
inline constexpr std::string_view GroupKindCursor = "Cursor group";
inline constexpr std::string_view GroupOneImage = "1 image";
inline constexpr std::string_view GroupImages = "%s images";
inline constexpr std::string_view GroupSaveName = "%s-%s";
inline constexpr std::string_view ProgramNameAGroup
    = "%s: the program holds %s groups; name the one to open, as in PROGRAM,-101";
inline constexpr std::string_view GroupImagesSkipped
    = "Some images of the group were not read:\r\n\r\n%s";
inline constexpr std::string_view HotspotOutside
    = "The hotspot (%s, %s) lies outside the image of %s x %s pixels.";
// Mask sizes and the images that a damaged icon file still holds.
inline constexpr std::string_view MaskSizeDiffers
    = "Mask bitmap of another size:\r\n\r\n%s is %d*%d pixels, its bitmap %s %d*%d.";
inline constexpr std::string_view ImagesPartlyRead = "%d of %d images could be read:\r\n\r\n%s";
inline constexpr std::string_view ImageNotDecodable = "Image %s cannot be decoded: %s";
// SVG pictures and the sources of single sizes.
inline constexpr std::string_view SvgNotAvailable
    = "SVG pictures are not available: this build has no librsvg";
inline constexpr std::string_view SourceTooSmall
    = "the picture is %s x %s, smaller than the size %s it should give";
inline constexpr std::string_view SizesPictureFilter
    = "Pictures (*.svg *.png *.bmp)|*.svg;*.svgz;*.png;*.bmp|SVG pictures (*.svg)|*.svg;*.svgz|"
      "PNG pictures (*.png)|*.png|Bitmaps (*.bmp)|*.bmp";
// The selected image's storage in the status line.
inline constexpr std::string_view StatusStorage = ", %s, %s bytes";

} // namespace Messages

/// The text that describes a result code of the icon document (0 and every refusal).
std::string_view StatusText(int code);

} // namespace velmora
