// Fixed-size pools. Blocks come from the heap and stay until the collector
// asks for entirely free ones to be given back; the pools themselves live for
// the whole process so that values released during shutdown still have one.
#include "pool.h"

#include "holder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

namespace Kel::pool {

FixedPool::FixedPool(size_t slotSize, size_t slotsPerBlock)
    : m_slotSize(
          std::max(MIN_SLOT_SIZE, (slotSize + SLOT_GRANULE - 1) / SLOT_GRANULE * SLOT_GRANULE)),
      m_slotsPerBlock(std::max<size_t>(slotsPerBlock, 1)) {}

FixedPool::~FixedPool() {
    while (m_first) {
        Block* next = m_first->next;
        std::free(m_first);
        m_first = next;
    }
}

void FixedPool::addBlock() {
    void* memory = std::malloc(sizeof(Block) + m_slotSize * m_slotsPerBlock);
    if (!memory) throw std::bad_alloc();
    Block* block = static_cast<Block*>(memory);
    block->next = nullptr;
    if (m_last)
        m_last->next = block;
    else
        m_first = block;
    m_last = block;
    ++m_blockCount;
    // Chained back to front so the first slot is handed out first.
    char* slots = block->slots();
    for (size_t i = m_slotsPerBlock; i-- > 0;) {
        FreeSlot* slot = reinterpret_cast<FreeSlot*>(slots + i * m_slotSize);
        slot->zero = nullptr;
        slot->next = m_free;
        m_free = slot;
    }
}

namespace {

// Address bits the radix sort below orders by, a pass at a time; slots are
// 8-byte aligned and user-space addresses fit in 48 bits on this platform.
constexpr int ADDRESS_SHIFT = 3;
constexpr int RADIX_BITS = 15;
constexpr int RADIX_PASSES = 3;
constexpr size_t MIN_RADIX_SORTED = size_t{1} << RADIX_BITS;

// Orders addresses in linear time: after a script has made and dropped
// millions of values the free lists are that long, and a comparison sort of
// them made every collection slow.
void sortAddresses(std::vector<char*>& addresses) {
    uintptr_t all = 0;
    for (char* address : addresses)
        all |= reinterpret_cast<uintptr_t>(address);
    // Short lists, and addresses beyond what the passes cover, are compared:
    // a pass costs a sweep over all its buckets.
    if (addresses.size() < MIN_RADIX_SORTED || all >> (ADDRESS_SHIFT + RADIX_PASSES * RADIX_BITS)) {
        std::sort(addresses.begin(), addresses.end());
        return;
    }
    std::vector<char*> scratch(addresses.size());
    std::vector<size_t> start(size_t{1} << RADIX_BITS);
    for (int pass = 0; pass < RADIX_PASSES; ++pass) {
        int shift = ADDRESS_SHIFT + pass * RADIX_BITS;
        const uintptr_t mask = (uintptr_t{1} << RADIX_BITS) - 1;
        auto digit = [shift, mask](char* address) {
            return (reinterpret_cast<uintptr_t>(address) >> shift) & mask;
        };
        std::fill(start.begin(), start.end(), 0);
        for (char* address : addresses)
            ++start[digit(address)];
        size_t position = 0;
        for (size_t& bucket : start)
            position += std::exchange(bucket, position);
        for (char* address : addresses)
            scratch[start[digit(address)]++] = address;
        addresses.swap(scratch);
    }
}

} // namespace

size_t FixedPool::releaseFreeBlocks() {
    // Live objects of some pools may begin with a zero word, so free slots are
    // known from the free list alone.
    std::vector<char*> freeSlots;
    for (FreeSlot* slot = m_free; slot; slot = slot->next)
        freeSlots.push_back(reinterpret_cast<char*>(slot));
    sortAddresses(freeSlots);

    const size_t blockBytes = m_slotSize * m_slotsPerBlock;
    size_t released = 0;
    m_free = nullptr;
    FreeSlot** tail = &m_free;
    Block* previous = nullptr;
    for (Block* block = m_first; block;) {
        Block* next = block->next;
        char* begin = block->slots();
        auto first = std::lower_bound(freeSlots.begin(), freeSlots.end(), begin);
        auto last = std::lower_bound(first, freeSlots.end(), begin + blockBytes);
        if (block != m_first && static_cast<size_t>(last - first) == m_slotsPerBlock) {
            previous->next = next;
            if (m_last == block) m_last = previous;
            std::free(block);
            --m_blockCount;
            ++released;
        } else {
            for (auto it = first; it != last; ++it) {
                FreeSlot* slot = reinterpret_cast<FreeSlot*>(*it);
                *tail = slot;
                tail = &slot->next;
            }
            previous = block;
        }
        block = next;
    }
    *tail = nullptr;
    return released;
}

FixedPool& detail::makeHolderPool() {
    if (!g_holderPool) g_holderPool = new FixedPool(sizeof(Holder), HOLDERS_PER_BLOCK);
    return *g_holderPool;
}

FixedPool* detail::makeSizePool(size_t sizeClass) {
    FixedPool*& pool = g_sizePools[sizeClass];
    if (!pool) {
        size_t slotSize = std::max(MIN_SLOT_SIZE, sizeClass * SLOT_GRANULE);
        pool = new FixedPool(slotSize, BLOCK_BYTES / slotSize);
    }
    return pool;
}

size_t releaseFreeBlocks() {
    size_t released = holders().releaseFreeBlocks();
    for (FixedPool* pool : detail::g_sizePools) {
        if (pool) released += pool->releaseFreeBlocks();
    }
    return released;
}

} // namespace Kel::pool
