// Fixed-size pools: holders, values, scopes, code blocks and environments are
// small objects made and dropped constantly, so each size has a pool of slots
// carved from chained blocks and recycled through a free list. The holder pool
// is also the collector's list of every live holder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

namespace Kel {
class Holder;
}

namespace Kel::pool {

// The holder pool's block size (the collector walks holders block by block).
constexpr size_t HOLDERS_PER_BLOCK = 256;
// Other pools size their blocks to about this many bytes.
constexpr size_t BLOCK_BYTES = 8192;
// Objects larger than this come from the general heap instead.
constexpr size_t MAX_POOLED_SIZE = 256;
// Slot sizes are multiples of this; a free slot needs two words.
constexpr size_t SLOT_GRANULE = 8;
constexpr size_t MIN_SLOT_SIZE = 16;

// One pool of equal slots. A free slot holds zero in its first word and the
// next free slot in its second; a live object never starts with a zero word
// in the pools that are walked (holders always hold a value).
class FixedPool {
public:
    FixedPool(size_t slotSize, size_t slotsPerBlock);
    FixedPool(const FixedPool&) = delete;
    FixedPool& operator=(const FixedPool&) = delete;
    ~FixedPool();

    // Inline: every value, holder and scope comes and goes through these.
    void* allocate() {
        if (!m_free) addBlock();
        FreeSlot* slot = m_free;
        m_free = slot->next;
        ++m_inUse;
        return slot;
    }
    void free(void* memory) {
        FreeSlot* slot = static_cast<FreeSlot*>(memory);
        slot->zero = nullptr;
        slot->next = m_free;
        m_free = slot;
        --m_inUse;
    }

    // Calls visit(slot) for every slot in use, block by block in chain order
    // and slot by slot inside a block. Slots freed or handed out while walking
    // are seen or not depending on where they lie; blocks added are seen.
    template <class Visit> void forEachInUse(Visit&& visit) const;

    // Gives every block but the first whose slots are all free back to the
    // system and rebuilds the free list in address order. Answers the number
    // of blocks released.
    size_t releaseFreeBlocks();

    size_t slotSize() const { return m_slotSize; }
    size_t slotsPerBlock() const { return m_slotsPerBlock; }
    size_t blockCount() const { return m_blockCount; }
    size_t inUse() const { return m_inUse; }

private:
    struct Block {
        Block* next;
        char* slots() { return reinterpret_cast<char*>(this + 1); }
    };
    struct FreeSlot {
        void* zero; // distinguishes a free slot from a live object
        FreeSlot* next;
    };

    void addBlock();
    bool isFree(const char* slot) const { return *reinterpret_cast<void* const*>(slot) == nullptr; }

    size_t m_slotSize;
    size_t m_slotsPerBlock;
    Block* m_first = nullptr;
    Block* m_last = nullptr;
    FreeSlot* m_free = nullptr;
    size_t m_blockCount = 0;
    size_t m_inUse = 0;
};

template <class Visit> void FixedPool::forEachInUse(Visit&& visit) const {
    for (Block* block = m_first; block; block = block->next) {
        char* slot = block->slots();
        for (size_t i = 0; i < m_slotsPerBlock; ++i, slot += m_slotSize) {
            if (!isFree(slot)) visit(slot);
        }
    }
}

namespace detail {
constexpr size_t SIZE_CLASSES = MAX_POOLED_SIZE / SLOT_GRANULE + 1;
constexpr size_t sizeClass(size_t size) {
    return (size + SLOT_GRANULE - 1) / SLOT_GRANULE;
}
// Made on first use and never destroyed: values may be released by other
// statics' destructors. Plain pointers, so they are set before any code runs.
inline FixedPool* g_holderPool = nullptr;
inline FixedPool* g_sizePools[SIZE_CLASSES] = {};
FixedPool& makeHolderPool();
FixedPool* makeSizePool(size_t sizeClass);
} // namespace detail

// The pool every Holder lives in.
inline FixedPool& holders() {
    return detail::g_holderPool ? *detail::g_holderPool : detail::makeHolderPool();
}

// Calls visit(Holder*) for every live holder in pool order.
template <class Visit> void forEachHolder(Visit&& visit) {
    holders().forEachInUse([&](void* slot) { visit(static_cast<Holder*>(slot)); });
}

// The pool serving `size`, or none when such objects come from the heap.
inline FixedPool* forSize(size_t size) {
    if (size > MAX_POOLED_SIZE) return nullptr;
    size_t sizeClass = detail::sizeClass(size);
    FixedPool* pool = detail::g_sizePools[sizeClass];
    return pool ? pool : detail::makeSizePool(sizeClass);
}

// Size-class pools for everything else: `size` is the object's exact size.
inline void* allocate(size_t size) {
    if (FixedPool* pool = forSize(size)) return pool->allocate();
    return ::operator new(size);
}
inline void release(void* slot, size_t size) {
    if (!slot) return;
    if (FixedPool* pool = forSize(size))
        pool->free(slot);
    else
        ::operator delete(slot);
}

// Releases entirely free blocks of every pool (the collector's last step).
size_t releaseFreeBlocks();

// Buffers of standard containers from the size-class pools, for the small
// arrays that come and go with nearly every call (tuple elements). A pool
// tells a free slot by a zero first word, and a buffer's first word may be
// anything, so each buffer starts with a word of its own that never is.
template <class T> class Allocator {
public:
    using value_type = T;
    static_assert(alignof(T) <= SLOT_GRANULE, "pool slots are word aligned");

    Allocator() = default;
    template <class U> Allocator(const Allocator<U>&) {}

    T* allocate(size_t count) {
        auto* slot = static_cast<uintptr_t*>(pool::allocate(bytes(count)));
        *slot = IN_USE;
        return reinterpret_cast<T*>(slot + 1);
    }
    void deallocate(T* buffer, size_t count) {
        pool::release(reinterpret_cast<uintptr_t*>(buffer) - 1, bytes(count));
    }
    friend bool operator==(const Allocator&, const Allocator&) { return true; }

private:
    static constexpr uintptr_t IN_USE = 1;
    static size_t bytes(size_t count) { return sizeof(uintptr_t) + count * sizeof(T); }
};

} // namespace Kel::pool
