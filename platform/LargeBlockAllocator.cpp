#include "LargeBlockAllocator.h"

#include <cstdlib>

#include <sys/mman.h>

namespace lorvane {

namespace {

constexpr std::size_t LargeBlock = std::size_t(1) << 20;

} // namespace

void *allocateLargeBlock(std::size_t bytes)
{
    if (bytes < LargeBlock) {
        if (void *block = std::malloc(bytes == 0 ? 1 : bytes))
            return block;
        throw std::bad_alloc();
    }
    void *block =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        throw std::bad_alloc();
    // Only advice: where the kernel has no huge pages to give, small ones serve.
    (void)::madvise(block, bytes, MADV_HUGEPAGE);
    return block;
}

void freeLargeBlock(void *block, std::size_t bytes) noexcept
{
    if (!block)
        return;
    if (bytes < LargeBlock) {
        std::free(block);
        return;
    }
    (void)::munmap(block, bytes);
}

} // namespace lorvane
