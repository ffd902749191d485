#pragma once

#include "check/icon_finding.h"
#include "icons/icon_directory_entry.h"
#include "support/byte_io.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velmora
{

class TIconDirectory;

/// What the check reads of one icon file: its header fields, its directory and, for each
/// entry, the bytes of its data that lie inside the file.
struct TCheckInput {
    uint16_t Reserved = 0;
    uint16_t Type = 1;
    uint16_t Count = 0;
    uint64_t FileSize = 0;
    /// The entries the directory holds; fewer than Count when the file ends inside it.
    std::vector<TIconDirectoryEntry> Entries;
    /// The bytes of an entry's data that lie inside the file; scratch may hold them.
    std::function<ByteSpan(size_t entry, Bytes& scratch)> Data;
};

/// Checks an icon file as Windows and other readers will see it: the structure of the file,
/// the directory against each image, the kind of PNG images, the pixels, and which image is
/// shown at each size. The findings come file-wide first, then by entry. The bytes read and
/// the pixels decoded stay within a small multiple of the file's size, however its entries
/// share their data.
std::vector<TFinding> CheckIcon(const TCheckInput& input);

/// CheckIcon of the bytes of a whole file.
std::vector<TFinding> CheckIconBytes(ByteSpan file);

/// CheckIcon of a file on disk, read entry by entry. A missing or unreadable file raises the
/// file error.
std::vector<TFinding> CheckIconFile(const std::string& fileName);

/// CheckIcon of a document as it would be read back from the file it came from: its entries
/// as held (a truncated image with the size its file gave) and each image's data.
std::vector<TFinding> CheckIconDocument(const TIconDirectory& document);

/// True when a finding is above note level.
bool AnyAboveNote(const std::vector<TFinding>& findings);

/// The side in pixels of the images that Windows asks for in its shell views, and that a
/// complete icon holds.
inline constexpr int ShellSizes[] = { 16, 20, 24, 32, 40, 48, 64, 96, 256 };
inline constexpr int WindowsSizes[] = { 16, 24, 32, 48, 256 };

} // namespace velmora
