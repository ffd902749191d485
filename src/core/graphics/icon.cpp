#include "graphics/icon.h"

#include "graphics/decoded_icon_cache.h"

#include <atomic>
#include <utility>

namespace velmora
{

namespace
{

uint64_t NewCacheKey()
{
    static std::atomic<uint64_t> next { 1 };
    return next.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

TIcon::TIcon()
    : m_cacheKey(NewCacheKey())
{
    // Made before the first icon, the cache outlives every icon, static ones included.
    TDecodedIconCache::Instance();
}

TIcon::TIcon(const TIcon& other)
    : m_data(other.m_data)
    , m_cacheKey(NewCacheKey())
{
    TDecodedIconCache::Instance();
}

TIcon& TIcon::operator=(const TIcon& other)
{
    if (this != &other) {
        m_data = other.m_data;
        Renew();
    }
    return *this;
}

TIcon::TIcon(TIcon&& other) noexcept
    : m_data(std::move(other.m_data))
    , m_cacheKey(other.m_cacheKey)
{
    other.m_data.clear();
    other.m_cacheKey = NewCacheKey();
}

TIcon& TIcon::operator=(TIcon&& other) noexcept
{
    if (this != &other) {
        TDecodedIconCache::Instance().Forget(m_cacheKey);
        m_data = std::move(other.m_data);
        m_cacheKey = other.m_cacheKey;
        other.m_data.clear();
        other.m_cacheKey = NewCacheKey();
    }
    return *this;
}

TIcon::~TIcon()
{
    TDecodedIconCache::Instance().Forget(m_cacheKey);
}

void TIcon::LoadFromStream(ByteSpan stream)
{
    m_data.assign(stream.begin(), stream.end());
    Renew();
}

void TIcon::LoadFromStream(Bytes&& stream)
{
    m_data = std::move(stream);
    Renew();
}

void TIcon::Renew()
{
    TDecodedIconCache::Instance().Forget(m_cacheKey);
    m_cacheKey = NewCacheKey();
}

} // namespace velmora
