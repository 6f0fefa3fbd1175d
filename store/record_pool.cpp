#include "store/record_pool.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace nd {

namespace {

constexpr size_t kSlab = 2u << 20;

std::mutex g_pool_lock;  // the loader thread and the main thread both allocate
void* g_free = nullptr;  // free blocks, linked through their first bytes

// A 2 MiB-aligned slab, offered to the kernel for huge pages.
char* new_slab() {
    void* p = mmap(nullptr, 2 * kSlab, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    uintptr_t start = reinterpret_cast<uintptr_t>(p);
    uintptr_t aligned = (start + kSlab - 1) & ~(uintptr_t{kSlab} - 1);
    if (aligned > start) munmap(p, aligned - start);
    uintptr_t end = start + 2 * kSlab;
    if (end > aligned + kSlab)
        munmap(reinterpret_cast<void*>(aligned + kSlab), end - aligned - kSlab);
    madvise(reinterpret_cast<void*>(aligned), kSlab, MADV_HUGEPAGE);
    return reinterpret_cast<char*>(aligned);
}

}  // namespace

void* pool_alloc() {
    std::lock_guard<std::mutex> hold(g_pool_lock);
    if (!g_free) {
        char* slab = new_slab();
        if (!slab) {
            std::fprintf(stderr, "nodrel: out of memory for Case records\n");
            std::abort();
        }
        for (size_t off = kSlab; off > 0; off -= kPoolBlock) {
            void* block = slab + off - kPoolBlock;
            *static_cast<void**>(block) = g_free;
            g_free = block;
        }
    }
    void* block = g_free;
    g_free = *static_cast<void**>(block);
    return block;
}

void pool_free(void* block) {
    if (!block) return;
    std::lock_guard<std::mutex> hold(g_pool_lock);
    *static_cast<void**>(block) = g_free;
    g_free = block;
}

}  // namespace nd
