#include "graphics/bitmap_ops.h"
#include "graphics/decoded_icon_cache.h"
#include "graphics/icon_draw.h"
#include "icon_test_files.h"
#include "icons/icon_paint.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

// Restores the program's budget and empties the cache around each test.
struct TCacheBudget {
    explicit TCacheBudget(size_t bytes)
    {
        TDecodedIconCache::Instance().Clear();
        TDecodedIconCache::Instance().SetBudget(bytes);
    }
    ~TCacheBudget()
    {
        TDecodedIconCache::Instance().SetBudget(TDecodedIconCache::DefaultBudget);
        TDecodedIconCache::Instance().Clear();
    }
};

TIcon IconOf(const TTestImage& image)
{
    TIcon icon;
    icon.LoadFromStream(MakeIconFile({ image }));
    return icon;
}

// Painted pictures stay within the budget, least recently used out first, and go with their
// icons.
TEST(DecodedIconCacheTest, KeepsPicturesWithinTheBudget)
{
    TDecodedIconCache& cache = TDecodedIconCache::Instance();
    std::vector<TIcon> icons;
    for (uint8_t seed = 1; seed <= 4; ++seed)
        icons.push_back(IconOf(BmpImage(64, 64, 24, seed)));
    const size_t picture = TDecodedIconCache::Cost(*DecodedIcon(icons[0]));
    const TCacheBudget budget(2 * picture);
    TBitmap canvas(64, 64, TPixelFormat::pf32bit);
    for (const int i : { 0, 1, 0, 2 })
        PaintIcon(&canvas, 0, 0, ColorNone, 64, 64, 24, icons[static_cast<size_t>(i)]);
    EXPECT_EQ(cache.Count(), 2u);
    EXPECT_LE(cache.HeldBytes(), 2 * picture);
    // 1 was the least recently used.
    EXPECT_NE(cache.Find(icons[0].CacheKey(), 0, 0), nullptr);
    EXPECT_EQ(cache.Find(icons[1].CacheKey(), 0, 0), nullptr);
    EXPECT_NE(cache.Find(icons[2].CacheKey(), 0, 0), nullptr);
    // One picture larger than the budget is kept alone.
    cache.SetBudget(picture / 2);
    EXPECT_EQ(cache.Count(), 0u);
    DecodedIcon(icons[3]);
    EXPECT_EQ(cache.Count(), 1u);
    icons.clear();
    EXPECT_EQ(cache.HeldBytes(), 0u);
}

// An image far larger than its drawn size is kept reduced, and draws the same pixels as the
// whole picture.
TEST(DecodedIconCacheTest, ReducedCopyDrawsTheSamePixels)
{
    const TCacheBudget budget(TDecodedIconCache::DefaultBudget);
    for (const int bitCount : { 4, 32 }) {
        const TIcon icon = IconOf(BmpImage(200, 120, bitCount, 7));
        TBitmap whole(37, 23, TPixelFormat::pf32bit);
        FillBitmap(whole, 0x123456);
        TBitmap reduced = whole;
        DrawIcon(whole, 0, 0, 37, 23, DecodeIcon(icon));
        PaintIcon(&reduced, 0, 0, ColorNone, 23, 37, 4, icon);
        EXPECT_EQ(whole.Pixels(), reduced.Pixels()) << bitCount;
        const auto kept = TDecodedIconCache::Instance().Find(icon.CacheKey(), 37, 23);
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->Width(), 37);
        EXPECT_EQ(TDecodedIconCache::Instance().Find(icon.CacheKey(), 0, 0), nullptr);
    }
}

} // namespace
} // namespace velmora
