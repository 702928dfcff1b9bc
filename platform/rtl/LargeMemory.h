// Memory for large arrays that are read in no particular order (a million tree records,
// say). Such reads cost an address translation as well as a cache line each; backed by
// huge pages where the system offers them, one translation covers 2 MiB instead of 4 KiB.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace vesk {

// Allocations smaller than this come from the ordinary heap.
inline constexpr std::size_t LargeBlockThreshold = std::size_t{2} << 20;

// Size bytes aligned to, and asking for, huge pages when Size is at least the
// threshold; ordinary heap memory otherwise. Raises std::bad_alloc when out of memory.
void* AllocateLarge(std::size_t size);
void FreeLarge(void* block, std::size_t size) noexcept;

// An allocator for standard containers that puts their large buffers in huge pages.
template <typename T>
struct TLargeAllocator {
    using value_type = T;
    TLargeAllocator() = default;
    template <typename U>
    TLargeAllocator(const TLargeAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        if (count > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(AllocateLarge(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t count) noexcept { FreeLarge(block, count * sizeof(T)); }
    template <typename U>
    bool operator==(const TLargeAllocator<U>&) const noexcept {
        return true;
    }
};

template <typename T>
using TLargeVector = std::vector<T, TLargeAllocator<T>>;

} // namespace vesk
