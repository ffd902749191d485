#include "colors/color_quantizer.h"

#include "colors/dib_access.h"

#include <algorithm>

namespace velmora
{

namespace
{

void Collect(const TOctreeNode& node, TColorPalette& colors)
{
    if (node.IsLeaf) {
        TRGBQuad color {};
        if (node.PixelCount != 0) {
            color.rgbRed = static_cast<uint8_t>(node.RedSum / node.PixelCount);
            color.rgbGreen = static_cast<uint8_t>(node.GreenSum / node.PixelCount);
            color.rgbBlue = static_cast<uint8_t>(node.BlueSum / node.PixelCount);
        }
        colors.push_back(color);
        return;
    }
    for (const auto& child : node.Children)
        if (child)
            Collect(*child, colors);
}

} // namespace

TColorQuantizer::TColorQuantizer(int maxColors, int colorBits)
    : m_maxColors(std::max(maxColors, 1))
    , m_colorBits(std::clamp(colorBits, 1, 8))
{
}

std::unique_ptr<TOctreeNode> TColorQuantizer::NewNode(int level)
{
    auto node = std::make_unique<TOctreeNode>();
    if (level == m_colorBits) {
        node->IsLeaf = true;
        ++m_leafCount;
    } else {
        TOctreeNode*& head = m_reducibleNodes[static_cast<size_t>(level)];
        node->Next = head;
        head = node.get();
    }
    return node;
}

void TColorQuantizer::InsertColor(uint8_t red, uint8_t green, uint8_t blue)
{
    std::unique_ptr<TOctreeNode>* slot = &m_root;
    for (int level = 0;; ++level) {
        if (!*slot)
            *slot = NewNode(level);
        TOctreeNode& node = **slot;
        if (node.IsLeaf) {
            ++node.PixelCount;
            node.RedSum += red;
            node.GreenSum += green;
            node.BlueSum += blue;
            return;
        }
        const int mask = 0x80 >> level;
        const int shift = 7 - level;
        const int index = (((red & mask) >> shift) << 2) | (((green & mask) >> shift) << 1)
            | ((blue & mask) >> shift);
        slot = &node.Children[static_cast<size_t>(index)];
    }
}

bool TColorQuantizer::MergeDeepestNode()
{
    int level = m_colorBits - 1;
    while (level > 0 && m_reducibleNodes[static_cast<size_t>(level)] == nullptr)
        --level;
    TOctreeNode*& head = m_reducibleNodes[static_cast<size_t>(level)];
    if (head == nullptr)
        return false;
    TOctreeNode& node = *head;
    head = node.Next;
    node.Next = nullptr;

    // Every child is a leaf here: deeper levels have no inner node left, or one of them would
    // have been merged first.
    int64_t red = 0;
    int64_t green = 0;
    int64_t blue = 0;
    int children = 0;
    for (auto& child : node.Children) {
        if (!child)
            continue;
        red += child->RedSum;
        green += child->GreenSum;
        blue += child->BlueSum;
        node.PixelCount += child->PixelCount;
        child.reset();
        ++children;
    }
    node.IsLeaf = true;
    node.RedSum = red;
    node.GreenSum = green;
    node.BlueSum = blue;
    m_leafCount -= children - 1;
    return true;
}

TColorPalette TColorQuantizer::CollectColors() const
{
    TColorPalette colors;
    if (m_root)
        Collect(*m_root, colors);
    return colors;
}

TColorPalette BuildOptimizedPalette(TDIBReader& reader, int colors, int colorBits)
{
    TColorQuantizer quantizer(colors, colorBits);
    for (int y = 0; y < reader.Height(); ++y) {
        const uint8_t* row = reader.ScanRow(y);
        for (int x = 0; x < reader.Width(); ++x) {
            const uint8_t* pixel = row + static_cast<size_t>(x) * 3;
            quantizer.InsertColor(pixel[2], pixel[1], pixel[0]);
            while (quantizer.LeafCount() > quantizer.MaxColors())
                if (!quantizer.MergeDeepestNode())
                    break;
        }
    }
    TColorPalette palette = quantizer.CollectColors();
    palette.resize(static_cast<size_t>(std::max(colors, 0)), TRGBQuad {});
    return palette;
}

} // namespace velmora
