#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace velmora
{

class TByteSource;

/// Where the bytes of a relative virtual address lie in a file.
struct TFileRange {
    uint64_t Offset = 0;
    /// From Offset to the end of the section's data in the file.
    uint64_t Size = 0;
};

/// The headers of a 32- or 64-bit PE file: its kind, its sections and the place of its
/// resource directory. Only the DOS header, the file and optional headers and the section
/// table are read, every field checked against the file.
class TPeImage
{
public:
    enum class TStatus {
        /// A PE file whose headers are sound.
        Read,
        /// No PE file: no "MZ", or an "MZ" file without the "PE\0\0" signature (a DOS or NE
        /// program).
        NotPe,
        /// A PE file whose headers or section table are damaged.
        Damaged,
    };

    /// Reads the headers of the file in source; the source must outlive the image.
    explicit TPeImage(const TByteSource& source);

    TStatus Status() const { return m_status; }
    /// True for PE32+ (64-bit) files.
    bool Is64Bit() const { return m_is64Bit; }
    /// The resource directory's root in the file, or none when the file has no resources
    /// (or the directory's address lies in no section, which Status leaves Read: the caller
    /// decides whether that is damage).
    const std::optional<TFileRange>& ResourceRoot() const { return m_resourceRoot; }
    /// True when the file names a resource directory at all.
    bool HasResourceDirectory() const { return m_resourceRva != 0; }
    /// The file bytes of a relative virtual address. Raw pointers are taken as they are, not
    /// rounded to the file alignment: the resource-only files of Windows (.mun) align both
    /// sections and file data to 16 bytes, and data may lie in any section, not only .rsrc.
    std::optional<TFileRange> MapAddress(uint32_t rva) const;

    /// The Windows loader refuses images with more sections.
    static constexpr uint16_t MaxSections = 96;

private:
    struct TSection {
        uint32_t VirtualAddress = 0;
        uint32_t RawSize = 0;
        uint32_t RawOffset = 0;
    };

    void Read(const TByteSource& source);

    TStatus m_status = TStatus::NotPe;
    bool m_is64Bit = false;
    uint32_t m_resourceRva = 0;
    std::vector<TSection> m_sections;
    std::optional<TFileRange> m_resourceRoot;
};

} // namespace velmora
