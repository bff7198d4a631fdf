// The cycle collector from the host's side: what a stack or a suspended
// thread still holds survives, long cycles go without recursion, and nothing
// is left in the pools. What scripts see of it is checked by the Kel
// collector scripts.
#include "script_support.h"

#include "collector.h"
#include "natives.h"
#include "pool.h"
#include "thread.h"

using namespace script_test;

namespace {

int g_destructorCalls = 0;

Ref countDestructor(Holder*, const Ref&) {
    ++g_destructorCalls;
    return makeEmpty();
}

// An object with a "destructor" native method bound to it.
Ref makeWatched() {
    Ref object = makeEmpty();
    object.value()->setMember("tag", Ref(new vInt(1)));
    object.value()->setMember("destructor", Ref(new vCMethod(&countDestructor, nullptr)));
    object.value()->setOwner(object.get());
    return object;
}

// Two watched objects that refer to each other.
std::pair<Ref, Ref> makeCycle() {
    Ref a = makeWatched();
    Ref b = makeWatched();
    a.value()->setMember("other", b);
    b.value()->setMember("other", a);
    return {a, b};
}

class Collector : public FreshGlobal {
protected:
    void SetUp() override {
        FreshGlobal::SetUp();
        collectGarbage();
        g_destructorCalls = 0;
    }
};

TEST_F(Collector, CycleOnAStackSurvivesUntilPopped) {
    Env env;
    env.push(makeCycle().first);
    collectGarbage();
    EXPECT_EQ(g_destructorCalls, 0);
    env.pop();
    collectGarbage();
    EXPECT_EQ(g_destructorCalls, 2);
}

TEST_F(Collector, ValueHeldOnlyBySuspendedThreadSurvives) {
    // f() { keep = <cycle>; yield; return keep.tag; }
    size_t before = pool::holders().inUse();
    ScopedGlobal maker("exec_make_cycle", makeCycle().first);
    Ref thread(
        new vThread(makeFunction({new POP, new VARIABLE("keep"), new VARIABLE("exec_make_cycle"),
                                  new SUBSTITUTION, new POP, new PUSH_NULL, new YIELD, new POP,
                                  new VARIABLE("keep"), new MEMBER("tag")})
                        .get()));
    Env host;
    thread.value()->callSync(host, makeEmpty(), thread.get());
    Env::global().value()->removeMember("exec_make_cycle");
    collectGarbage(); // frees the original pair only: keep holds a copy
    EXPECT_EQ(g_destructorCalls, 2);

    g_destructorCalls = 0;
    collectGarbage();
    EXPECT_EQ(g_destructorCalls, 0);
    Holder* keep = thread.value()->member("keep");
    ASSERT_NE(keep, nullptr);
    EXPECT_NE(keep->value()->findMember("other"), nullptr);
    EXPECT_EQ(intOf(thread.value()->callSync(host, makeEmpty(), thread.get())), 1);

    // Once the thread goes, its copy of the cycle is garbage like any other.
    thread.reset();
    collectGarbage();
    EXPECT_GE(g_destructorCalls, 2);
    EXPECT_EQ(pool::holders().inUse(), before);
}

TEST_F(Collector, LongCycleAmongManyLeavesIsFreedWithoutRecursion) {
    std::vector<Ref> leaves;
    for (int i = 0; i < 50000; ++i)
        leaves.emplace_back(new vInt(i));
    size_t before = pool::holders().inUse();
    {
        Ref first = makeEmpty();
        Ref last = first;
        for (int i = 0; i < 20000; ++i) {
            Ref next = makeEmpty();
            last.value()->setMember("next", next);
            last = next;
        }
        last.value()->setMember("next", first);
    }
    EXPECT_GT(pool::holders().inUse(), before);
    collectGarbage();
    EXPECT_EQ(pool::holders().inUse(), before);
    EXPECT_EQ(intOf(leaves[49999]), 49999);
}

} // namespace
