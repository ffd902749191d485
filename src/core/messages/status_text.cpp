#include "messages/messages.h"
#include "messages/result_codes.h"

namespace velmora
{

std::string_view StatusText(int code)
{
    switch (code) {
    case ResultOk:
        return "completed";
    case ResultFileMissing:
        return "the file does not exist";
    case ResultFileTooShort:
        return "the file is shorter than 13 bytes";
    case ResultNoIconHeader:
        return "the file does not start with an icon header";
    case ResultReadEntriesFailed:
        return "failed while reading the directory entries";
    case ResultReadImagesFailed:
        return "failed while reading the image data";
    case ResultWriteEntriesFailed:
        return "failed while writing the directory entries";
    case ResultWriteImagesFailed:
        return "failed while writing the image data";
    case ResultNothingToSave:
        return "the icon holds no image to save";
    case ResultFormatExists:
        return "the icon already holds an image of this format";
    case ResultAddNoSourceEntry:
    case ResultInsertNoSourceEntry:
        return "no source entry to copy";
    case ResultAddNoSourceIcon:
    case ResultInsertNoSourceIcon:
        return "the source image holds no icon";
    case ResultAddTooManyImages:
    case ResultInsertTooManyImages:
        return "the icon already holds 65535 images";
    case ResultInsertNoSourceStatus:
        return "no source entry to insert";
    case ResultDeleteBadIndex:
        return "no image at this index";
    case ResultBitmapFileMissing:
        return "the file does not exist";
    case ResultBitmapNotTrueColor:
        return "the bitmap has more than 8 bits per pixel but not 15, 16, 24 or 32";
    case ResultBitmapPalette:
        return "the bitmap has a palette (8 bits per pixel or fewer)";
    case ResultBitmapTooLarge:
        return "the bitmap is wider or higher than 72 pixels";
    case ResultBitmapTooSmall:
        return "the bitmap is narrower or lower than 4 pixels";
    case ResultBitmapHeaderEmpty:
        return "the bitmap header is empty";
    case ResultMaskSizeDiffers:
        return "the mask bitmap and its bitmap differ in size";
    case ResultMaskUnusable:
        return "the mask bitmap cannot be used";
    case ResultPictureTooLarge:
        return "the picture is wider or higher than 256 pixels";
    default:
        return "unknown result";
    }
}

} // namespace velmora
