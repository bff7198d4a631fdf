// Objects: texts and conversions, fresh storage replaced by the first `=`,
// merging `=` and `:=`, deep copies (cycles copied as cycles), `+=` as class
// extension with shared and copied code, equality that creates nothing, and
// methods bound to whichever object holds them.
#include "code_block.h"
#include "instructions.h"
#include "scope.h"
#include "value_support.h"

namespace valuetest {
namespace {

using ObjectTest = ValueTest;

// A function object whose code is `ops`, appended as written.
Ref function(std::initializer_list<OpCode*> ops) {
    Ref result = makeEmpty();
    for (OpCode* op : ops)
        result.value()->appendOp(op);
    return result;
}

Ref boundSelf(Holder*, const Ref&) {
    return makeEmpty();
}

TEST_F(ObjectTest, TextsAndConversions) {
    Ref empty = makeEmpty();
    EXPECT_EQ(str(empty), "[null]");
    EXPECT_FALSE(empty.value()->toBool());
    EXPECT_EQ(empty.value()->count(), 0);
    Ref withCode = function({new RETURN});
    EXPECT_EQ(str(withCode), "[function]");
    EXPECT_TRUE(withCode.value()->toBool());
    EXPECT_EQ(withCode.value()->codeLength(), 1);
    Ref withMember = makeEmpty();
    member(withMember, "x");
    EXPECT_EQ(str(withMember), "[Object]");
    EXPECT_TRUE(withMember.value()->toBool());
    EXPECT_EQ(withMember.value()->toInt(), 0);
    Ref elements = list({integer(4), integer(5)});
    EXPECT_EQ(str(elements), "[Object]");
    EXPECT_EQ(elements.value()->toInt(), 2);
    EXPECT_EQ(elements.value()->toFloat(), 2.0);
    EXPECT_EQ(str(nil()), "");
    EXPECT_EQ(type(nil()), TYPE_NIL);
}

TEST_F(ObjectTest, ElementsAndMembersGrowOnAccess) {
    Ref object = makeEmpty();
    Ref third = element(object, 2);
    EXPECT_EQ(object.value()->count(), 3);
    EXPECT_EQ(str(element(object, 0)), "[null]");
    EXPECT_NE(element(object, 0).get(), element(object, 1).get()); // fresh holders each
    EXPECT_EQ(object.value()->elementAt(-1), nullptr);
    EXPECT_EQ(object.value()->elementAt(MAX_ELEMENTS), nullptr);
    EXPECT_EQ(object.value()->count(), 3);

    EXPECT_FALSE(object.value()->hasMember("m"));
    EXPECT_EQ(object.value()->findMember("m"), nullptr);
    Holder* created = object.value()->member("m");
    EXPECT_EQ(object.value()->member("m"), created);
    EXPECT_TRUE(object.value()->hasMember("m"));
    Ref shared = integer(1);
    EXPECT_TRUE(object.value()->setMember("n", shared));
    EXPECT_FALSE(object.value()->setMember("n", shared));
    EXPECT_EQ(object.value()->findMember("n"), shared.get());
    object.value()->removeMember("m");
    EXPECT_EQ(keyOrder(object), "n");
    // append copies, unlike a tuple's append.
    object.value()->append(shared);
    EXPECT_NE(element(object, 3).get(), shared.get());
    EXPECT_EQ(element(object, 3).value()->toInt(), 1);
}

TEST_F(ObjectTest, FirstSubstituteReplacesFreshStorage) {
    Ref fresh = makeEmpty();
    Ref source = list({integer(1)});
    fresh->substitute(source);
    EXPECT_EQ(type(fresh), TYPE_OBJECT);
    EXPECT_NE(element(fresh, 0).get(), element(source, 0).get());
    Ref asText = makeEmpty();
    asText->substitute(text("t"));
    EXPECT_EQ(type(asText), TYPE_STRING);
}

TEST_F(ObjectTest, SubstituteIntoContentsMerges) {
    Ref target = list({integer(1), text("a")});
    member(target, "kept")->substitute(integer(1));
    member(target, "n")->substitute(integer(0));
    Ref source = list({text("5"), integer(6), real(7.5)});
    member(source, "n")->substitute(text("42"));
    member(source, "new")->substitute(text("s"));
    target->substitute(source);
    EXPECT_EQ(type(target), TYPE_OBJECT);
    EXPECT_EQ(target.value()->count(), 3);
    EXPECT_EQ(type(element(target, 0)), TYPE_INT); // converted into the element's type
    EXPECT_EQ(element(target, 0).value()->toInt(), 5);
    EXPECT_EQ(str(element(target, 1)), "6");
    EXPECT_EQ(type(element(target, 2)), TYPE_FLOAT); // grown, fresh: replaced
    EXPECT_EQ(type(member(target, "n")), TYPE_INT);
    EXPECT_EQ(member(target, "n").value()->toInt(), 42);
    EXPECT_EQ(str(member(target, "new")), "s");
    EXPECT_EQ(member(target, "kept").value()->toInt(), 1);
    // The source's holders are not shared into the target.
    EXPECT_NE(target.value()->findMember("new"), source.value()->findMember("new"));
}

TEST_F(ObjectTest, SubstituteOfAValueWithoutElementsGoesToElementZero) {
    Ref target = list({integer(1), integer(2)});
    target->substitute(text("9"));
    EXPECT_EQ(type(target), TYPE_OBJECT);
    EXPECT_EQ(element(target, 0).value()->toInt(), 9);
    EXPECT_EQ(element(target, 1).value()->toInt(), 2);
}

TEST_F(ObjectTest, AssignMergesOnlyObjectsAndTuples) {
    Ref target = list({integer(1)});
    target->assign(list({text("x")}));
    EXPECT_EQ(type(target), TYPE_OBJECT);
    EXPECT_EQ(type(element(target, 0)), TYPE_STRING); // := replaced the element
    target->assign(integer(3));
    EXPECT_EQ(type(target), TYPE_INT);
}

TEST_F(ObjectTest, CodeIsSharedByMergeAndCopy) {
    Ref f = function({new PUSH_INT(1), new RETURN});
    Ref copy = Ref::adopt(f->cloneHolder());
    EXPECT_EQ(copy.value()->code(), f.value()->code());
    EXPECT_EQ(f.value()->code()->references(), 2);
    Ref target = list({integer(0)});
    target->substitute(f);
    EXPECT_EQ(target.value()->code(), f.value()->code());
    EXPECT_EQ(str(target), "[Object]");
}

TEST_F(ObjectTest, CloneIsDeep) {
    Ref inner = list({integer(1)});
    Ref outer = makeEmpty();
    member(outer, "inner")->substitute(inner);
    element(outer, 0)->substitute(text("e"));
    Ref copy = Ref::adopt(outer->cloneHolder());
    element(member(copy, "inner"), 0)->substitute(integer(99));
    element(copy, 0)->substitute(text("changed"));
    EXPECT_EQ(element(member(outer, "inner"), 0).value()->toInt(), 1);
    EXPECT_EQ(str(element(outer, 0)), "e");
    EXPECT_EQ(keyOrder(copy), "inner");
}

TEST_F(ObjectTest, CycleIsCopiedAsACycle) {
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

TEST_F(ObjectTest, PlusExtendsElementsMembersAndCode) {
    Ref base = list({integer(1)});
    member(base, "x")->substitute(integer(1));
    Ref extra = list({text("e")});
    member(extra, "x")->substitute(text("5"));
    member(extra, "y")->substitute(text("y"));
    Ref sum = binary(base, &vBase::addAssign, extra);
    EXPECT_EQ(sum.value()->count(), 2);
    EXPECT_EQ(str(element(sum, 1)), "e");
    EXPECT_NE(element(sum, 1).get(), element(extra, 0).get());
    EXPECT_EQ(type(member(sum, "x")), TYPE_INT);
    EXPECT_EQ(member(sum, "x").value()->toInt(), 5);
    EXPECT_EQ(str(member(sum, "y")), "y");
    EXPECT_EQ(base.value()->count(), 1); // the left operand was copied
    Ref appended = binary(list({}), &vBase::addAssign, integer(7));
    EXPECT_EQ(appended.value()->count(), 1);
    EXPECT_EQ(element(appended, 0).value()->toInt(), 7);
    Ref doubled = list({integer(1), integer(2)});
    doubled.value()->addAssign(doubled);
    EXPECT_EQ(doubled.value()->count(), 4);
    EXPECT_EQ(element(doubled, 3).value()->toInt(), 2);
}

// The instruction sequences below are ones the optimising appender leaves as
// they are, so positions can be checked.
TEST_F(ObjectTest, PlusSharesCodeOrExtendsACopy) {
    Ref body = function({new VARIABLE("a"), new VARIABLE("b"), new RETURN});
    Ref noCode = makeEmpty();
    member(noCode, "m");
    noCode.value()->addAssign(body);
    EXPECT_EQ(noCode.value()->code(), body.value()->code());

    Ref more = function({new VARIABLE("c"), new RETURN});
    CodeBlock* before = body.value()->code();
    noCode.value()->addAssign(more); // shared with body: copied, then extended
    CodeBlock* after = noCode.value()->code();
    EXPECT_NE(after, before);
    EXPECT_EQ(before->size(), 3); // body's own code is untouched
    ASSERT_EQ(after->size(), 4);  // a b, then c and the return of `more`
    EXPECT_EQ(static_cast<VARIABLE*>(after->at(1))->name(), "b");
    EXPECT_EQ(static_cast<VARIABLE*>(after->at(2))->name(), "c");
    EXPECT_EQ(after->kindAt(3), KIND_RETURN);
    EXPECT_EQ(more.value()->codeLength(), 2);
}

TEST_F(ObjectTest, CopyBeforeExtendingKeepsLabels) {
    Ref f = makeEmpty();
    f.value()->appendOp(new VARIABLE("a"));
    f.value()->addLabel("here");
    f.value()->appendOp(new VARIABLE("b"));
    int index = -1;
    ASSERT_TRUE(f.value()->code()->findLabel("here", index));
    EXPECT_EQ(index, 1);
    Ref sharer = Ref::adopt(f->cloneHolder());
    f.value()->addAssign(function({new VARIABLE("c")}));
    EXPECT_NE(f.value()->code(), sharer.value()->code());
    index = -1;
    EXPECT_TRUE(f.value()->code()->findLabel("here", index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(f.value()->codeLength(), 3);
    EXPECT_EQ(sharer.value()->codeLength(), 2);
}

TEST_F(ObjectTest, EqualityComparesContentsAndCreatesNothing) {
    EXPECT_TRUE(makeEmpty().value()->equals(makeEmpty()));
    Ref a = list({integer(1), text("s")});
    Ref b = list({integer(1), text("s")});
    member(a, "x")->substitute(integer(3));
    member(b, "x")->substitute(integer(3));
    EXPECT_TRUE(a.value()->equals(b));
    EXPECT_FALSE(a.value()->notEquals(b)); // != between objects is always false
    member(b, "x")->substitute(integer(4));
    EXPECT_FALSE(a.value()->equals(b));
    EXPECT_FALSE(a.value()->notEquals(b));
    Ref c = list({integer(1), text("s")});
    member(c, "y")->substitute(integer(3));
    // a has no "y": it compares as an empty object would, which is never
    // unequal, so a equals c; and the lookup created nothing.
    EXPECT_TRUE(a.value()->equals(c));
    EXPECT_EQ(a.value()->findMember("y"), nullptr);
    member(c, "z");
    EXPECT_FALSE(a.value()->equals(c)); // member counts differ
    EXPECT_FALSE(list({integer(1)}).value()->equals(list({integer(2)})));
    EXPECT_FALSE(list({integer(1)}).value()->equals(list({integer(1), integer(1)})));
}

TEST_F(ObjectTest, MethodsAreBoundToTheirHolder) {
    Ref object = makeEmpty();
    object.value()->setMember("m", Ref(new vCMethod(boundSelf, nullptr)));
    object.value()->setOwner(object.get());
    EXPECT_EQ(member(object, "m").value()->elementAt(1), object.get());
    Ref copy = makeEmpty();
    copy->substitute(object); // a fresh variable takes a copy, bound to itself
    EXPECT_EQ(member(copy, "m").value()->elementAt(1), copy.get());
    EXPECT_EQ(member(object, "m").value()->elementAt(1), object.get());
}

TEST_F(ObjectTest, InstanceOfAClassWithoutCode) {
    Ref cls = list({integer(1)});
    member(cls, "count")->substitute(integer(3));
    Ref body = function({new RETURN});
    cls.value()->setMember("run", body);
    cls.value()->setMember("native", Ref(new vCMethod(boundSelf, nullptr)));
    Env env;
    Ref instance = cls.value()->instantiateSync(env, makeEmpty(), cls.get());
    EXPECT_EQ(type(instance), TYPE_OBJECT);
    EXPECT_EQ(instance.value()->code(), nullptr);
    EXPECT_NE(element(instance, 0).get(), element(cls, 0).get());
    EXPECT_EQ(member(instance, "count").value()->toInt(), 3);
    EXPECT_NE(member(instance, "count").get(), member(cls, "count").get());
    Ref run = member(instance, "run");
    EXPECT_EQ(type(run), TYPE_METHOD);
    EXPECT_EQ(run.value()->elementAt(0), body.get());
    EXPECT_EQ(run.value()->elementAt(1), instance.get());
    EXPECT_EQ(member(instance, "native").value()->elementAt(1), instance.get());

    cls.value()->instantiate(env, cls.get());
    Ref pushed = env.pop();
    EXPECT_EQ(member(pushed, "count").value()->toInt(), 3);
}

TEST_F(ObjectTest, ConstructorRunsAndAnswersTheInstance) {
    // x = 5 through the bound object; the argument is dropped.
    Ref cls = function({new VARIABLE("x"), new PUSH_INT(5), new SUBSTITUTION, new POP});
    member(cls, "x")->substitute(integer(0));
    Env env;
    Ref instance = cls.value()->instantiateSync(env, makeEmpty(), cls.get());
    EXPECT_EQ(env.stackSize(), 0u);
    EXPECT_EQ(member(instance, "x").value()->toInt(), 5);
    EXPECT_EQ(member(cls, "x").value()->toInt(), 0);
}

TEST_F(ObjectTest, CallingRunsTheCodeWithItsArgument) {
    // Returns its argument plus 1.
    Ref f = function({new PUSH_INT(1), new ADD, new RETURN});
    Env env;
    Ref result = f.value()->callSync(env, integer(41), f.get());
    EXPECT_EQ(result.value()->toInt(), 42);
    EXPECT_EQ(env.stackSize(), 0u);
    EXPECT_EQ(env.current(), nullptr);
    env.push(integer(1));
    f.value()->call(env, f.get());
    env.drive();
    EXPECT_EQ(env.pop().value()->toInt(), 2);
    // Without code: call leaves the argument, callSync answers nil.
    Ref plain = makeEmpty();
    env.push(integer(7));
    plain.value()->call(env, plain.get());
    EXPECT_EQ(env.pop().value()->toInt(), 7);
    EXPECT_EQ(type(plain.value()->callSync(env, integer(1), plain.get())), TYPE_NIL);
}

TEST_F(ObjectTest, HostCallInsideARunningScriptRunsOnlyTheCallee) {
    Ref callee = function({new PUSH_INT(10), new ADD, new RETURN});
    Ref caller = function({new PUSH_INT(1), new RETURN});
    Env env;
    env.enter(new FunctionScope(caller.value()->code(), caller.get()));
    // The caller has not run; a host call now must not run it either.
    Ref result = callee.value()->callSync(env, integer(5), callee.get());
    EXPECT_EQ(result.value()->toInt(), 15);
    ASSERT_NE(env.current(), nullptr);
    EXPECT_EQ(env.current()->pc(), 0);
    EXPECT_EQ(env.stackSize(), 0u);
    env.drive();
    EXPECT_EQ(env.pop().value()->toInt(), 1);
}

TEST_F(ObjectTest, PlainValueCallConverts) {
    Env env;
    Ref callee = integer(0);
    env.push(text("12"));
    callee.value()->call(env, callee.get());
    Ref converted = env.pop();
    EXPECT_EQ(type(converted), TYPE_INT);
    EXPECT_EQ(converted.value()->toInt(), 12);
    EXPECT_EQ(callee.value()->toInt(), 0);
    Ref asText = text("");
    env.push(real(1.5));
    asText.value()->call(env, asText.get());
    EXPECT_EQ(str(env.pop()), "1.500000");
    Ref instance = integer(4).value()->instantiateSync(env, makeEmpty(), integer(4).get());
    EXPECT_EQ(instance.value()->toInt(), 4);
}

} // namespace
} // namespace valuetest
