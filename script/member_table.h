// MemberTable: the name-to-value table of objects (and, with int values, the
// label table of code blocks). Open addressing with a home area and an
// overflow area of the same size; iteration follows slot order, which is the
// order scripts see for keys, printing, comparison, cloning and serialising.
#pragma once

#include "holder.h"
#include "shared_string.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Kel {

class MemberTable {
public:
    struct Entry {
        SharedString name;
        Ref value;      // members
        int32_t number; // labels
        // 0 for a free slot, else the name's hash with TAG_USED set: a lookup
        // passes over slots of other names without reading their bytes.
        uint32_t tag;
        bool used() const { return tag != 0; }
    };
    static constexpr uint32_t TAG_USED = 0x80000000u;

    MemberTable() = default;
    MemberTable(const MemberTable&) = delete;
    MemberTable& operator=(const MemberTable&) = delete;
    MemberTable(MemberTable&& other) noexcept;
    MemberTable& operator=(MemberTable&& other) noexcept;
    ~MemberTable();

    // 0 for an empty name, else ((last byte) + (first byte) * 256) ^ (length << 4).
    static uint32_t hash(std::string_view name);

    uint32_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    // Home slots; the overflow area is as large again. 0 before the first insert.
    uint32_t capacity() const { return m_capacity; }

    Entry* find(std::string_view name) const;
    // Adds an entry for `name`, which must be absent; grows first when full.
    // The SharedString form shares the name's bytes.
    Entry& insert(const SharedString& name);
    Entry& insert(std::string_view name) { return insert(SharedString(name)); }
    Entry& insert(const char* name) { return insert(std::string_view(name)); }
    // The entry for `name`, inserted (empty value, number 0) when absent.
    Entry& findOrInsert(std::string_view name, bool& inserted);
    Entry& findOrInsert(const SharedString& name, bool& inserted);
    // Deletes the entry; answers whether there was one.
    bool remove(std::string_view name);
    void clear();
    // Makes this empty table a copy of `layout`'s slots: the same names in the
    // same places, every value empty. A table built by the same inserts in the
    // same order looks exactly so; copying skips the growing and probing.
    void copyLayout(const MemberTable& layout);

    // Slot-order access: slots 0 .. slotCount()-1, home slots first.
    uint32_t slotCount() const { return 2 * m_capacity; }
    Entry* slot(uint32_t index) const { return m_slots[index].used() ? &m_slots[index] : nullptr; }
    uint32_t slotIndex(const Entry& entry) const { return static_cast<uint32_t>(&entry - m_slots); }
    // Calls visit(Entry&) for every entry in slot order.
    template <class Visit> void forEach(Visit&& visit) const {
        for (uint32_t i = 0; i < slotCount(); ++i) {
            if (m_slots[i].used()) visit(m_slots[i]);
        }
    }

    // Moves on whenever a name comes to stand for another holder in any table
    // (insert, rebinding, removal, clearing, moving a table): a remembered
    // lookup result is still right while this has not moved.
    static uint64_t bindingEpoch() { return s_bindingEpoch; }
    static void bindingsChanged() { ++s_bindingEpoch; }
    // A scope's own variables do not move the epoch: the scope renumbers
    // itself when they change, and only lookups from that scope can reach them.
    void setQuiet() { m_quiet = true; }
    bool isQuiet() const { return m_quiet; }

    // Where a name was last found in a table. Names are unique in a table, so
    // an entry in the remembered slot whose name shares the remembered buffer
    // is the one a search would find; the buffer is kept shared, so no other
    // name can come to have its address. Tables copied from one another share
    // their names' buffers and mostly their layout too.
    class SlotMemo {
    public:
        Entry* recall(const MemberTable& table) const {
            if (m_slot >= table.slotCount()) return nullptr;
            Entry* entry = table.slot(m_slot);
            return entry && entry->name.sharesBuffer(m_name) ? entry : nullptr;
        }
        void remember(const MemberTable& table, const Entry& entry) {
            m_name = entry.name;
            m_slot = table.slotIndex(entry);
        }

    private:
        SharedString m_name;
        uint32_t m_slot = 0;
    };

    // Label use: the number kept under `name`.
    void setNumber(std::string_view name, int32_t number);
    bool findNumber(std::string_view name, int32_t& number) const;

private:
    uint32_t homeOf(std::string_view name) const { return hash(name) & (m_capacity - 1); }
    // The home slot of a used entry, from its tag (capacities stay below TAG_USED).
    uint32_t homeOf(const Entry& entry) const { return entry.tag & (m_capacity - 1); }
    void grow();
    // Places an entry for `name` in its home slot or the first free overflow slot.
    Entry& place(SharedString name);

    // Big tables (the global object, a script with many functions) keep an
    // index from name to slot besides the slots: names often share their first
    // and last bytes and their length, and the slot hash then sends most of
    // them through the whole overflow area. For the same reason an insert
    // would walk a long run of taken overflow slots, so the index also keeps,
    // for each overflow slot, a later one to skip to (taken slots only ever
    // lead to the first free one after them). The slots and their order stay
    // exactly as without the index.
    struct Index {
        std::unordered_map<std::string_view, uint32_t> slots;
        // Overflow slot k (counted from the area's start) skips to nextFree[k];
        // a free slot leads to itself. Empty until needed after growth or a removal.
        std::vector<uint32_t> nextFree;
    };
    static constexpr uint32_t INDEXED_CAPACITY = 64;
    // The first free overflow slot at or after `start` (an absolute slot),
    // wrapping round the overflow area.
    uint32_t firstFreeOverflow(uint32_t start);

    Entry* m_slots = nullptr;
    Index* m_index = nullptr;
    uint32_t m_count = 0;
    uint32_t m_capacity = 0;
    bool m_quiet = false;
    static inline uint64_t s_bindingEpoch = 0;
};

} // namespace Kel
