// Values that reach themselves, and data nested deep: copying, merging and
// writing through them must end (the nesting guard cuts what would recurse
// without end) and copies keep the shape of what they copy.
#include "nesting.h"
#include "script_support.h"

namespace script_test {
namespace {

using ValueCycles = ValueTest;

TEST_F(ValueCycles, PointerCycleEndsInsteadOfRecursing) {
    Ref a = Ref(new vPointer);
    Ref b = pointerTo(a);
    a->substitute(pointerTo(b)); // a -> b -> a
    EXPECT_EQ(a.value()->pointee(), b.get());
    EXPECT_EQ(a.value()->toInt(), 0);
    EXPECT_EQ(str(a), "");
    a.value()->addAssign(integer(1));
    a->substitute(integer(4)); // writes through forever: cut by the guard
    EXPECT_EQ(type(a), TYPE_POINTER);
    // Break the cycle so the holders can go.
    a->assign(integer(0));
}

TEST_F(ValueCycles, MergeThatWritesBackIntoItselfEnds) {
    // x.p is x itself and a.p points at a: merging x into a writes through a.p
    // back into a, again and again, until the depth guard ends it.
    Ref x = makeEmpty();
    x.value()->setMember("p", x);
    Ref a = makeEmpty();
    a.value()->setMember("p", pointerTo(a));
    a->substitute(x);
    EXPECT_EQ(NestingGuard::depth(), 0);
    EXPECT_EQ(type(a), TYPE_OBJECT);
    // Break both cycles so the holders can go.
    x.value()->removeMember("p");
    a.value()->removeMember("p");
}

TEST_F(ValueCycles, TupleStandingForItselfEnds) {
    Ref t = tuple({});
    t.value()->append(t); // its only element is its own holder
    EXPECT_EQ(str(t), "");
    EXPECT_EQ(t.value()->toInt(), 0);
    Ref copy = Ref::adopt(t->cloneHolder());
    EXPECT_EQ(type(copy), TYPE_OBJECT);
    // Break the self-reference so the holder can go (`:=` would go element-wise).
    t->replaceValue(new vInt(0));
}

TEST_F(ValueCycles, CycleIsCopiedAsACycle) {
    Ref a = makeEmpty();
    Ref b = makeEmpty();
    a.value()->setMember("b", b);
    b.value()->setMember("a", a);
    Ref copy = Ref::adopt(a->cloneHolder());
    Ref copyOfB = member(copy, "b");
    EXPECT_NE(copyOfB.get(), b.get());
    EXPECT_EQ(copyOfB.value()->findMember("a"), copy.get());
    // Cycles are the collector's to free; break them by hand here.
    copyOfB.value()->removeMember("a");
    b.value()->removeMember("a");
}

TEST_F(ValueCycles, DeepDataIsCopiedWhole) {
    constexpr int DEPTH = MAX_VALUE_NESTING - 10;
    Ref head = makeEmpty();
    for (int i = 0; i < DEPTH; ++i) {
        Ref node = makeEmpty();
        node.value()->setMember("next", head);
        head = node;
    }
    Ref copy = Ref::adopt(head->cloneHolder());
    int depth = 0;
    for (Holder* node = copy.get(); node; node = node->value()->findMember("next"))
        ++depth;
    EXPECT_EQ(depth, DEPTH + 1);
}

} // namespace
} // namespace script_test
