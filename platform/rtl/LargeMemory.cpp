#include "platform/rtl/LargeMemory.h"

#include <sys/mman.h>

#include <cstdlib>

namespace vesk {

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;

std::size_t RoundedUp(std::size_t size) {
    return (size + HugePage - 1) / HugePage * HugePage;
}

} // namespace

void* AllocateLarge(std::size_t size) {
    if (size < LargeBlockThreshold)
        return ::operator new(size);
    if (size > static_cast<std::size_t>(-1) - HugePage)
        throw std::bad_alloc();
    const std::size_t rounded = RoundedUp(size);
    void* block = std::aligned_alloc(HugePage, rounded);
    if (!block)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    // Only advice: where huge pages are off or used up, the ordinary pages serve.
    madvise(block, rounded, MADV_HUGEPAGE);
#endif
    return block;
}

void FreeLarge(void* block, std::size_t size) noexcept {
    if (size < LargeBlockThreshold)
        ::operator delete(block);
    else
        std::free(block);
}

} // namespace vesk
