// The member table: its hash, where colliding names land, the iteration order
// that follows from it, growth, and removal that moves an overflowed entry
// back into the home slot it was waiting for.
#include "member_table.h"

#include "value_support.h"

namespace valuetest {
namespace {

using MemberTableTest = ValueTest;

std::string slotOrder(const MemberTable& table) {
    std::string order;
    table.forEach([&](MemberTable::Entry& entry) {
        if (!order.empty()) order += ' ';
        order += entry.name.str();
    });
    return order;
}

TEST(MemberTableHash, FollowsTheRule) {
    EXPECT_EQ(MemberTable::hash(""), 0u);
    // "a": (97 + 97*256) ^ (1<<4)
    EXPECT_EQ(MemberTable::hash("a"), (97u + 97u * 256u) ^ 16u);
    EXPECT_EQ(MemberTable::hash("ab"), (98u + 97u * 256u) ^ 32u);
    // Bytes are unsigned.
    EXPECT_EQ(MemberTable::hash("\xFF"), (255u + 255u * 256u) ^ 16u);
}

// Hashes worked out by hand, ((last) + (first) * 256) ^ (length << 4):
//   "a" 24945   "b" 25202   "c" 25459   "e" 25973   "g" 26487   "i" 27001   "s" 29539
// Home slots with capacity 2 / 4 / 8 (hash AND 1 / 3 / 7):
//   a 1/1/1   b 0/2/2   c 1/3/3   e 1/1/5   g 1/3/7   i 1/1/1   s 1/3/3
TEST(MemberTableSlots, CollisionsGoToTheOverflowArea) {
    MemberTable table;
    table.insert("a"); // capacity 2: home 1
    table.insert("b"); // capacity 2: home 0
    EXPECT_EQ(table.capacity(), 2u);
    EXPECT_EQ(slotOrder(table), "b a");
    table.insert("e"); // grows to 4: b -> 2, a -> 1, then e collides at 1 -> overflow 5
    EXPECT_EQ(table.capacity(), 4u);
    EXPECT_EQ(slotOrder(table), "a b e");
    ASSERT_NE(table.slot(5), nullptr);
    EXPECT_EQ(table.slot(5)->name.str(), "e");
    table.insert("c"); // home 3
    EXPECT_EQ(slotOrder(table), "a b c e");
    EXPECT_EQ(table.size(), 4u);
    // Full: the next insert doubles to 8 and re-inserts in old slot order
    // (a 1, b 2, c 3, e 5); i collides at 1 and goes to overflow slot 9.
    table.insert("i");
    EXPECT_EQ(table.capacity(), 8u);
    EXPECT_EQ(slotOrder(table), "a b c e i");
    EXPECT_EQ(table.slot(9)->name.str(), "i");
}

TEST(MemberTableSlots, OverflowScanWrapsAround) {
    // c, g and s all have home 3 at capacity 4.
    MemberTable table;
    table.insert("c");
    table.insert("g"); // capacity 2: c 24931 -> 1, g 26487 -> 1 taken -> overflow 3
    table.insert(
        "s"); // grows to 4: c -> 3, g -> 3 taken -> 7; s -> 3 taken -> 7 taken -> wraps to 4
    EXPECT_EQ(table.capacity(), 4u);
    EXPECT_EQ(table.slot(3)->name.str(), "c");
    EXPECT_EQ(table.slot(7)->name.str(), "g");
    EXPECT_EQ(table.slot(4)->name.str(), "s");
    EXPECT_EQ(slotOrder(table), "c s g");
    EXPECT_NE(table.find("s"), nullptr);
    EXPECT_NE(table.find("g"), nullptr);
    EXPECT_EQ(table.find("k"), nullptr);
}

TEST(MemberTableSlots, RemovalMovesTheFirstWaitingEntryHome) {
    MemberTable table;
    for (const char* name : {"c", "g", "s"})
        table.insert(name);
    // c sits at home 3, s waits at 4 and g at 7: the scan from the overflow
    // start finds s first.
    EXPECT_TRUE(table.remove("c"));
    EXPECT_EQ(table.slot(3)->name.str(), "s");
    EXPECT_EQ(table.slot(4), nullptr);
    EXPECT_EQ(slotOrder(table), "s g");
    EXPECT_NE(table.find("g"), nullptr); // still found behind its new home occupant
    EXPECT_TRUE(table.remove("g"));      // from the overflow area: the slot just empties
    EXPECT_EQ(slotOrder(table), "s");
    EXPECT_FALSE(table.remove("g"));
    EXPECT_TRUE(table.remove("s"));
    EXPECT_EQ(table.find("s"), nullptr);
    EXPECT_TRUE(table.empty());
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

TEST(MemberTableSlots, ManyNamesStayFindable) {
    MemberTable table;
    for (int i = 0; i < 500; ++i)
        table.setNumber("name" + std::to_string(i), i);
    for (int i = 0; i < 500; i += 2)
        EXPECT_TRUE(table.remove("name" + std::to_string(i)));
    for (int i = 0; i < 500; ++i) {
        int32_t number = -1;
        bool found = table.findNumber("name" + std::to_string(i), number);
        EXPECT_EQ(found, i % 2 == 1) << i;
        if (found) {
            EXPECT_EQ(number, i);
        }
    }
    EXPECT_EQ(table.size(), 250u);
}

TEST_F(MemberTableTest, ObjectKeysFollowSlotOrderNotInsertionOrder) {
    Ref object = makeEmpty();
    for (const char* name : {"s", "g", "c"})
        member(object, name);
    // Capacity 4 after the third insert: s at home 3, g to overflow 7, c
    // finds 7 taken and wraps to 4.
    EXPECT_EQ(keyOrder(object), "s c g");
    object.value()->removeMember("s");
    EXPECT_EQ(keyOrder(object), "c g"); // c moved home to slot 3
}

} // namespace
} // namespace valuetest
