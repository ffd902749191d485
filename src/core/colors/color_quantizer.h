#pragma once

#include "colors/color_lookup.h"

#include <array>
#include <cstdint>
#include <memory>

namespace velmora
{

class TDIBReader;

/// One node of the colour octree. A leaf sums the colours that reached it; an inner node
/// leads on by one bit of each channel to up to 8 children.
struct TOctreeNode {
    bool IsLeaf = false;
    // Sums in 64 bits: a picture of the largest size holds far more than 2^31 / 255 pixels.
    int64_t PixelCount = 0;
    int64_t RedSum = 0;
    int64_t GreenSum = 0;
    int64_t BlueSum = 0;
    /// The next inner node of the same level's reducible list (not owned).
    TOctreeNode* Next = nullptr;
    /// Child i takes the colours whose bits at this level are red, green, blue = bits 2, 1, 0
    /// of i.
    std::array<std::unique_ptr<TOctreeNode>, 8> Children;
};

/// Octree colour quantiser: colours go down one level per bit, most significant bit first,
/// until a leaf at level ColorBits; merging the deepest inner nodes keeps the number of leaves
/// within MaxColors.
class TColorQuantizer
{
public:
    /// An empty tree. colorBits is held to 1..8, maxColors to at least 1.
    TColorQuantizer(int maxColors, int colorBits);

    /// Adds one pixel's colour, creating the nodes on its way. An inner node goes to the front
    /// of its level's reducible list; a new leaf raises LeafCount.
    void InsertColor(uint8_t red, uint8_t green, uint8_t blue);

    /// Merges the inner node created last at the deepest level that has one into a leaf
    /// holding the sums of its children. Returns false when no inner node is left.
    bool MergeDeepestNode();

    /// The leaves' average colours (truncated; black for a leaf without pixels), depth first
    /// with children in index order: for unmerged leaves that is the ascending order of the
    /// colours' bit-interleaved keys.
    TColorPalette CollectColors() const;

    int LeafCount() const { return m_leafCount; }
    int MaxColors() const { return m_maxColors; }
    int ColorBits() const { return m_colorBits; }

private:
    std::unique_ptr<TOctreeNode> NewNode(int level);

    std::unique_ptr<TOctreeNode> m_root;
    int m_leafCount = 0;
    std::array<TOctreeNode*, 8> m_reducibleNodes {};
    int m_maxColors;
    int m_colorBits;
};

/// The palette of at most `colors` colours that the octree finds for the picture, its pixels
/// inserted row by row from the top, left to right, merging after each pixel while there are
/// too many leaves; padded with black to `colors` entries.
TColorPalette BuildOptimizedPalette(TDIBReader& reader, int colors, int colorBits);

} // namespace velmora
