#pragma once

namespace velmora
{

// Result codes of the icon document, kept in its Status. Positive values from loads and
// saves are the image count just read or written; positive values from imports name the
// image (index + 1) that already has the format.
inline constexpr int ResultOk = 0;
inline constexpr int ResultFileMissing = -1;
inline constexpr int ResultFileTooShort = -2;
inline constexpr int ResultNoIconHeader = -3;
inline constexpr int ResultReadEntriesFailed = -4;
inline constexpr int ResultReadImagesFailed = -5;
inline constexpr int ResultWriteEntriesFailed = -6;
inline constexpr int ResultWriteImagesFailed = -7;
inline constexpr int ResultNothingToSave = -8;

inline constexpr int ResultFormatExists = -100;
inline constexpr int ResultAddNoSourceEntry = -101;
inline constexpr int ResultAddTooManyImages = -102;
inline constexpr int ResultAddNoSourceIcon = -104;
inline constexpr int ResultInsertNoSourceEntry = -111;
inline constexpr int ResultInsertNoSourceIcon = -112;
inline constexpr int ResultInsertNoSourceStatus = -113;
inline constexpr int ResultInsertTooManyImages = -114;
inline constexpr int ResultDeleteBadIndex = -121;

inline constexpr int ResultBitmapFileMissing = -99;
inline constexpr int ResultBitmapNotTrueColor = -202;
inline constexpr int ResultBitmapPalette = -203;
inline constexpr int ResultBitmapTooLarge = -204;
inline constexpr int ResultBitmapTooSmall = -205;
inline constexpr int ResultBitmapHeaderEmpty = -206;
inline constexpr int ResultMaskUnusable = -208;
/// A picture wider or higher than the largest image made from a picture (256 pixels).
inline constexpr int ResultPictureTooLarge = -209;
/// A mask file whose width or height differs from its bitmap's.
inline constexpr int ResultMaskSizeDiffers = -210;

} // namespace velmora
