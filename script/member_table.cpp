// The member table's open addressing. An entry lives in the overflow area
// only while its home slot is taken, so a lookup that finds its home slot
// empty can stop there; removal moves an overflowed entry back home to keep
// that rule.
#include "member_table.h"

#include "pool.h"

#include <new>

#include <utility>

namespace Kel {
namespace {

// Every call's variables and most objects are small tables made and dropped
// constantly, so their slots come from the size pools, not the general heap.
MemberTable::Entry* allocateSlots(uint32_t count) {
    void* memory = pool::allocate(count * sizeof(MemberTable::Entry));
    auto* slots = static_cast<MemberTable::Entry*>(memory);
    for (uint32_t i = 0; i < count; ++i)
        new (&slots[i]) MemberTable::Entry();
    return slots;
}

void freeSlots(MemberTable::Entry* slots, uint32_t count) {
    if (!slots) return;
    for (uint32_t i = 0; i < count; ++i)
        slots[i].~Entry();
    pool::release(slots, count * sizeof(MemberTable::Entry));
}

} // namespace

MemberTable::MemberTable(MemberTable&& other) noexcept
    : m_slots(std::exchange(other.m_slots, nullptr)),
      m_index(std::exchange(other.m_index, nullptr)), m_count(std::exchange(other.m_count, 0)),
      m_capacity(std::exchange(other.m_capacity, 0)) {
    bindingsChanged();
}

MemberTable& MemberTable::operator=(MemberTable&& other) noexcept {
    MemberTable old(std::move(*this));
    bindingsChanged();
    m_slots = std::exchange(other.m_slots, nullptr);
    m_index = std::exchange(other.m_index, nullptr);
    m_count = std::exchange(other.m_count, 0);
    m_capacity = std::exchange(other.m_capacity, 0);
    return *this;
}

MemberTable::~MemberTable() {
    clear();
}

uint32_t MemberTable::hash(std::string_view name) {
    if (name.empty()) return 0;
    auto first = static_cast<unsigned char>(name.front());
    auto last = static_cast<unsigned char>(name.back());
    return (last + first * 256u) ^ (static_cast<uint32_t>(name.size()) << 4);
}

MemberTable::Entry* MemberTable::find(std::string_view name) const {
    if (m_capacity == 0) return nullptr;
    if (m_index) {
        auto found = m_index->slots.find(name);
        return found == m_index->slots.end() ? nullptr : &m_slots[found->second];
    }
    uint32_t code = hash(name);
    uint32_t home = code & (m_capacity - 1);
    uint32_t tag = code | TAG_USED;
    if (!m_slots[home].used()) return nullptr;
    if (m_slots[home].tag == tag && m_slots[home].name.view() == name) return &m_slots[home];
    // The overflow area from the home's twin to its end, then from its start.
    for (uint32_t i = m_capacity + home; i < 2 * m_capacity; ++i) {
        if (m_slots[i].tag == tag && m_slots[i].name.view() == name) return &m_slots[i];
    }
    for (uint32_t i = m_capacity; i < m_capacity + home; ++i) {
        if (m_slots[i].tag == tag && m_slots[i].name.view() == name) return &m_slots[i];
    }
    return nullptr;
}

MemberTable::Entry& MemberTable::place(SharedString name) {
    uint32_t code = hash(name.view());
    uint32_t home = code & (m_capacity - 1);
    uint32_t target = home;
    if (m_slots[home].used()) {
        // Fewer entries than home slots, so the overflow area has room.
        target = firstFreeOverflow(m_capacity + home);
    }
    Entry& entry = m_slots[target];
    entry.name = std::move(name);
    entry.tag = code | TAG_USED;
    if (m_index) {
        m_index->slots[entry.name.view()] = target;
        if (target >= m_capacity && !m_index->nextFree.empty())
            m_index->nextFree[target - m_capacity] = (target + 1 - m_capacity) % m_capacity;
    }
    if (!m_quiet) bindingsChanged();
    return entry;
}

uint32_t MemberTable::firstFreeOverflow(uint32_t start) {
    if (!m_index) {
        uint32_t target = start;
        while (m_slots[target].used())
            target = target + 1 == 2 * m_capacity ? m_capacity : target + 1;
        return target;
    }
    std::vector<uint32_t>& next = m_index->nextFree;
    if (next.empty()) {
        // Taken slots lead to their neighbour, free ones to themselves.
        next.resize(m_capacity);
        for (uint32_t k = 0; k < m_capacity; ++k)
            next[k] = m_slots[m_capacity + k].used() ? (k + 1) % m_capacity : k;
    }
    // Path halving: every slot passed on the way now skips further ahead.
    uint32_t k = start - m_capacity;
    while (next[k] != k) {
        next[k] = next[next[k]];
        k = next[k];
    }
    return m_capacity + k;
}

void MemberTable::grow() {
    Entry* old = m_slots;
    uint32_t oldSlots = slotCount();
    m_capacity = m_capacity == 0 ? 2 : m_capacity * 2;
    m_slots = allocateSlots(2 * m_capacity);
    if (m_capacity >= INDEXED_CAPACITY) {
        // Refilled below as the entries are placed again.
        if (!m_index) m_index = new Index;
        m_index->slots.clear();
        m_index->slots.reserve(m_capacity);
        // Rebuilt from the new slots when an entry first overflows.
        m_index->nextFree.clear();
    }
    for (uint32_t i = 0; i < oldSlots; ++i) {
        if (!old[i].used()) continue;
        Entry& moved = place(std::move(old[i].name));
        moved.value = std::move(old[i].value);
        moved.number = old[i].number;
    }
    freeSlots(old, oldSlots);
}

MemberTable::Entry& MemberTable::insert(const SharedString& name) {
    if (m_count >= m_capacity) grow();
    ++m_count;
    Entry& entry = place(name);
    entry.value.reset();
    entry.number = 0;
    return entry;
}

MemberTable::Entry& MemberTable::findOrInsert(std::string_view name, bool& inserted) {
    Entry* entry = find(name);
    inserted = entry == nullptr;
    return inserted ? insert(name) : *entry;
}

MemberTable::Entry& MemberTable::findOrInsert(const SharedString& name, bool& inserted) {
    Entry* entry = find(name.view());
    inserted = entry == nullptr;
    return inserted ? insert(name) : *entry;
}

bool MemberTable::remove(std::string_view name) {
    Entry* entry = find(name);
    if (!entry) return false;
    if (!m_quiet) bindingsChanged();
    // The value is dropped last: its teardown may run script code that uses
    // this table again.
    Ref value = std::move(entry->value);
    if (m_index) {
        m_index->slots.erase(entry->name.view());
        // A slot comes free: the skips may now pass over it.
        m_index->nextFree.clear();
    }
    auto index = static_cast<uint32_t>(entry - m_slots);
    Entry* vacated = entry;
    if (index < m_capacity) {
        for (uint32_t i = m_capacity; i < 2 * m_capacity; ++i) {
            Entry& candidate = m_slots[i];
            if (candidate.used() && homeOf(candidate) == index) {
                entry->name = std::move(candidate.name);
                entry->value = std::move(candidate.value);
                entry->number = candidate.number;
                entry->tag = candidate.tag;
                if (m_index) m_index->slots[entry->name.view()] = index;
                vacated = &candidate;
                break;
            }
        }
    }
    vacated->name = SharedString();
    vacated->value.reset();
    vacated->number = 0;
    vacated->tag = 0;
    --m_count;
    return true;
}

void MemberTable::clear() {
    // Fresh objects come and go constantly with nothing in them.
    if (!m_quiet && m_count > 0) bindingsChanged();
    delete std::exchange(m_index, nullptr);
    // Detached first, for the same reason as in remove.
    uint32_t slotTotal = slotCount();
    Entry* slots = std::exchange(m_slots, nullptr);
    m_count = 0;
    m_capacity = 0;
    freeSlots(slots, slotTotal);
}

void MemberTable::copyLayout(const MemberTable& layout) {
    m_capacity = layout.m_capacity;
    m_count = layout.m_count;
    m_slots = allocateSlots(layout.slotCount());
    for (uint32_t i = 0; i < layout.slotCount(); ++i) {
        if (!layout.m_slots[i].used()) continue;
        m_slots[i].name = layout.m_slots[i].name;
        m_slots[i].tag = layout.m_slots[i].tag;
    }
}

void MemberTable::setNumber(std::string_view name, int32_t number) {
    bool inserted = false;
    findOrInsert(name, inserted).number = number;
}

bool MemberTable::findNumber(std::string_view name, int32_t& number) const {
    const Entry* entry = find(name);
    if (!entry) return false;
    number = entry->number;
    return true;
}

} // namespace Kel
