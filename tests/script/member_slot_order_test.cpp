// Scripts see members in slot order, so a big table, which skips runs of taken
// overflow slots instead of walking them, must put every name exactly where
// the plain rule puts it: its home slot, else the first free overflow slot
// from the home's twin onward, wrapping round; a removal moves the first
// waiting entry of that home back; growth places the entries again in slot
// order. A model of that rule is replayed beside the table.
#include "member_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kel::MemberTable;

class SlotModel {
public:
    void insert(const std::string& name) {
        if (m_count >= capacity()) grow();
        ++m_count;
        place(name);
    }
    void remove(const std::string& name) {
        uint32_t at = 0;
        while (m_slots[at] != name)
            ++at;
        m_slots[at].clear();
        --m_count;
        if (at >= capacity()) return;
        for (uint32_t i = capacity(); i < m_slots.size(); ++i) {
            if (!m_slots[i].empty() && home(m_slots[i]) == at) {
                m_slots[at] = m_slots[i];
                m_slots[i].clear();
                return;
            }
        }
    }
    const std::vector<std::string>& slots() const { return m_slots; }

private:
    uint32_t capacity() const { return static_cast<uint32_t>(m_slots.size() / 2); }
    uint32_t home(const std::string& name) const {
        return MemberTable::hash(name) & (capacity() - 1);
    }
    void place(const std::string& name) {
        uint32_t target = home(name);
        if (!m_slots[target].empty()) {
            target += capacity();
            while (!m_slots[target].empty())
                target = target + 1 == m_slots.size() ? capacity() : target + 1;
        }
        m_slots[target] = name;
    }
    void grow() {
        std::vector<std::string> old = std::move(m_slots);
        m_slots.assign(old.empty() ? 4 : old.size() * 2, std::string());
        for (const std::string& name : old) {
            if (!name.empty()) place(name);
        }
    }

    std::vector<std::string> m_slots;
    uint32_t m_count = 0;
};

void expectSameSlots(const MemberTable& table, const SlotModel& model) {
    ASSERT_EQ(table.slotCount(), model.slots().size());
    for (uint32_t i = 0; i < table.slotCount(); ++i) {
        MemberTable::Entry* entry = table.slot(i);
        EXPECT_EQ(entry ? std::string(entry->name.view()) : std::string(), model.slots()[i])
            << "slot " << i;
    }
}

// Names of two shapes: most share first byte, last byte and length (one home
// for all of them), the rest spread out.
std::string nameOf(int i) {
    return i % 4 == 0 ? "v" + std::to_string(i) : "n" + std::to_string(10000 + i) + "x";
}

TEST(MemberSlotOrder, BigTablesPlaceNamesWhereThePlainRuleDoes) {
    MemberTable table;
    SlotModel model;
    for (int i = 0; i < 300; ++i) {
        table.insert(std::string_view(nameOf(i)));
        model.insert(nameOf(i));
    }
    expectSameSlots(table, model);
    // Removals free slots in the middle of taken runs; later inserts must
    // land in them, not after the run.
    for (int i = 0; i < 300; i += 7) {
        table.remove(nameOf(i));
        model.remove(nameOf(i));
    }
    for (int i = 300; i < 700; ++i) {
        table.insert(std::string_view(nameOf(i)));
        model.insert(nameOf(i));
        if (i == 400) expectSameSlots(table, model);
    }
    expectSameSlots(table, model);
}

} // namespace
