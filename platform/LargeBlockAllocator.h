#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

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

    // A vector that grows by resize() leaves plain values unwritten, as new
    // does: they are written right after, and clearing them first would touch
    // every page once more.
    template <typename U> void construct(U *p) noexcept(std::is_nothrow_default_constructible_v<U>)
    {
        ::new (static_cast<void *>(p)) U;
    }
    template <typename U, typename... Args> void construct(U *p, Args &&...args)
    {
        ::new (static_cast<void *>(p)) U(std::forward<Args>(args)...);
    }

    template <typename U> bool operator==(const LargeBlockAllocator<U> &) const noexcept
    {
        return true;
    }
};

} // namespace lorvane
