// Big member tables find their names through an index kept beside the slots;
// inserts, removals (which move overflowed entries home) and growth must keep
// index and slots in step, and the slots where they would be without it.
#include "member_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using Kel::MemberTable;

// Names alike in first byte, last byte and length hash alike, so most of
// them overflow.
std::string nameOf(int i) {
    return "n" + std::to_string(1000 + i) + "x";
}

// Every entry sits in its home slot, or in the overflow area while its home
// slot is taken: the rule lookups without the index rely on.
void expectPlacementRule(const MemberTable& table) {
    for (uint32_t i = 0; i < table.slotCount(); ++i) {
        MemberTable::Entry* entry = table.slot(i);
        if (!entry) continue;
        uint32_t home = MemberTable::hash(entry->name.view()) & (table.capacity() - 1);
        if (i < table.capacity())
            EXPECT_EQ(i, home) << entry->name.view();
        else
            EXPECT_NE(table.slot(home), nullptr) << entry->name.view();
    }
}

TEST(MemberIndex, BigTablesFindWhatTheyHoldAndNothingElse) {
    MemberTable table;
    constexpr int NAMES = 500;
    for (int i = 0; i < NAMES; ++i)
        table.setNumber(nameOf(i), i);
    ASSERT_GE(table.capacity(), 512u);
    std::set<int> present;
    for (int i = 0; i < NAMES; ++i)
        present.insert(i);
    // Remove every third name, then put some back with new numbers.
    for (int i = 0; i < NAMES; i += 3) {
        EXPECT_TRUE(table.remove(nameOf(i)));
        present.erase(i);
    }
    EXPECT_FALSE(table.remove(nameOf(0)));
    for (int i = 0; i < NAMES; i += 9) {
        table.setNumber(nameOf(i), -i);
        present.insert(i);
    }
    EXPECT_EQ(table.size(), present.size());
    for (int i = 0; i < NAMES + 10; ++i) {
        int32_t number = 0;
        bool found = table.findNumber(nameOf(i), number);
        EXPECT_EQ(found, present.count(i) == 1) << i;
        if (found) {
            EXPECT_EQ(number, i % 9 == 0 ? -i : i) << i;
        }
    }
    int visited = 0;
    table.forEach([&](MemberTable::Entry&) { ++visited; });
    EXPECT_EQ(visited, static_cast<int>(present.size()));
    expectPlacementRule(table);
    table.clear();
    EXPECT_EQ(table.find(nameOf(1)), nullptr);
    table.setNumber("again", 1);
    EXPECT_NE(table.find("again"), nullptr);
}

TEST(MemberIndex, AMovedTableKeepsFinding) {
    MemberTable table;
    for (int i = 0; i < 100; ++i)
        table.setNumber(nameOf(i), i);
    MemberTable moved(std::move(table));
    EXPECT_EQ(table.find(nameOf(5)), nullptr);
    int32_t number = 0;
    EXPECT_TRUE(moved.findNumber(nameOf(99), number));
    EXPECT_EQ(number, 99);
    MemberTable assigned;
    assigned.setNumber("old", 1);
    assigned = std::move(moved);
    EXPECT_EQ(assigned.find("old"), nullptr);
    EXPECT_TRUE(assigned.findNumber(nameOf(42), number));
    EXPECT_EQ(number, 42);
    expectPlacementRule(assigned);
}

} // namespace
