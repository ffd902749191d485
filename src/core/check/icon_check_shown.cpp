// Which image Windows and browsers show at each size, by the directory as they read it.

#include "check/check_rules.h"
#include "messages/messages.h"
#include "support/error.h"

#include <algorithm>
#include <string>

namespace velmora
{

namespace
{

namespace M = Messages;

// The depth that a reader takes from an entry: its bit count, or for an entry without one the
// depth that its colour count implies.
int Depth(const TIconDirectoryEntry& entry)
{
    if (entry.BitCount != 0)
        return entry.BitCount;
    if (entry.ColorCount == 2)
        return 1;
    if (entry.ColorCount != 0 && entry.ColorCount <= 16)
        return 4;
    return 8;
}

// The image that the system takes for a size: the closest size not smaller, then the deepest
// colour (the first such entry); without a size that large, the largest image, then the
// deepest. -1 for no entries.
int Pick(const std::vector<TIconDirectoryEntry>& entries, int side)
{
    int best = -1;
    for (size_t i = 0; i < entries.size(); ++i) {
        const int width = entries[i].ImageWidth();
        const int depth = Depth(entries[i]);
        if (best < 0) {
            best = static_cast<int>(i);
            continue;
        }
        const int bestWidth = entries[static_cast<size_t>(best)].ImageWidth();
        const int bestDepth = Depth(entries[static_cast<size_t>(best)]);
        const bool large = width >= side;
        const bool bestLarge = bestWidth >= side;
        bool better;
        if (large != bestLarge)
            better = large;
        else if (width != bestWidth)
            better = large ? width < bestWidth : width > bestWidth;
        else
            better = depth > bestDepth;
        if (better)
            best = static_cast<int>(i);
    }
    return best;
}

std::string Scaling(int width, int side)
{
    const std::string target = SizeText(side, side);
    if (width == side)
        return std::string(M::CheckAsItIs);
    return FormatText(width > side ? M::CheckScaledDown : M::CheckScaledUp, { target });
}

} // namespace

void CheckShown(const std::vector<TIconDirectoryEntry>& entries, TFindingList& findings)
{
    if (entries.empty())
        return;
    for (int side : ShellSizes) {
        const int index = Pick(entries, side);
        findings.Add(TFindingLevel::Note, index, "windows-size", TRepair::None, M::CheckWindowsPick,
            { std::to_string(side),
                Scaling(entries[static_cast<size_t>(index)].ImageWidth(), side) });
    }
    // A browser tab is 16 pixels, 32 on a screen of twice the density.
    for (int scale : { 1, 2 }) {
        const int side = 16 * scale;
        const int index = Pick(entries, side);
        findings.Add(TFindingLevel::Note, index, "browser", TRepair::None, M::CheckBrowserPick,
            { std::to_string(scale) + "x (" + std::to_string(side) + " pixels)",
                Scaling(entries[static_cast<size_t>(index)].ImageWidth(), side) });
    }
    std::vector<int> sides;
    sides.reserve(entries.size());
    for (const TIconDirectoryEntry& entry : entries)
        if (entry.ImageWidth() == entry.ImageHeight())
            sides.push_back(entry.ImageWidth());
    std::sort(sides.begin(), sides.end());
    std::string missing;
    for (int side : WindowsSizes)
        if (!std::binary_search(sides.begin(), sides.end(), side))
            missing += (missing.empty() ? "" : ", ") + std::to_string(side);
    if (!missing.empty())
        findings.Add(TFindingLevel::Note, -1, "missing-sizes", TRepair::AddSizes,
            M::CheckMissingSizes, { missing });
}

} // namespace velmora
