// Instruction sequences built in memory and run through the driver: shared
// constants, selection of scalars, jumps that leave the block, scope
// transfers of calls in tail position and a pop from an empty stack. What a
// statement does is checked by the Kel scripts.
#include "script_support.h"

#include "pointer.h"

using namespace script_test;

namespace {

class Operators : public FreshGlobal {};
class Selection : public FreshGlobal {};
class Jumps : public FreshGlobal {};
class Calls : public FreshGlobal {};
class Diagnostics : public FreshGlobal {};

TEST_F(Operators, ConstantsAreSharedButNeverChangedByOperators) {
    auto* negated = new PUSH_INT(5);
    auto* added = new PUSH_INT(5);
    Ref function =
        makeFunction({new POP, negated, new MINUS, added, new PUSH_INT(1), new ADD, new ADD});
    Env env;
    EXPECT_EQ(intOf(run(env, function)), 1);
    EXPECT_EQ(intOf(negated->holder()), 5);
    EXPECT_EQ(intOf(added->holder()), 5);

    PUSH_INT five(5);
    Env direct;
    five.execute(direct);
    five.execute(direct);
    EXPECT_EQ(direct.stack()[0].get(), five.holder().get());
    EXPECT_EQ(direct.stack()[1].get(), five.holder().get());
    direct.stack().clear();
}

TEST_F(Selection, ScalarsAndNonPointersGiveFreshEmptyObjects) {
    // Member, index and dereference of an int, and a negative local index,
    // each push a usable empty object rather than nothing.
    Ref results =
        run({new POP, new PUSH_INT(1), new MEMBER("m"), new PUSH_INT(1), new PUSH_INT(0), new INDEX,
             new LIST, new PUSH_INT(1), new PUSH_STRING("s"), new INDEX, new LIST, new PUSH_INT(1),
             new DEREF, new LIST, new LOCALINDEX(-1), new LIST});
    const TupleElements& elements = static_cast<vRArray*>(results.value())->elements();
    ASSERT_EQ(elements.size(), 5u);
    for (const Ref& element : elements) {
        ASSERT_TRUE(element);
        EXPECT_EQ(str(element), "[null]");
    }
}

// s = 0; i = 1; while (i <= 10) { s += i; i++; } s -- with the loop's exit
// and back jumps given: the condition starts at 9, the exit lands on 21.
int32_t sumOneToTen(OpCode* exit, OpCode* back) {
    return intOf(run({new POP, new VARIABLE("s"), new PUSH_INT(0),   new SUBSTITUTION,
                      new POP, new VARIABLE("i"), new PUSH_INT(1),   new SUBSTITUTION,
                      new POP, new VARIABLE("i"), new PUSH_INT(10),  new LE,
                      exit,    new VARIABLE("s"), new VARIABLE("i"), new SADD,
                      new POP, new VARIABLE("i"), new PINC,          new POP,
                      back,    new VARIABLE("s")}));
}

TEST_F(Jumps, AbsoluteAndRelativeLoopsSumOneToTen) {
    EXPECT_EQ(sumOneToTen(new JF(21), new JMP(9)), 55);
    EXPECT_EQ(sumOneToTen(new JRF(8), new JR(-12)), 55);
}

TEST_F(Jumps, TargetsOutsideTheBlockEndIt) {
    Env env;
    Ref past = run(env, makeFunction({new POP, new PUSH_INT(1), new JMP(1000), new PUSH_INT(2)}));
    EXPECT_EQ(intOf(past), 1);
    // Negative targets come only from damaged code; they must not index the block.
    Ref negative = run(env, makeFunction({new POP, new PUSH_INT(3), new JMP(-5), new PUSH_INT(4)}));
    EXPECT_EQ(intOf(negative), 3);
    Ref backward =
        run(env, makeFunction({new POP, new PUSH_INT(5), new JR(-100), new PUSH_INT(6)}));
    EXPECT_EQ(intOf(backward), 5);
    EXPECT_EQ(env.current(), nullptr);
    EXPECT_EQ(env.stackSize(), 0u);
}

// A class with member `field` = 5 and method `get` answering it.
Ref makeClass(std::initializer_list<OpCode*> constructor) {
    Ref cls = constructor.size() ? makeFunction(constructor) : makeEmpty();
    cls.value()->setMember("field", Ref(new vInt(5)));
    cls.value()->setMember("get", makeFunction({new POP, new VARIABLE("field")}));
    return cls;
}

TEST_F(Calls, CallLastInAConstructorStillGivesTheInstance) {
    ScopedGlobal helper("exec_nine", makeFunction({new POP, new PUSH_INT(9)}));
    ScopedGlobal cls("exec_class",
                     makeClass({new POP, new VARIABLE("exec_nine"), new PUSH_NULL, new CALL}));
    Env env;
    Ref instance = run(env, makeFunction({new POP, new VARIABLE("exec_class"), new INSTANCE}));
    ASSERT_EQ(type(instance), TYPE_OBJECT);
    EXPECT_NE(instance.value()->findMember("field"), nullptr);
    // The helper's 9 was dropped for the instance, and nothing else was left.
    EXPECT_EQ(env.stackSize(), 0u);
}

TEST_F(Calls, CallBeforeReturnReplacesTheCallersScope) {
    // outer() { inner(); return; }  -- inner yields so the chain can be seen.
    ScopedGlobal inner("exec_inner", makeFunction({new POP, new YIELD, new PUSH_INT(3)}));
    Ref outer =
        makeFunction({new POP, new VARIABLE("exec_inner"), new PUSH_NULL, new CALL, new RETURN});
    ScopedGlobal global("exec_outer", outer);
    Env env;
    start(env,
          makeFunction({new POP, new VARIABLE("exec_outer"), new PUSH_NULL, new CALL,
                        new PUSH_INT(1), new ADD}),
          makeEmpty());
    env.drive();
    // top level, then inner: outer's scope has already gone.
    ASSERT_NE(env.current(), nullptr);
    EXPECT_EQ(env.current()->depth(), 2);
    env.drive();
    EXPECT_EQ(intOf(env.pop()), 4);
}

TEST_F(Calls, MillionDeepTailRecursionRunsInConstantDepth) {
    // f() { if (--exec_count) return f(); yield; return 7; }
    Ref f = makeFunction({new POP, new VARIABLE("exec_count"), new PDEC, new JF(8),
                          new VARIABLE("exec_tail"), new PUSH_NULL, new CALL, new RETURN,
                          /* 8 */ new PUSH_INT(7), new YIELD, new RETURN});
    ScopedGlobal function("exec_tail", f);
    ScopedGlobal count("exec_count", Ref(new vInt(1000000)));
    Env env;
    start(env, f, makeEmpty());
    env.drive();
    ASSERT_NE(env.current(), nullptr);
    EXPECT_EQ(intOf(Ref(Env::global().value()->findMember("exec_count"))), 0);
    EXPECT_EQ(env.current()->depth(), 1);
    env.drive();
    EXPECT_EQ(intOf(env.pop()), 7);
    EXPECT_EQ(env.stackSize(), 0u);
}

TEST_F(Diagnostics, PopOfAnEmptyStackReportsAndGoesOn) {
    std::string out = captureStdout([] {
        Ref result = run({new POP, new POP, new PUSH_INT(2)});
        EXPECT_EQ(intOf(result), 2);
    });
    EXPECT_EQ(out, "runtime error : pop empty stack\n\n");
}

} // namespace
