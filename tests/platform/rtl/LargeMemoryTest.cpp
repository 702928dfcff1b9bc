#include "platform/rtl/LargeMemory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>

namespace vesk {
namespace {

// A large vector grows through several huge-page blocks and keeps its contents; a
// small one stays on the ordinary heap.
TEST(LargeMemory, VectorsKeepTheirContentsAcrossGrowth) {
    TLargeVector<std::int32_t> values;
    for (std::int32_t i = 0; i < 3'000'000; ++i)
        values.push_back(i);
    std::int64_t sum = std::accumulate(values.begin(), values.end(), std::int64_t{0});
    EXPECT_EQ(sum, std::int64_t{3'000'000} * 2'999'999 / 2);
    const auto address = reinterpret_cast<std::uintptr_t>(values.data());
    EXPECT_EQ(address % LargeBlockThreshold, 0u) << "large blocks start on a huge page";

    TLargeVector<std::int32_t> copy = values;
    values.clear();
    values.shrink_to_fit();
    EXPECT_EQ(copy.back(), 2'999'999);

    TLargeVector<char> small(100, 'x');
    EXPECT_EQ(small[99], 'x');
}

TEST(LargeMemory, AnImpossibleSizeIsRefused) {
    TLargeAllocator<std::int64_t> allocator;
    EXPECT_THROW((void)allocator.allocate(static_cast<std::size_t>(-1) / 4),
                 std::bad_array_new_length);
    EXPECT_THROW(AllocateLarge(static_cast<std::size_t>(-1) - 100), std::bad_alloc);
}

} // namespace
} // namespace vesk
