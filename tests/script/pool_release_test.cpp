// Giving free blocks back with many free slots: whatever order the slots were
// freed in, the rebuilt free list hands them out block by block, each block's
// slots in address order, and never a slot in use or one twice.
#include "pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using Kel::pool::FixedPool;

constexpr size_t SLOTS_PER_BLOCK = 8;
constexpr size_t BLOCKS = 500;

TEST(FixedPoolRelease, ManyShuffledFreesComeBackInAddressOrder) {
    FixedPool pool(24, SLOTS_PER_BLOCK);
    std::vector<void*> slots;
    for (size_t i = 0; i < SLOTS_PER_BLOCK * BLOCKS; ++i) {
        slots.push_back(pool.allocate());
        *static_cast<void**>(slots.back()) = slots.back();
    }
    // Keep one slot in every other block, so those blocks stay.
    std::vector<void*> kept, freed;
    for (size_t i = 0; i < slots.size(); ++i)
        (i % (2 * SLOTS_PER_BLOCK) == 3 ? kept : freed).push_back(slots[i]);
    std::shuffle(freed.begin(), freed.end(), std::mt19937(7));
    for (void* slot : freed)
        pool.free(slot);

    // The blocks without a kept slot go (the first block keeps one).
    EXPECT_EQ(pool.releaseFreeBlocks(), BLOCKS / 2);
    EXPECT_EQ(pool.inUse(), kept.size());

    // What is left free: the first block and the kept blocks' other slots.
    size_t remaining = pool.blockCount() * SLOTS_PER_BLOCK - kept.size();
    std::vector<void*> handed;
    for (size_t i = 0; i < remaining; ++i)
        handed.push_back(pool.allocate());
    EXPECT_EQ(pool.blockCount(), BLOCKS / 2);
    // Blocks follow their chain, not their addresses: an address may drop
    // only where a new block starts.
    size_t drops = 0;
    for (size_t i = 1; i < handed.size(); ++i)
        drops += handed[i] < handed[i - 1] ? 1 : 0;
    EXPECT_LT(drops, pool.blockCount());
    std::vector<void*> unique = handed;
    std::sort(unique.begin(), unique.end());
    EXPECT_EQ(std::adjacent_find(unique.begin(), unique.end()), unique.end());
    EXPECT_TRUE(std::none_of(handed.begin(), handed.end(), [&](void* slot) {
        return std::find(kept.begin(), kept.end(), slot) != kept.end();
    }));
}

} // namespace
