#include "platform/bigAlloc.h"

#include <atomic>
#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kMapThreshold = std::size_t(4) << 20;

std::atomic<std::size_t> mappedBytes{0};

std::size_t mappedSize(std::size_t bytes) {
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

} // namespace

void* BigAlloc(std::size_t bytes) {
    if (bytes < kMapThreshold)
        return ::operator new(bytes);
    const std::size_t size = mappedSize(bytes);
    // Map one huge page more than needed and trim, so that the block starts on a huge-page boundary.
    void* raw = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t(kHugePage - 1);
    if (aligned > start)
        munmap(raw, aligned - start);
    const std::uintptr_t end = start + size + kHugePage;
    if (end > aligned + size)
        munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
    madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    mappedBytes += size;
    return reinterpret_cast<void*>(aligned);
}

void BigFree(void* block, std::size_t bytes) noexcept {
    if (!block)
        return;
    if (bytes < kMapThreshold)
        ::operator delete(block);
    else {
        munmap(block, mappedSize(bytes));
        mappedBytes -= mappedSize(bytes);
    }
}

std::size_t BigMappedBytes() noexcept {
    return mappedBytes;
}
