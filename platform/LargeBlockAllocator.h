#pragma once

#include <cstddef>
#include <new>

namespace lorvane {

// Memory for the few large arrays a folder of many files needs (the listing's
// buffers and entries): a block of a megabyte or more is mapped on its own and
// offered to the kernel for huge pages. Every first touch of a small page
// costs a fault, and on a virtual machine a dear one: listing 100,000 files
// spent more time in those faults than in reading and sorting the names. A
// huge page takes one fault where small ones take 512. Smaller blocks come
// from the usual heap.
void *allocateLargeBlock(std::size_t bytes);
void freeLargeBlock(void *block, std::size_t bytes) noexcept;

template <typename T> struct LargeBlockAllocator
{
    using value_type = T;

    LargeBlockAllocator() = default;
    template <typename U> LargeBlockAllocator(const LargeBlockAllocator<U> &) noexcept {}

    T *allocate(std::size_t n) { return static_cast<T *>(allocateLargeBlock(n * sizeof(T))); }
    void deallocate(T *p, std::size_t n) noexcept { freeLargeBlock(p, n * sizeof(T)); }

    template <typename U> bool operator==(const LargeBlockAllocator<U> &) const noexcept
    {
        return true;
    }
};

} // namespace lorvane
