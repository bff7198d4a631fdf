// The member table: its hash, and where names land. Scripts see members in
// slot order, so every table, small or big (which skips runs of taken overflow
// slots through an index), must put each name where the plain rule does: its
// home slot, else the first free overflow slot from the home's twin onward,
// wrapping round; a removal moves the first waiting entry of that home back;
// growth places the entries again in slot order. A model of the rule is
// replayed beside the table.
#include "member_table.h"

#include "script_support.h"

namespace script_test {
namespace {

TEST(MemberTableHash, FollowsTheRule) {
    EXPECT_EQ(MemberTable::hash(""), 0u);
    // ((last) + (first) * 256) ^ (length << 4), bytes unsigned.
    EXPECT_EQ(MemberTable::hash("a"), (97u + 97u * 256u) ^ 16u);
    EXPECT_EQ(MemberTable::hash("ab"), (98u + 97u * 256u) ^ 32u);
    EXPECT_EQ(MemberTable::hash("\xFF"), (255u + 255u * 256u) ^ 16u);
}

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

// Same slots as the model, and every name found through find() where it sits.
void expectSameSlots(const MemberTable& table, const SlotModel& model) {
    ASSERT_EQ(table.slotCount(), model.slots().size());
    for (uint32_t i = 0; i < table.slotCount(); ++i) {
        MemberTable::Entry* entry = table.slot(i);
        ASSERT_EQ(entry ? std::string(entry->name.view()) : std::string(), model.slots()[i])
            << "slot " << i;
        if (entry) {
            EXPECT_EQ(table.find(entry->name.view()), entry) << i;
        }
    }
}

// Names of two shapes: most share first byte, last byte and length (one home
// for all of them), the rest spread out.
std::string nameOf(int i) {
    return i % 4 == 0 ? "v" + std::to_string(i) : "n" + std::to_string(10000 + i) + "x";
}

TEST(MemberTableSlots, SmallAndBigTablesPlaceNamesWhereThePlainRuleDoes) {
    // c, g and s share home 3 at capacity 4: g overflows to 7, s wraps to 4.
    MemberTable table;
    SlotModel model;
    for (const char* name : {"c", "g", "s"}) {
        table.insert(name);
        model.insert(name);
    }
    EXPECT_EQ(table.slot(3)->name.str(), "c");
    EXPECT_EQ(table.slot(7)->name.str(), "g");
    EXPECT_EQ(table.slot(4)->name.str(), "s");
    expectSameSlots(table, model);
    for (const char* name : {"c", "g", "s"}) {
        EXPECT_TRUE(table.remove(name));
        model.remove(name);
        expectSameSlots(table, model);
        EXPECT_EQ(table.find(name), nullptr);
        EXPECT_FALSE(table.remove(name));
    }
    EXPECT_TRUE(table.empty());
    // Removals free slots in the middle of taken runs; later inserts must
    // land in them, not after the run.
    for (int i = 0; i < 300; ++i) {
        table.insert(std::string_view(nameOf(i)));
        model.insert(nameOf(i));
    }
    expectSameSlots(table, model);
    for (int i = 0; i < 300; i += 7) {
        table.remove(nameOf(i));
        model.remove(nameOf(i));
        EXPECT_EQ(table.find(nameOf(i)), nullptr);
    }
    for (int i = 300; i < 700; ++i) {
        table.insert(std::string_view(nameOf(i)));
        model.insert(nameOf(i));
        if (i == 400) expectSameSlots(table, model);
    }
    expectSameSlots(table, model);
}

TEST(MemberTableSlots, EmptyNameAndLabels) {
    MemberTable table;
    table.setNumber("", 7);
    table.setNumber("loop", 12);
    table.setNumber("loop", 13);
    int32_t number = 0;
    EXPECT_TRUE(table.findNumber("", number));
    EXPECT_EQ(number, 7);
    EXPECT_TRUE(table.findNumber("loop", number));
    EXPECT_EQ(number, 13);
    EXPECT_FALSE(table.findNumber("other", number));
    EXPECT_EQ(table.size(), 2u);
}

TEST(MemberTableSlots, AMovedBigTableKeepsFinding) {
    MemberTable table;
    for (int i = 0; i < 100; ++i)
        table.setNumber(nameOf(i), i);
    MemberTable assigned;
    assigned.setNumber("old", 1);
    assigned = MemberTable(std::move(table));
    EXPECT_EQ(table.find(nameOf(5)), nullptr);
    EXPECT_EQ(assigned.find("old"), nullptr);
    int32_t number = 0;
    EXPECT_TRUE(assigned.findNumber(nameOf(42), number));
    EXPECT_EQ(number, 42);
    assigned.clear();
    EXPECT_EQ(assigned.find(nameOf(1)), nullptr);
    assigned.setNumber("again", 1);
    EXPECT_NE(assigned.find("again"), nullptr);
}

} // namespace
} // namespace script_test
