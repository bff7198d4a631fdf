// Pointers and tuples, the two values that stand for others: write-through
// and retargeting, one-element forwarding, element-wise `=` that exchanges
// variables, and cycles of stand-ins that must not recurse without end.
#include "nesting.h"
#include "value_support.h"

namespace valuetest {
namespace {

using PointerTest = ValueTest;
using TupleTest = ValueTest;

TEST_F(PointerTest, WithoutTarget) {
    Ref p = Ref(new vPointer);
    EXPECT_EQ(str(p), "[nullptr]");
    EXPECT_EQ(p.value()->toInt(), 0);
    EXPECT_FALSE(p.value()->toBool());
    EXPECT_EQ(p.value()->count(), 0);
    EXPECT_EQ(p.value()->elementAt(0), nullptr);
    EXPECT_EQ(keyOrder(p), "");
    EXPECT_TRUE(p.value()->equals(Ref(new vPointer)));
    EXPECT_EQ(type(p), TYPE_POINTER);
}

TEST_F(PointerTest, SubstituteTargetsThenWritesThrough) {
    Ref variable = integer(5);
    Ref p = Ref(new vPointer);
    p->substitute(variable); // no target yet: point at the value's own holder
    EXPECT_EQ(p.value()->pointee(), variable.get());
    EXPECT_EQ(str(p), "5");
    p->substitute(integer(9)); // with a target: write through
    EXPECT_EQ(type(p), TYPE_POINTER);
    EXPECT_EQ(variable.value()->toInt(), 9);
    p.value()->addAssign(integer(1));
    EXPECT_EQ(variable.value()->toInt(), 10);
    p.value()->negate();
    EXPECT_EQ(variable.value()->toInt(), -10);
    EXPECT_TRUE(p.value()->less(integer(0)));
    // Not handed on: complement belongs to the pointer and does nothing.
    p.value()->complement();
    EXPECT_EQ(variable.value()->toInt(), -10);
}

TEST_F(PointerTest, PointerOnTheRightRetargets) {
    Ref a = integer(1);
    Ref b = integer(2);
    Ref p = pointerTo(a);
    p->substitute(pointerTo(b));
    EXPECT_EQ(p.value()->pointee(), b.get());
    EXPECT_EQ(a.value()->toInt(), 1);
    p->substitute(Ref(new vPointer)); // a pointer without target clears it
    EXPECT_EQ(p.value()->pointee(), nullptr);
    Ref q = pointerTo(a);
    q->assign(integer(7)); // := replaces the pointer itself
    EXPECT_EQ(type(q), TYPE_INT);
    EXPECT_EQ(a.value()->toInt(), 1);
}

TEST_F(PointerTest, EqualityIsIdentityOfTargets) {
    Ref a = integer(1);
    Ref same = integer(1);
    EXPECT_TRUE(pointerTo(a).value()->equals(pointerTo(a)));
    EXPECT_FALSE(pointerTo(a).value()->equals(pointerTo(same)));
    EXPECT_TRUE(pointerTo(a).value()->notEquals(pointerTo(same)));
    Ref clone = Ref::adopt(pointerTo(a)->cloneHolder());
    EXPECT_EQ(clone.value()->pointee(), a.get());
}

TEST_F(PointerTest, HandsObjectOperationsOn) {
    Ref object = makeEmpty();
    Ref p = pointerTo(object);
    Ref x = Ref(p.value()->member("x"));
    x->substitute(integer(3));
    EXPECT_TRUE(object.value()->hasMember("x"));
    EXPECT_TRUE(p.value()->hasMember("x"));
    EXPECT_EQ(keyOrder(p), "x");
    element(p, 2);
    EXPECT_EQ(object.value()->count(), 3);
    EXPECT_EQ(p.value()->count(), 3);
    p.value()->removeMember("x");
    EXPECT_FALSE(object.value()->hasMember("x"));
    EXPECT_EQ(p.value()->findMember("x"), nullptr);
}

TEST_F(PointerTest, PointerCycleEndsInsteadOfRecursing) {
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

TEST_F(PointerTest, MergeThatWritesBackIntoItselfEnds) {
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

TEST_F(PointerTest, DeepDataIsCopiedWhole) {
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

TEST_F(TupleTest, OneElementStandsForIt) {
    Ref x = integer(5);
    Ref t = tuple({x});
    EXPECT_EQ(str(t), "5");
    EXPECT_EQ(t.value()->toInt(), 5);
    EXPECT_TRUE(t.value()->equals(integer(5)));
    EXPECT_TRUE(t.value()->greater(integer(4)));
    EXPECT_TRUE(t.value()->notEquals(integer(6)));
    t.value()->addAssign(integer(2)); // in place on the element's own holder
    EXPECT_EQ(x.value()->toInt(), 7);
    Ref sum = binary(t, &vBase::addAssign, integer(1));
    EXPECT_EQ(type(sum), TYPE_INT); // a copy of a one-element tuple is its element's copy
    EXPECT_EQ(sum.value()->toInt(), 8);
    EXPECT_EQ(x.value()->toInt(), 7);
    EXPECT_EQ(type(t), TYPE_TUPLE);
    Ref s = text("abc");
    Ref ts = tuple({s});
    ts.value()->negate();
    EXPECT_EQ(str(s), "cba");
}

TEST_F(TupleTest, OtherCountsAnswerForThemselves) {
    Ref t = tuple({integer(1), integer(2)});
    EXPECT_EQ(str(t), "[tuple]");
    EXPECT_EQ(t.value()->toInt(), 2);
    EXPECT_EQ(t.value()->count(), 2);
    EXPECT_TRUE(t.value()->toBool());
    EXPECT_FALSE(tuple({}).value()->toBool());
    EXPECT_FALSE(t.value()->less(integer(100)));
    EXPECT_FALSE(t.value()->notEquals(integer(100)));
    EXPECT_TRUE(t.value()->equals(tuple({integer(1), integer(2)})));
    EXPECT_TRUE(t.value()->equals(list({integer(1), integer(2)})));
    EXPECT_FALSE(t.value()->equals(tuple({integer(1), integer(3)})));
    EXPECT_FALSE(t.value()->equals(tuple({integer(1)})));
    t.value()->addAssign(integer(1)); // no in-place arithmetic on a list
    EXPECT_EQ(element(t, 0).value()->toInt(), 1);
    // elementAt grows with fresh empty objects; append shares the holder.
    Ref grown = element(t, 3);
    EXPECT_EQ(t.value()->count(), 4);
    EXPECT_EQ(str(grown), "[null]");
    Ref shared = integer(9);
    t.value()->append(shared);
    EXPECT_EQ(element(t, 4).get(), shared.get());
    EXPECT_EQ(t.value()->elementAt(-1), nullptr);
}

TEST_F(TupleTest, SubstituteOfSwappedTupleExchanges) {
    Ref a = integer(1);
    Ref b = text("two");
    tuple({a, b})->substitute(tuple({b, a}));
    EXPECT_EQ(type(a), TYPE_INT); // `=` converts into each element's own type
    EXPECT_EQ(str(a), "0");
    EXPECT_EQ(str(b), "1");

    Ref c = makeEmpty();
    Ref d = makeEmpty();
    c->substitute(integer(10));
    d->substitute(text("x"));
    tuple({c, d})->substitute(tuple({d, c}));
    EXPECT_EQ(str(c), "0"); // "x" converted into an int
    EXPECT_EQ(str(d), "10");

    Ref e = makeEmpty();
    Ref f = makeEmpty();
    e->substitute(integer(3));
    f->substitute(integer(4));
    tuple({e, f})->substitute(tuple({f, e}));
    EXPECT_EQ(e.value()->toInt(), 4);
    EXPECT_EQ(f.value()->toInt(), 3);
}

TEST_F(TupleTest, AssignReplacesElementTypes) {
    Ref a = integer(1);
    Ref b = integer(2);
    tuple({a, b})->assign(tuple({text("s"), real(1.5)}));
    EXPECT_EQ(type(a), TYPE_STRING);
    EXPECT_EQ(type(b), TYPE_FLOAT);
}

TEST_F(TupleTest, ExtraElementsOnEitherSideAreLeftAlone) {
    Ref a = integer(1);
    Ref b = integer(2);
    Ref c = integer(3);
    tuple({a, b, c})->substitute(list({integer(7), integer(8)}));
    EXPECT_EQ(a.value()->toInt(), 7);
    EXPECT_EQ(b.value()->toInt(), 8);
    EXPECT_EQ(c.value()->toInt(), 3);
    tuple({a})->substitute(list({integer(5), integer(6)}));
    EXPECT_EQ(a.value()->toInt(), 5);
}

TEST_F(TupleTest, ValueWithoutElementsCountsAsItsOwnSequence) {
    Ref a = integer(1);
    Ref b = integer(2);
    tuple({a, b})->substitute(integer(9));
    EXPECT_EQ(a.value()->toInt(), 9);
    EXPECT_EQ(b.value()->toInt(), 2);
    tuple({a, b})->assign(text("s"));
    EXPECT_EQ(str(a), "s");
}

TEST_F(TupleTest, PointerElementsGetTheOriginalHolders) {
    Ref target = integer(1);
    Ref p = Ref(new vPointer);
    Ref other = integer(0);
    tuple({p, other})->substitute(tuple({target, integer(5)}));
    EXPECT_EQ(p.value()->pointee(), target.get()); // not a copy of it
    EXPECT_EQ(other.value()->toInt(), 5);
}

TEST_F(TupleTest, CloneGivesAnObjectOfCopies) {
    Ref a = integer(1);
    Ref t = tuple({a, text("b")});
    Ref copy = Ref::adopt(t->cloneHolder());
    EXPECT_EQ(type(copy), TYPE_OBJECT);
    EXPECT_EQ(copy.value()->count(), 2);
    EXPECT_NE(element(copy, 0).get(), a.get());
    EXPECT_EQ(element(copy, 0).value()->toInt(), 1);
    Ref single = Ref::adopt(tuple({text("x")})->cloneHolder());
    EXPECT_EQ(type(single), TYPE_STRING);
}

TEST_F(TupleTest, TupleStandingForItselfEnds) {
    Ref t = tuple({});
    t.value()->append(t); // its only element is its own holder
    EXPECT_EQ(str(t), "");
    EXPECT_EQ(t.value()->toInt(), 0);
    Ref copy = Ref::adopt(t->cloneHolder());
    EXPECT_EQ(type(copy), TYPE_OBJECT);
    // Break the self-reference so the holder can go (`:=` would go element-wise).
    t->replaceValue(new vInt(0));
}

} // namespace
} // namespace valuetest
