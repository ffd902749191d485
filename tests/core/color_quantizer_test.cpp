#include "colors/color_lookup.h"
#include "colors/color_reduction.h"
#include "icon_test_files.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

namespace velmora
{
namespace
{

/// The optimised palette found the slow way: nodes in a map by (level, key prefix), each
/// level's inner nodes by creation stamp, the leaves' colours ordered by their widened prefixes.
TColorPalette ReferencePalette(const TBitmap& picture)
{
    struct Node {
        bool leaf = false;
        std::array<int64_t, 4> sum {}; // pixels, red, green, blue
    };
    std::map<std::pair<int, uint32_t>, Node> nodes;
    std::array<std::map<uint64_t, uint32_t>, 8> inner; // prefixes by creation stamp
    uint64_t clock = 0;
    int leaves = 0;
    auto add = [](Node& node, const std::array<int64_t, 4>& more) {
        for (size_t i = 0; i < 4; ++i)
            node.sum[i] += more[i];
    };
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor c = GetPixelColor(picture, x, y);
            const std::array<int64_t, 4> pixel { 1, RedOf(c), GreenOf(c), BlueOf(c) };
            uint32_t key = 0;
            for (int bit = 7; bit >= 0; --bit)
                for (size_t i = 1; i < 4; ++i)
                    key = key << 1 | ((pixel[i] >> bit) & 1);
            for (int level = 0;; ++level) {
                const uint32_t prefix = key >> 3 * (8 - level);
                auto [it, created] = nodes.try_emplace({ level, prefix });
                if (created && level == 8) {
                    it->second.leaf = true;
                    ++leaves;
                } else if (created) {
                    inner[static_cast<size_t>(level)][++clock] = prefix;
                }
                if (it->second.leaf) {
                    add(it->second, pixel);
                    break;
                }
            }
            while (leaves > 256) { // merge the last inner node of the deepest level
                int level = 7;
                while (inner[static_cast<size_t>(level)].empty())
                    --level;
                auto& candidates = inner[static_cast<size_t>(level)];
                const uint32_t prefix = std::prev(candidates.end())->second;
                candidates.erase(std::prev(candidates.end()));
                Node& node = nodes.at({ level, prefix });
                node.leaf = true;
                ++leaves;
                for (uint32_t i = 0; i < 8; ++i) {
                    auto child = nodes.find({ level + 1, prefix << 3 | i });
                    if (child != nodes.end()) {
                        add(node, child->second.sum);
                        nodes.erase(child);
                        --leaves;
                    }
                }
            }
        }
    std::map<uint32_t, TRGBQuad> ordered;
    for (const auto& [at, node] : nodes) {
        auto average = [&](size_t i) { return static_cast<uint8_t>(node.sum[i] / node.sum[0]); };
        if (node.leaf)
            ordered[at.second << 3 * (8 - at.first)] = { average(3), average(2), average(1), 0 };
    }
    TColorPalette palette;
    for (const auto& leaf : ordered)
        palette.push_back(leaf.second);
    palette.resize(256);
    return palette;
}

/// Reduces the picture the slow way and compares the palette and every index.
void ExpectSameAsReference(const TBitmap& picture, const std::string& name)
{
    SCOPED_TRACE(name);
    const TColorPalette palette = ReferencePalette(picture);
    TBitmap reduced = picture;
    ReduceBitmapColors(reduced, crmOptimized);
    ASSERT_EQ(reduced.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(reduced.Palette(), palette);

    // Pixels in serpentine order through a 15-bit cache whose cells first belong to the lowest
    // entry of their key and are otherwise filled by the nearest entry of the first colour.
    std::map<int, int> cells;
    auto cellOf = [](const TRGBQuad& q) {
        return q.rgbBlue >> 3 << 10 | q.rgbGreen >> 3 << 5 | q.rgbRed >> 3;
    };
    for (int i = 0; i < 256; ++i)
        cells.try_emplace(cellOf(palette[static_cast<size_t>(i)]), i);
    for (int y = 0; y < picture.Height(); ++y)
        for (int step = 0; step < picture.Width(); ++step) {
            const int x = y % 2 == 0 ? step : picture.Width() - 1 - step;
            const TRGBQuad c = QuadOf(GetPixelColor(picture, x, y));
            auto distance = [&](size_t i) {
                const TRGBQuad& p = palette[i];
                return std::abs(p.rgbRed - c.rgbRed) + std::abs(p.rgbGreen - c.rgbGreen)
                    + std::abs(p.rgbBlue - c.rgbBlue);
            };
            auto cell = cells.find(cellOf(c));
            if (cell == cells.end()) {
                size_t best = 0;
                for (size_t i = 1; i < 256; ++i)
                    best = distance(i) < distance(best) ? i : best;
                cell = cells.emplace(cellOf(c), static_cast<int>(best)).first;
            }
            ASSERT_EQ(reduced.ScanLine(y)[x], cell->second) << x << "," << y;
        }
}

TEST(ColorQuantizerTest, MatchesSlowReferenceOnRandomPictures)
{
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        std::mt19937 random(seed);
        auto picture = [](const std::function<TColor(int, int)>& colorAt) {
            return test::MakeTrueColorBitmap(72, 72, TPixelFormat::pf24bit, colorAt);
        };
        // Every pixel its own random colour: heavy merging at every level.
        ExpectSameAsReference(picture([&](int, int) { return random() & 0xFFFFFF; }),
            "uniform " + std::to_string(seed));
        // Clusters of near colours: merges in the lower levels, cells decided by the first pixel.
        std::vector<TColor> bases(40);
        for (TColor& base : bases)
            base = random() & 0xFFFFFF;
        ExpectSameAsReference(picture([&](int, int) {
            return bases[random() % bases.size()] ^ (random() & 0x0F0F0F);
        }),
            "clusters " + std::to_string(seed));
        // Exactly 257 distinct colours, repeated over the picture.
        std::set<TColor> distinct;
        while (distinct.size() < 257)
            distinct.insert(random() & 0xFFFFFF);
        const std::vector<TColor> colors(distinct.begin(), distinct.end());
        ExpectSameAsReference(
            picture([&](int x, int y) { return colors[static_cast<size_t>(y * 72 + x) % 257]; }),
            "257 colours " + std::to_string(seed));
    }
}

} // namespace
} // namespace velmora
