#pragma once

#include "programs/pe_image.h"
#include "support/byte_io.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora
{

class TByteSource;

/// One entry of a directory of a PE file's resource tree.
struct TPeResourceEntry {
    uint32_t Name = 0; // an identifier, or HighBit | offset of a name string
    uint32_t Target = 0; // HighBit | offset of a subdirectory, or the offset of a data entry

    static constexpr uint32_t HighBit = 0x80000000;
    bool HasTextName() const { return (Name & HighBit) != 0; }
    bool IsDirectory() const { return (Target & HighBit) != 0; }
    uint32_t Offset() const { return Target & ~HighBit; }
};

/// The resource directory of a PE file: the tables of its tree, read on demand with every
/// offset and count checked against the resource section. Each table read counts against a
/// budget of entries, so that a tree whose directories point back into themselves or share
/// subdirectories costs no more than a tree of that many entries. Offsets are from the root.
class TPeResourceDirectory
{
public:
    /// maxEntries: the most entries that all tables read together may hold.
    TPeResourceDirectory(const TByteSource& source, const TPeImage& image, uint64_t maxEntries);

    /// The entries of the directory at offset, or none when it does not lie inside the
    /// resource section or its entries would exceed the budget.
    std::optional<std::vector<TPeResourceEntry>> Entries(uint32_t offset);
    /// The name string of an entry with a text name, as UTF-8; none when it lies outside.
    std::optional<std::string> NameText(const TPeResourceEntry& entry) const;
    /// The file bytes of the data entry at offset: none when the entry lies outside the
    /// section or its data in no section of the file.
    std::optional<TFileRange> Data(uint32_t offset) const;
    /// True when the budget of entries ran out: the tree is too large or loops.
    bool Exhausted() const { return m_exhausted; }

    /// count bytes at offset from the root; none outside the resource section.
    std::optional<Bytes> Read(uint64_t offset, uint64_t count) const;

private:
    const TByteSource& m_source;
    const TPeImage& m_image;
    TFileRange m_range;
    // The start of the section, read once: the tables of the tree usually lie there, and
    // reading them from it spares a file read per table.
    Bytes m_head;
    uint64_t m_budget;
    bool m_exhausted = false;
};

} // namespace velmora
