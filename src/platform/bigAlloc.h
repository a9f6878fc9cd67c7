#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Memory for the few very large arrays of a million-row list (XML node tables and texts, the
// list's row table). Blocks of several MiB are mapped on their own and marked for huge pages, so
// that filling them costs a few hundred page faults instead of tens of thousands; smaller blocks
// come from the ordinary heap.
void* BigAlloc(std::size_t bytes);
void BigFree(void* block, std::size_t bytes) noexcept;
// Bytes of the separately mapped blocks now in use (for measuring; the heap's own count misses them).
std::size_t BigMappedBytes() noexcept;

template <class T> struct TBigAllocator {
    using value_type = T;
    TBigAllocator() = default;
    template <class U> TBigAllocator(const TBigAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(BigAlloc(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { BigFree(p, n * sizeof(T)); }
    template <class U> bool operator==(const TBigAllocator<U>&) const noexcept { return true; }
};

template <class T> using TBigVector = std::vector<T, TBigAllocator<T>>;
using TBigString = std::basic_string<char, std::char_traits<char>, TBigAllocator<char>>;
