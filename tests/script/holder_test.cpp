// Holders and pools: the destructor member (taken out before it runs, once
// also when it keeps its object alive; the Kel class scripts check when it
// runs), long chains freed and traced without deep recursion, and the pools
// the collector walks and trims.
#include "script_support.h"

#include <algorithm>
#include <random>

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

TEST_F(HolderTest, DestructorIsTakenOutBeforeItRunsAndMayKeepItsObject) {
    g_destructorCalls = 0;
    Ref object = withDestructor(countCall);
    object.value()->onRelease(); // as the collector does before breaking a cycle
    EXPECT_EQ(g_destructorCalls, 1);
    EXPECT_FALSE(object.value()->hasMember("destructor"));
    object.reset();
    EXPECT_EQ(g_destructorCalls, 1);

    // One that keeps its object alive does not free it.
    object = withDestructor(keepSelf);
    member(object, "data")->substitute(integer(7));
    Holder* holder = object.get();
    object.reset();
    ASSERT_EQ(g_kept.get(), holder);
    EXPECT_EQ(holder->count(), 1u);
    EXPECT_EQ(member(g_kept, "data").value()->toInt(), 7);
    g_kept.reset(); // now it goes, without a second destructor call
    EXPECT_EQ(g_destructorCalls, 2);
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
    std::vector<Ref> parents = {pointerTo(target), tuple({target}), makeEmpty(),
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

// Whatever order the slots were freed in, blocks left entirely free go (all but
// the first), and the rebuilt free list hands the rest out block by block, each
// block's slots in address order, never a slot in use or one twice.
TEST(FixedPool, ReleasesEntirelyFreeBlocksButTheFirstAfterShuffledFrees) {
    constexpr size_t PER_BLOCK = 8, BLOCKS = 500;
    pool::FixedPool pool(24, PER_BLOCK);
    std::vector<void*> slots;
    for (size_t i = 0; i < PER_BLOCK * BLOCKS; ++i) {
        slots.push_back(pool.allocate());
        *static_cast<void**>(slots.back()) = slots.back();
    }
    // One slot kept in every odd block: the even ones, the first among them, go free.
    std::vector<void*> kept, freed;
    for (size_t i = 0; i < slots.size(); ++i)
        (i % (2 * PER_BLOCK) == PER_BLOCK + 3 ? kept : freed).push_back(slots[i]);
    std::shuffle(freed.begin(), freed.end(), std::mt19937(7));
    for (void* slot : freed)
        pool.free(slot);
    EXPECT_EQ(pool.releaseFreeBlocks(), BLOCKS / 2 - 1);
    EXPECT_EQ(pool.inUse(), kept.size());
    EXPECT_EQ(pool.blockCount(), BLOCKS / 2 + 1);

    std::vector<void*> handed;
    for (size_t i = 0; i < pool.blockCount() * PER_BLOCK - kept.size(); ++i)
        handed.push_back(pool.allocate());
    EXPECT_EQ(pool.blockCount(), BLOCKS / 2 + 1);
    EXPECT_EQ(std::vector<void*>(handed.begin(), handed.begin() + PER_BLOCK),
              std::vector<void*>(slots.begin(), slots.begin() + PER_BLOCK));
    // Blocks follow their chain, not their addresses: an address may drop only
    // where a new block starts.
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
} // namespace script_test
