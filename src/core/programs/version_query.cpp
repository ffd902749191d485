#include "programs/version_query.h"

#include <algorithm>

namespace velmora
{

namespace
{

// Every block starts with wLength, wValueLength and wType, then its key in UTF-16 with a
// terminating zero; value and children each start on a 32-bit boundary of the structure.
constexpr size_t BlockHeaderSize = 6;

// The structure's levels that are checked and walked: root, StringFileInfo or VarFileInfo,
// string table or Var, and the strings. The strings are leaves.
constexpr int LeafDepth = 3;

size_t Align4(size_t value)
{
    return (value + 3) & ~static_cast<size_t>(3);
}

struct TBlock {
    size_t Begin = 0;
    size_t End = 0; // Begin + wLength
    uint16_t ValueLength = 0;
    uint16_t Type = 0;
    size_t KeyBegin = 0;
    size_t KeyUnits = 0; // without the terminating zero
    size_t ValueBegin = 0; // at most End
    size_t ChildrenBegin = 0; // may lie past End: then there are no children
};

// The block at offset, which must lie wholly between offset and limit.
std::optional<TBlock> ParseBlock(ByteSpan info, size_t offset, size_t limit)
{
    if (limit > info.size() || offset > limit || limit - offset < BlockHeaderSize)
        return std::nullopt;
    const uint8_t* p = info.data() + offset;
    TBlock block;
    size_t length = ReadU16(p + 0); // wLength
    if (length < BlockHeaderSize || length > limit - offset)
        return std::nullopt;
    block.Begin = offset;
    block.End = offset + length;
    block.ValueLength = ReadU16(p + 2); // wValueLength
    block.Type = ReadU16(p + 4); // wType
    block.KeyBegin = offset + BlockHeaderSize;
    size_t pos = block.KeyBegin;
    for (;;) {
        if (block.End - pos < 2)
            return std::nullopt; // the key has no terminating zero inside its block
        if (ReadU16(info.data() + pos) == 0)
            break;
        pos += 2;
    }
    block.KeyUnits = (pos - block.KeyBegin) / 2;
    block.ValueBegin = std::min(Align4(pos + 2), block.End);
    size_t valueBytes = static_cast<size_t>(block.ValueLength) * (block.Type != 0 ? 2 : 1);
    block.ChildrenBegin = Align4(block.ValueBegin + valueBytes);
    return block;
}

char FoldCase(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool KeyEquals(ByteSpan info, const TBlock& block, std::string_view name, bool ignoreCase)
{
    std::string key = Utf16ToUtf8(info.data() + block.KeyBegin, block.KeyUnits);
    return std::equal(key.begin(), key.end(), name.begin(), name.end(),
        [ignoreCase](char a, char b) { return ignoreCase ? FoldCase(a) == FoldCase(b) : a == b; });
}

// Calls visit with each child of block in order until it returns true. False when a child
// does not lie inside the block or is malformed. A zero length or the last few bytes of the
// block end the children: writers pad blocks with zeros.
template <typename Visit> bool ForEachChild(ByteSpan info, const TBlock& block, Visit&& visit)
{
    size_t pos = block.ChildrenBegin;
    while (pos < block.End && block.End - pos >= BlockHeaderSize) {
        if (ReadU16(info.data() + pos) == 0)
            return true;
        std::optional<TBlock> child = ParseBlock(info, pos, block.End);
        if (!child)
            return false;
        if (visit(*child))
            return true;
        pos = Align4(child->End); // a child is at least a header long, so this moves on
    }
    return true;
}

bool ChildrenAreSound(ByteSpan info, const TBlock& block, int depth)
{
    if (depth >= LeafDepth)
        return true;
    bool sound = true;
    bool walked = ForEachChild(info, block, [&](const TBlock& child) {
        sound = ChildrenAreSound(info, child, depth + 1);
        return !sound;
    });
    return walked && sound;
}

} // namespace

std::string Utf16ToUtf8(const uint8_t* data, size_t units)
{
    std::string text;
    text.reserve(units);
    auto append = [&text](uint32_t code) {
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else if (code < 0x800) {
            text += static_cast<char>(0xC0 | (code >> 6));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            text += static_cast<char>(0xE0 | (code >> 12));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (code >> 18));
            text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
    };
    for (size_t i = 0; i < units; ++i) {
        uint32_t unit = ReadU16(data + 2 * i);
        if (unit == 0)
            break;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
            uint32_t low = ReadU16(data + 2 * (i + 1));
            if (low >= 0xDC00 && low < 0xE000) {
                append(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        append(unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return text;
}

ByteSpan TVersionValue::Binary() const
{
    size_t bytes = static_cast<size_t>(Length) * (Type != 0 ? 2 : 1);
    return Data.first(std::min(bytes, Data.size()));
}

std::string TVersionValue::Text() const
{
    return Utf16ToUtf8(Data.data(), std::min<size_t>(Length, Data.size() / 2));
}

std::optional<TVersionValue> VerQueryValue(ByteSpan info, std::string_view subBlock)
{
    std::optional<TBlock> current = ParseBlock(info, 0, info.size());
    size_t pos = 0;
    while (current && pos < subBlock.size()) {
        if (subBlock[pos] == '\\') {
            ++pos;
            continue;
        }
        size_t end = std::min(subBlock.find('\\', pos), subBlock.size());
        std::string_view name = subBlock.substr(pos, end - pos);
        std::optional<TBlock> found;
        ForEachChild(info, *current, [&](const TBlock& child) {
            if (KeyEquals(info, child, name, true))
                found = child;
            return found.has_value();
        });
        current = found;
        pos = end;
    }
    if (!current)
        return std::nullopt;
    TVersionValue value;
    value.Data = info.subspan(current->ValueBegin, current->End - current->ValueBegin);
    value.Length = current->ValueLength;
    value.Type = current->Type;
    return value;
}

size_t CheckVersionInfo(ByteSpan bytes)
{
    std::optional<TBlock> root = ParseBlock(bytes, 0, bytes.size());
    if (!root || !KeyEquals(bytes, *root, "VS_VERSION_INFO", false)
        || !ChildrenAreSound(bytes, *root, 0))
        return 0;
    return root->End;
}

} // namespace velmora
