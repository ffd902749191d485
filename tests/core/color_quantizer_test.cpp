#include "color_test_bitmaps.h"
#include "colors/color_quantizer.h"
#include "colors/color_reduction.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace velmora
{
namespace
{

/// A slow octree written another way: nodes in a map by (level, key prefix), the
/// reducible lists as maps from creation stamp to prefix, the colours collected by sorting
/// the leaves' prefixes widened to 24 bits.
class ReferenceOctree
{
public:
    static uint32_t Interleave(uint8_t r, uint8_t g, uint8_t b)
    {
        uint32_t key = 0;
        for (int bit = 7; bit >= 0; --bit)
            key = (key << 3) | (((r >> bit) & 1u) << 2) | (((g >> bit) & 1u) << 1)
                | ((b >> bit) & 1u);
        return key;
    }

    void Insert(uint8_t r, uint8_t g, uint8_t b)
    {
        const uint32_t key = Interleave(r, g, b);
        for (int level = 0; level <= 8; ++level) {
            const uint32_t prefix = key >> (3 * (8 - level));
            auto [it, created] = m_nodes.try_emplace({ level, prefix });
            Node& node = it->second;
            if (created) {
                if (level == 8) {
                    node.leaf = true;
                    ++m_leaves;
                } else {
                    m_inner[static_cast<size_t>(level)][++m_clock] = prefix;
                }
            }
            if (node.leaf) {
                ++node.count;
                node.r += r;
                node.g += g;
                node.b += b;
                return;
            }
        }
    }

    void Merge()
    {
        int level = 7;
        while (level > 0 && m_inner[static_cast<size_t>(level)].empty())
            --level;
        auto& inner = m_inner[static_cast<size_t>(level)];
        ASSERT_FALSE(inner.empty());
        const uint32_t prefix = std::prev(inner.end())->second;
        inner.erase(std::prev(inner.end()));
        Node& node = m_nodes.at({ level, prefix });
        int children = 0;
        for (uint32_t i = 0; i < 8; ++i) {
            auto child = m_nodes.find({ level + 1, (prefix << 3) | i });
            if (child == m_nodes.end())
                continue;
            ASSERT_TRUE(child->second.leaf);
            node.count += child->second.count;
            node.r += child->second.r;
            node.g += child->second.g;
            node.b += child->second.b;
            m_nodes.erase(child);
            ++children;
        }
        node.leaf = true;
        m_leaves -= children - 1;
    }

    int Leaves() const { return m_leaves; }

    std::vector<TColor> Colors() const
    {
        std::vector<std::pair<uint32_t, TColor>> leaves;
        for (const auto& [at, node] : m_nodes) {
            if (!node.leaf)
                continue;
            const TColor color = node.count == 0 ? 0
                                                 : RGB(static_cast<uint8_t>(node.r / node.count),
                                                     static_cast<uint8_t>(node.g / node.count),
                                                     static_cast<uint8_t>(node.b / node.count));
            leaves.emplace_back(at.second << (3 * (8 - at.first)), color);
        }
        std::sort(leaves.begin(), leaves.end());
        std::vector<TColor> colors;
        for (const auto& leaf : leaves)
            colors.push_back(leaf.second);
        return colors;
    }

private:
    struct Node {
        bool leaf = false;
        int64_t count = 0, r = 0, g = 0, b = 0;
    };
    std::map<std::pair<int, uint32_t>, Node> m_nodes;
    std::array<std::map<uint64_t, uint32_t>, 8> m_inner;
    uint64_t m_clock = 0;
    int m_leaves = 0;
};

struct ReferenceResult {
    std::vector<TColor> palette; // 256 entries
    std::vector<int> indices; // row by row
};

/// The whole optimised reduction, the slow way.
ReferenceResult ReferenceReduce(const TBitmap& picture)
{
    const int w = picture.Width();
    const int h = picture.Height();
    ReferenceOctree tree;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor c = test::TrueColorAt(picture, x, y);
            tree.Insert(RedOf(c), GreenOf(c), BlueOf(c));
            while (tree.Leaves() > 256)
                tree.Merge();
        }
    ReferenceResult result;
    result.palette = tree.Colors();
    result.palette.resize(256, 0);

    std::map<int, int> cells;
    auto cellOf = [](TColor c) {
        return (BlueOf(c) >> 3) * 1024 + (GreenOf(c) >> 3) * 32 + (RedOf(c) >> 3);
    };
    for (int i = 0; i < 256; ++i)
        cells.try_emplace(cellOf(result.palette[static_cast<size_t>(i)]), i);
    result.indices.assign(static_cast<size_t>(w * h), -1);
    for (int y = 0; y < h; ++y)
        for (int step = 0; step < w; ++step) {
            const int x = y % 2 == 0 ? step : w - 1 - step;
            const TColor c = test::TrueColorAt(picture, x, y);
            auto cell = cells.find(cellOf(c));
            if (cell == cells.end()) {
                int best = 0;
                int bestDistance = 1 << 30;
                for (int i = 0; i < 256; ++i) {
                    const TColor p = result.palette[static_cast<size_t>(i)];
                    const int d = std::abs(RedOf(p) - RedOf(c)) + std::abs(GreenOf(p) - GreenOf(c))
                        + std::abs(BlueOf(p) - BlueOf(c));
                    if (d < bestDistance) {
                        bestDistance = d;
                        best = i;
                    }
                }
                cell = cells.emplace(cellOf(c), best).first;
            }
            result.indices[static_cast<size_t>(y * w + x)] = cell->second;
        }
    return result;
}

void ExpectSameAsReference(const TBitmap& picture, const std::string& name)
{
    const ReferenceResult expected = ReferenceReduce(picture);
    TBitmap reduced = picture;
    ReduceBitmapColors(reduced, crmOptimized);
    ASSERT_EQ(reduced.PixelFormat(), TPixelFormat::pf8bit) << name;
    ASSERT_EQ(reduced.Palette().size(), 256u) << name;
    for (size_t i = 0; i < 256; ++i) {
        const TRGBQuad& q = reduced.Palette()[i];
        ASSERT_EQ(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue), expected.palette[i])
            << name << " entry " << i;
        ASSERT_EQ(q.rgbReserved, 0) << name;
    }
    int mismatches = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (reduced.ScanLine(y)[x]
                != expected.indices[static_cast<size_t>(y * picture.Width() + x)])
                ++mismatches;
    EXPECT_EQ(mismatches, 0) << name;
}

TEST(ColorQuantizerTest, MatchesSlowReferenceOnRandomPictures)
{
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        std::mt19937 random(seed);
        // Every pixel its own random colour: heavy merging at every level.
        ExpectSameAsReference(test::MakeTrueColorBitmap(72, 72, TPixelFormat::pf24bit,
                                  [&](int, int) { return test::RandomColor(random); }),
            "uniform " + std::to_string(seed));

        // Clusters of near colours: many single-leaf nodes, merges in the lower levels and
        // cells that the first mapped pixel decides.
        std::vector<TColor> bases(40);
        for (TColor& base : bases)
            base = test::RandomColor(random);
        ExpectSameAsReference(test::MakeTrueColorBitmap(72, 72, TPixelFormat::pf24bit,
                                  [&](int, int) {
                                      const TColor base = bases[random() % bases.size()];
                                      return base ^ (random() & 0x0F0F0F);
                                  }),
            "clusters " + std::to_string(seed));

        // Exactly 257 distinct colours, repeated over the picture.
        std::set<TColor> distinct;
        while (distinct.size() < 257)
            distinct.insert(test::RandomColor(random));
        const std::vector<TColor> colors(distinct.begin(), distinct.end());
        ExpectSameAsReference(
            test::MakeTrueColorBitmap(72, 72, TPixelFormat::pf24bit,
                [&](int x, int y) { return colors[static_cast<size_t>(y * 72 + x) % 257]; }),
            "257 colours " + std::to_string(seed));
    }
}

TEST(ColorQuantizerTest, MergingDownToTheRoot)
{
    TColorQuantizer quantizer(1, 8);
    quantizer.InsertColor(10, 20, 30);
    quantizer.InsertColor(30, 40, 51);
    quantizer.InsertColor(200, 100, 0);
    EXPECT_EQ(quantizer.LeafCount(), 3);
    while (quantizer.LeafCount() > 1)
        ASSERT_TRUE(quantizer.MergeDeepestNode());
    EXPECT_FALSE(quantizer.MergeDeepestNode());
    const TColorPalette colors = quantizer.CollectColors();
    ASSERT_EQ(colors.size(), 1u);
    EXPECT_EQ(colors[0], (TRGBQuad { 27, 53, 80, 0 })); // sums 240, 160, 81 over 3 pixels
    EXPECT_TRUE(TColorQuantizer(256, 8).CollectColors().empty());
}

} // namespace
} // namespace velmora
