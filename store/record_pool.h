// Memory for Case records and contents: 64 KiB blocks carved from 2 MiB
// slabs that the kernel may back with huge pages. Loading a workspace
// touches hundreds of megabytes of fresh memory; with 4 KiB pages most of
// the load's time went into page faults.
#pragma once

#include <cstddef>

namespace nd {

inline constexpr size_t kPoolBlock = 65536;

// A 64 KiB block, not cleared. Never null: the program ends with a message
// when memory is exhausted.
void* pool_alloc();

// Returns a block to the pool (null is ignored). Blocks are reused; slabs
// stay with the process.
void pool_free(void* block);

// Deleter for records held in pool blocks.
struct PoolDelete {
    void operator()(void* block) const { pool_free(block); }
};

}  // namespace nd
