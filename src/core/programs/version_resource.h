#pragma once

#include "support/byte_io.h"

#include <filesystem>

namespace velmora
{

class TByteSource;

/// How the search for a file's version information ended.
enum class TVersionResourceStatus {
    /// Data holds a sound VS_VERSIONINFO structure.
    Found,
    /// The file holds no version information: it is no PE or ELF file, or it is one without a
    /// version resource, or there is no such file.
    NotPresent,
    /// The file claims version information that cannot be fetched: its headers, tables or
    /// resource directory are damaged, the structure is not sound, or the file cannot be read.
    Damaged,
};

/// The version information of a file as the search found it.
struct TVersionResource {
    TVersionResourceStatus Status = TVersionResourceStatus::NotPresent;
    /// The VS_VERSIONINFO structure, exactly as long as its root block says.
    Bytes Data {};
};

/// The name of the ELF section that holds this program's own VS_VERSIONINFO structure.
inline constexpr char VersionSectionName[] = ".velmora_version";

/// Finds the version information in the bytes of a PE file (the first RT_VERSION resource,
/// preferring the identifier 1) or of an ELF file (the section VersionSectionName), reading
/// only the headers, tables and the resource itself.
TVersionResource FindVersionResource(const TByteSource& source);

/// FindVersionResource of a file: NotPresent when there is no regular file of that name,
/// Damaged when it cannot be opened or read.
TVersionResource FindVersionResourceInFile(const std::filesystem::path& name);

/// The result for bytes that are meant to be a VS_VERSIONINFO structure: Found with the
/// structure cut to its root's length when CheckVersionInfo accepts it, Damaged otherwise.
TVersionResource TakeVersionInfo(Bytes bytes);

} // namespace velmora
