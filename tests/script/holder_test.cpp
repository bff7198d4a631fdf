// Holders and pools: the destructor member (taken out before it runs, once
// also when it keeps its object alive; the Kel class scripts check when it
// runs), long chains freed and traced without deep recursion, and the pools
// the collector walks and trims.
#include "script_support.h"

namespace script_test {
namespace {

using HolderTest = ValueTest;

int g_destructorCalls = 0;
Ref g_kept;

Ref countCall(Holder*, const Ref&) {
    ++g_destructorCalls;
    return makeEmpty();
}

Ref keepSelf(Holder* self, const Ref&) {
    ++g_destructorCalls;
    g_kept = Ref(self);
    return makeEmpty();
}

Ref withDestructor(NativeMethod method) {
    Ref object = makeEmpty();
    object.value()->setMember("destructor", Ref(new vCMethod(method, nullptr)));
    object.value()->setOwner(object.get());
    return object;
}

TEST_F(HolderTest, DestructorIsTakenOutBeforeItRuns) {
    g_destructorCalls = 0;
    Ref object = withDestructor(countCall);
    object.value()->onRelease(); // as the collector does before breaking a cycle
    EXPECT_EQ(g_destructorCalls, 1);
    EXPECT_FALSE(object.value()->hasMember("destructor"));
    object.reset();
    EXPECT_EQ(g_destructorCalls, 1);
}

TEST_F(HolderTest, DestructorThatKeepsItsObjectAliveDoesNotFreeIt) {
    g_destructorCalls = 0;
    Ref object = withDestructor(keepSelf);
    member(object, "data")->substitute(integer(7));
    Holder* holder = object.get();
    object.reset();
    ASSERT_EQ(g_kept.get(), holder);
    EXPECT_EQ(holder->count(), 1u);
    EXPECT_EQ(member(g_kept, "data").value()->toInt(), 7);
    g_kept.reset(); // now it goes, without a second destructor call
    EXPECT_EQ(g_destructorCalls, 1);
}

// Each object's member "next" holds the previous one.
Ref chain(int length) {
    Ref head = makeEmpty();
    for (int i = 0; i < length; ++i) {
        Ref node = makeEmpty();
        node.value()->setMember("next", head);
        head = node;
    }
    return head;
}

constexpr int LONG_CHAIN = 200000;

TEST_F(HolderTest, LongChainIsFreedWithoutDeepRecursion) {
    size_t before = pool::holders().inUse();
    Ref head = chain(LONG_CHAIN);
    EXPECT_EQ(pool::holders().inUse(), before + LONG_CHAIN + 1);
    head.reset();
    EXPECT_EQ(pool::holders().inUse(), before);
}

TEST_F(HolderTest, MarkAndTraceWalkLongChains) {
    Ref head = chain(LONG_CHAIN);
    Ref last = head;
    for (Holder* next = head.get(); next; next = next->value()->findMember("next"))
        last = Ref(next);
    // The last node is referenced by `last` and by its predecessor's member.
    int counter = 0;
    last->setCountWord(last->countWord() | Holder::VISITED_MARK);
    head->value()->gcTrace(last.get(), counter);
    EXPECT_EQ(counter, 1);
    // Every node but the head (whose value was asked directly) is visited.
    int visited = 0;
    pool::forEachHolder([&](Holder* h) { visited += h->isVisited(); });
    EXPECT_EQ(visited, LONG_CHAIN);
    pool::forEachHolder([](Holder* h) { h->clearMarks(); });

    head->gcMark();
    int reachable = 0;
    pool::forEachHolder([&](Holder* h) { reachable += h->isReachable(); });
    EXPECT_EQ(reachable, LONG_CHAIN + 1);
    // Tracing stops at holders marked reachable.
    counter = 0;
    head->value()->gcTrace(last.get(), counter);
    EXPECT_EQ(counter, 0);
    pool::forEachHolder([](Holder* h) { h->clearMarks(); });
}

TEST_F(HolderTest, ChildrenOfEachKind) {
    Ref target = integer(1);
    Ref function = makeEmpty();
    std::vector<Ref> parents = {pointerTo(target), tuple({target}), list({}),
                                Ref(new vMethod(function.get(), nullptr))};
    parents[2].value()->setMember("m", target);
    for (size_t i = 0; i < 3; ++i) {
        parents[i]->gcMark();
        EXPECT_TRUE(target->isReachable()) << i;
        pool::forEachHolder([](Holder* h) { h->clearMarks(); });
    }
    parents[3]->gcMark();
    EXPECT_TRUE(function->isReachable());
    pool::forEachHolder([](Holder* h) { h->clearMarks(); });
}

TEST_F(HolderTest, ReleaseWhileMarkedReachableStillFrees) {
    size_t before = pool::holders().inUse();
    Ref value = integer(1);
    value->gcMark();
    value.reset();
    EXPECT_EQ(pool::holders().inUse(), before);
}

TEST(FixedPool, HandsOutRecyclesAndWalksSlotsInOrder) {
    pool::FixedPool pool(24, 4);
    EXPECT_EQ(pool.slotSize(), 24u);
    std::vector<void*> slots;
    for (int i = 0; i < 6; ++i) {
        void* slot = pool.allocate();
        *static_cast<void**>(slot) = slot; // a live object starts with a non-zero word
        slots.push_back(slot);
    }
    EXPECT_EQ(pool.blockCount(), 2u);
    EXPECT_EQ(pool.inUse(), 6u);
    pool.free(slots[1]);
    std::vector<void*> walked;
    pool.forEachInUse([&](void* slot) { walked.push_back(slot); });
    EXPECT_EQ(walked, (std::vector<void*>{slots[0], slots[2], slots[3], slots[4], slots[5]}));
    void* again = pool.allocate();
    EXPECT_EQ(again, slots[1]); // the freed slot comes back first
    *static_cast<void**>(again) = again;
    pool.free(again);
}

TEST(FixedPool, ReleasesEntirelyFreeBlocksButTheFirst) {
    pool::FixedPool pool(16, 4);
    std::vector<void*> slots;
    for (int i = 0; i < 12; ++i) {
        slots.push_back(pool.allocate());
        *static_cast<void**>(slots.back()) = slots.back();
    }
    EXPECT_EQ(pool.blockCount(), 3u);
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9})
        pool.free(slots[static_cast<size_t>(i)]);
    // Block 1 (slots 0-3) is free but first; block 2 (4-7) goes; block 3 keeps 8, 10, 11.
    EXPECT_EQ(pool.releaseFreeBlocks(), 1u);
    EXPECT_EQ(pool.blockCount(), 2u);
    EXPECT_EQ(pool.inUse(), 3u);
    // The rebuilt free list hands out the remaining free slots in address order.
    std::vector<void*> handed;
    for (int i = 0; i < 5; ++i)
        handed.push_back(pool.allocate());
    EXPECT_EQ(handed, (std::vector<void*>{slots[0], slots[1], slots[2], slots[3], slots[9]}));
    EXPECT_EQ(pool.blockCount(), 2u);
}

} // namespace
} // namespace script_test
