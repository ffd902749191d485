#pragma once

#include "graphics/icon_decoder.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

namespace velmora
{

/// The decoded pictures of icon objects, kept for the whole program within a budget of bytes:
/// the least recently used picture goes first when a new one would pass the budget, so the
/// cache never holds more than the budget and one picture beyond it (a single picture larger
/// than the budget is kept alone). Each picture is filed under its icon's cache key and the
/// size it is drawn at (0 x 0 for the picture at its own size).
class TDecodedIconCache
{
public:
    static constexpr size_t DefaultBudget = size_t { 256 } << 20;
    /// What a kept picture costs beyond its pixels and mask (its records and bookkeeping).
    static constexpr size_t EntryOverhead = 256;

    /// The program's cache.
    static TDecodedIconCache& Instance();

    /// A kept picture, now the most recently used, or none.
    std::shared_ptr<const TIconImage> Find(uint64_t key, int width, int height);
    /// Keeps a picture, then lets the least recently used others go while the budget is passed.
    void Insert(uint64_t key, int width, int height, std::shared_ptr<const TIconImage> picture);
    /// Lets every picture of an icon go.
    void Forget(uint64_t key);
    /// Lets every picture go.
    void Clear();

    size_t Budget() const;
    /// Sets the budget and lets pictures go until it holds.
    void SetBudget(size_t bytes);
    /// The bytes that the kept pictures cost.
    size_t HeldBytes() const;
    size_t Count() const;

    /// What a picture costs in the cache.
    static size_t Cost(const TIconImage& picture);

private:
    using TKey = std::tuple<uint64_t, int, int>;
    struct TEntry {
        TKey Key;
        std::shared_ptr<const TIconImage> Picture;
        size_t Cost = 0;
    };
    using TOrder = std::list<TEntry>;

    void Trim(const TOrder::iterator* keep);

    mutable std::mutex m_mutex;
    size_t m_budget = DefaultBudget;
    size_t m_held = 0;
    // Most recently used first.
    TOrder m_order;
    std::map<TKey, TOrder::iterator> m_index;
};

/// The picture of an icon to draw at width x height pixels, through the program's cache. An
/// image far larger than that is kept as a reduced copy made by the drawing's own
/// nearest-pixel rule, so drawing the copy at that size gives the same pixels as drawing the
/// whole picture. Decoding errors are raised on every call.
std::shared_ptr<const TIconImage> DecodedIconForSize(const TIcon& icon, int width, int height);

/// A picture reduced to width x height by the drawing's nearest-pixel rule: the copy's pixel
/// (x, y) is the picture's pixel (x * Width / width, y * Height / height), mask likewise.
TIconImage ReducedIconImage(const TIconImage& picture, int width, int height);

} // namespace velmora
