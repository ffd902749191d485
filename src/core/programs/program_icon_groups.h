#pragma once

#include "icons/icon_directory_entry.h"
#include "programs/program_resources.h"
#include "support/byte_io.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora
{

class TByteSource;
class TFileReader;
class TIconDirectory;

/// One image that a group names: its entry as a group directory (GRPICONDIRENTRY) gives it
/// and the number of the icon or cursor resource that holds it.
struct TProgramGroupEntry {
    /// For icons, the fields of an icon file's entry (a width or height of 0 means 256).
    /// For cursors, Width is the cursor's width and Height its height without the mask rows
    /// (the group stores both heights), ColorCount and Reserved 0; Planes and BitCount are
    /// the group's. BytesInRes is the group's count; ImageOffset is 0.
    TIconDirectoryEntry Entry;
    uint16_t ResourceId = 0;
};

/// One icon group (RT_GROUP_ICON) or cursor group (RT_GROUP_CURSOR) of a program.
struct TProgramIconGroup {
    TResourceName Name;
    bool IsCursor = false;
    /// The language of the group read: the first of its name.
    uint16_t Language = 0;
    /// The other languages under the same name, which are not read.
    std::vector<uint16_t> OtherLanguages;
    std::vector<TProgramGroupEntry> Entries;
    /// Why the group cannot be read (its data is missing or no group directory); empty when
    /// it can.
    std::string Problem;

    /// The group's name as the Windows form writes it after the file's name and a comma:
    /// "-101" for the number 101, the text for a text name.
    std::string Reference() const;
};

/// One image of a group with its data, as an icon or cursor file holds it.
struct TProgramImage {
    /// The group's entry; BytesInRes is the size of Data. A cursor's ColorCount is its
    /// palette's size, as a cursor file gives it.
    TIconDirectoryEntry Entry;
    uint16_t ResourceId = 0;
    /// A cursor's hotspot: the two words before the image in each cursor resource. 0 for
    /// icons.
    uint16_t HotspotX = 0;
    uint16_t HotspotY = 0;
    /// The image's bytes: a bitmap header and its rows, or a PNG stream. Of a cursor, the
    /// bytes after the hotspot.
    Bytes Data;
};

/// The images of one group, and what became of the entries that could not be read.
struct TProgramGroupImages {
    /// True for the images of a cursor group, each with its hotspot.
    bool IsCursor = false;
    std::vector<TProgramImage> Images;
    /// One text per entry skipped (its resource missing or unreadable).
    std::vector<std::string> Notes;
};

/// The icon and cursor groups of a program file (PE32, PE32+ or NE), read from its resource
/// tables without reading the images; each group's images are read when asked for. Every
/// count and size is bounded: a hostile file ends in a raised error, not in a long loop or
/// a large allocation.
class TProgramIcons
{
public:
    /// Reads the groups of the program in source, which must outlive the reader. Raises the
    /// core's general error when the file is no program or its tables are damaged.
    explicit TProgramIcons(const TByteSource& source);

    TProgramFormat Format() const { return m_format; }
    /// The icon groups, in the file's order, then the cursor groups.
    const std::vector<TProgramIconGroup>& Groups() const { return m_groups; }
    /// The number of icon groups; they come first in Groups.
    size_t IconGroupCount() const { return m_iconGroupCount; }
    /// The index in Groups of the icon group with this name, or -1.
    int FindIconGroup(const TResourceName& name) const;
    /// The index in Groups of the group with this name, or -1: the icon groups are searched
    /// first, then the cursor groups; a text name matches without regard to ASCII case when
    /// no name matches exactly, as Windows compares them.
    int FindGroup(const TResourceName& name) const;

    /// Reads the images of a group. An entry whose resource is missing, empty or unreadable
    /// is skipped with a note; the rest are read. Raises when the group asks for more bytes
    /// than the limits allow.
    TProgramGroupImages ReadImages(const TProgramIconGroup& group) const;

    /// The most images that all groups together may name.
    static constexpr uint64_t MaxGroupEntries = 1 << 18;
    /// The largest image read.
    static constexpr uint64_t MaxImageBytes = 16 * 1024 * 1024;
    /// The most image bytes that one group's images may hold together.
    static constexpr uint64_t MaxGroupBytes = 256 * 1024 * 1024;

private:
    struct TImageResource {
        uint16_t Type = 0;
        uint16_t Id = 0;
        uint16_t Language = 0;
        size_t Index = 0; // into m_resources
        bool operator<(const TImageResource& other) const;
    };
    const TProgramResource* FindImage(uint16_t type, uint16_t id, uint16_t language) const;
    void ReadGroup(
        const TProgramResource& resource, TProgramIconGroup& group, uint64_t& budget) const;

    const TByteSource& m_source;
    TProgramFormat m_format = TProgramFormat::Pe32;
    std::vector<TProgramResource> m_resources;
    std::vector<TImageResource> m_images; // sorted by type, id and language
    std::vector<TImageResource> m_firstImages; // per type and id, the first in the file
    std::vector<TProgramIconGroup> m_groups;
    size_t m_iconGroupCount = 0;
};

/// The bytes of an icon file (.ico) of a group's images, or of a cursor file (.cur) with each
/// image's hotspot for a cursor group: the header, the directory with the images laid out
/// back to back after it, and the images' bytes.
Bytes IconFileBytes(const TProgramGroupImages& images);

/// Puts a group's images into a document in place of its content, each image's data byte
/// for byte as the icon or cursor file of the images (IconFileBytes) holds it, makes the
/// document an icon or a cursor with the images' hotspots, and names the document name.
/// False, leaving the document alone, when there is no image.
bool TakeProgramImages(
    TIconDirectory& document, const TProgramGroupImages& images, std::string name);

/// A program file named with the Windows form of an icon: "setup.exe,-101" (the group with
/// the number 101) or "setup.exe,2" (the third icon group).
struct TProgramIconReference {
    std::string File;
    /// The group's number, when given as ",-N".
    std::optional<uint16_t> GroupId;
    /// The group's index among the icon groups, when given as ",N".
    std::optional<size_t> GroupIndex;
};

/// Splits a name of the Windows form; a name that exists as a file, or that does not end in
/// a comma and a number, is the file itself.
TProgramIconReference ParseProgramIconReference(const std::string& name);

/// True when the file's first bytes are those of a program ("MZ"); false for no such file.
bool IsProgramFileName(const std::string& name);

} // namespace velmora
