#include "graphics/decoded_icon_cache.h"

#include <cstring>
#include <iterator>
#include <limits>
#include <utility>

namespace velmora
{

TDecodedIconCache& TDecodedIconCache::Instance()
{
    static TDecodedIconCache cache;
    return cache;
}

size_t TDecodedIconCache::Cost(const TIconImage& picture)
{
    return picture.Pixels.Stride() * static_cast<size_t>(picture.Pixels.Height())
        + picture.Mask.size() + EntryOverhead;
}

std::shared_ptr<const TIconImage> TDecodedIconCache::Find(uint64_t key, int width, int height)
{
    const std::lock_guard lock(m_mutex);
    const auto found = m_index.find({ key, width, height });
    if (found == m_index.end())
        return nullptr;
    m_order.splice(m_order.begin(), m_order, found->second);
    return found->second->Picture;
}

void TDecodedIconCache::Insert(
    uint64_t key, int width, int height, std::shared_ptr<const TIconImage> picture)
{
    if (!picture)
        return;
    const std::lock_guard lock(m_mutex);
    const TKey entryKey { key, width, height };
    if (const auto found = m_index.find(entryKey); found != m_index.end()) {
        m_held -= found->second->Cost;
        m_order.erase(found->second);
        m_index.erase(found);
    }
    const size_t cost = Cost(*picture);
    m_order.push_front(TEntry { entryKey, std::move(picture), cost });
    m_index.emplace(entryKey, m_order.begin());
    m_held += cost;
    const TOrder::iterator kept = m_order.begin();
    Trim(&kept);
}

void TDecodedIconCache::Forget(uint64_t key)
{
    const std::lock_guard lock(m_mutex);
    auto entry = m_index.lower_bound(
        { key, std::numeric_limits<int>::min(), std::numeric_limits<int>::min() });
    while (entry != m_index.end() && std::get<0>(entry->first) == key) {
        m_held -= entry->second->Cost;
        m_order.erase(entry->second);
        entry = m_index.erase(entry);
    }
}

void TDecodedIconCache::Clear()
{
    const std::lock_guard lock(m_mutex);
    m_index.clear();
    m_order.clear();
    m_held = 0;
}

size_t TDecodedIconCache::Budget() const
{
    const std::lock_guard lock(m_mutex);
    return m_budget;
}

void TDecodedIconCache::SetBudget(size_t bytes)
{
    const std::lock_guard lock(m_mutex);
    m_budget = bytes;
    Trim(nullptr);
}

size_t TDecodedIconCache::HeldBytes() const
{
    const std::lock_guard lock(m_mutex);
    return m_held;
}

size_t TDecodedIconCache::Count() const
{
    const std::lock_guard lock(m_mutex);
    return m_index.size();
}

void TDecodedIconCache::Trim(const TOrder::iterator* keep)
{
    // The least recently used go first; the picture just kept stays even when it alone passes
    // the budget.
    while (m_held > m_budget && !m_order.empty()) {
        const auto oldest = std::prev(m_order.end());
        if (keep && oldest == *keep)
            break;
        m_held -= oldest->Cost;
        m_index.erase(oldest->Key);
        m_order.erase(oldest);
    }
}

TIconImage ReducedIconImage(const TIconImage& picture, int width, int height)
{
    TIconImage reduced;
    reduced.HasAlpha = picture.HasAlpha;
    reduced.BitCount = picture.BitCount;
    reduced.IsPng = picture.IsPng;
    reduced.Pixels = TBitmap(width, height, picture.Pixels.PixelFormat());
    const int64_t ownWidth = picture.Width();
    const int64_t ownHeight = picture.Height();
    const bool withMask
        = picture.Mask.size() >= static_cast<size_t>(ownWidth) * static_cast<size_t>(ownHeight);
    if (withMask)
        reduced.Mask.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>(y * ownHeight / height);
        const uint8_t* source = picture.Pixels.ScanLine(sy);
        uint8_t* out = reduced.Pixels.ScanLine(y);
        const uint8_t* maskRow = withMask
            ? picture.Mask.data() + static_cast<size_t>(sy) * static_cast<size_t>(ownWidth)
            : nullptr;
        for (int x = 0; x < width; ++x) {
            const int64_t sx = x * ownWidth / width;
            std::memcpy(out + 4 * static_cast<size_t>(x), source + 4 * sx, 4);
            if (maskRow)
                reduced.Mask[static_cast<size_t>(y) * static_cast<size_t>(width)
                    + static_cast<size_t>(x)]
                    = maskRow[sx];
        }
    }
    return reduced;
}

std::shared_ptr<const TIconImage> DecodedIconForSize(const TIcon& icon, int width, int height)
{
    TDecodedIconCache& cache = TDecodedIconCache::Instance();
    const uint64_t key = icon.CacheKey();
    if (width > 0 && height > 0)
        if (auto reduced = cache.Find(key, width, height))
            return reduced;
    if (auto whole = cache.Find(key, 0, 0))
        return whole;
    auto whole = std::make_shared<const TIconImage>(DecodeIcon(icon));
    // Far larger: more than four times the drawn pixels. A 32-bit picture without a complete
    // mask is not reduced, so that drawing it still reports the missing mask.
    const int64_t ownPixels = int64_t { whole->Width() } * whole->Height();
    const bool maskWhole = whole->HasAlpha || whole->Mask.size() >= static_cast<size_t>(ownPixels);
    const bool sameFormat = whole->Pixels.PixelFormat() == TPixelFormat::pf32bit;
    if (width > 0 && height > 0 && maskWhole && sameFormat
        && ownPixels > 4 * int64_t { width } * height) {
        auto reduced = std::make_shared<const TIconImage>(ReducedIconImage(*whole, width, height));
        whole.reset();
        cache.Insert(key, width, height, reduced);
        return reduced;
    }
    cache.Insert(key, 0, 0, whole);
    return whole;
}

} // namespace velmora
