#pragma once

#include "check/icon_check.h"

#include <initializer_list>
#include <string_view>
#include <vector>

namespace velmora
{

/// Where the rules of the check put their findings.
class TFindingList
{
public:
    explicit TFindingList(std::vector<TFinding>& findings)
        : m_findings(findings)
    {
    }
    /// Adds a finding whose text is format with its placeholders filled.
    void Add(TFindingLevel level, int entry, std::string_view rule, TRepair repair,
        std::string_view format, std::initializer_list<std::string_view> args = {});

private:
    std::vector<TFinding>& m_findings;
};

/// The header, the directory and where the entries' data lie. False when the file is so
/// damaged that its images cannot be looked at.
bool CheckStructure(const TCheckInput& input, TFindingList& findings);

/// The rules of one image: its decoding, its directory entry against its own header, its
/// encoding and its pixels; of a cursor, the entry's hotspot in place of its planes and bit
/// count. pixelBudget is lowered by the pixels decoded; an image that would take more is not
/// decoded.
void CheckImage(int index, const TIconDirectoryEntry& entry, bool cursor, ByteSpan data,
    uint64_t& pixelBudget, TFindingList& findings);

/// Which image Windows and browsers show at each size, and the Windows sizes missing.
void CheckShown(const std::vector<TIconDirectoryEntry>& entries, TFindingList& findings);

/// "32x32".
std::string SizeText(int width, int height);

} // namespace velmora
