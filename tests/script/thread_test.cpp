// Script threads driven from the host: yield and resume, reading a suspended
// thread's variables, and threads dropped or resumed while they run.
// Threads made and resumed by scripts are checked by the Kel thread scripts.
#include "exec_support.h"

#include "thread.h"

using namespace exec_test;

namespace {

class Threads : public FreshGlobal {};

// f() { yield 1; yield 2; return 3; }
Ref makeCounter() {
    return makeFunction({new POP, new PUSH_INT(1), new YIELD, new POP, new PUSH_INT(2), new YIELD,
                         new POP, new PUSH_INT(3)});
}

Ref makeThread(const Ref& function) {
    return Ref(new vThread(function.get()));
}

Ref resume(const Ref& thread, const Ref& argument = makeEmpty()) {
    Env host;
    return thread.value()->callSync(host, argument, thread.get());
}

TEST_F(Threads, YieldOneTwoThenReturnThree) {
    Ref thread = makeThread(makeCounter());
    EXPECT_TRUE(thread.value()->toBool());
    EXPECT_EQ(intOf(resume(thread)), 1);
    EXPECT_TRUE(thread.value()->toBool());
    EXPECT_EQ(intOf(resume(thread)), 2);
    EXPECT_TRUE(thread.value()->toBool());
    EXPECT_EQ(intOf(resume(thread)), 3);
    EXPECT_FALSE(thread.value()->toBool());
    // A dead thread gives nil to the host.
    EXPECT_EQ(typeOf(resume(thread)), TYPE_NIL);
    EXPECT_EQ(textOf(thread), "[Thread]");
}

TEST_F(Threads, ThreadWithoutFunctionOrCodeIsNotAlive) {
    Ref none(new vThread);
    EXPECT_FALSE(none.value()->toBool());
    EXPECT_EQ(none.value()->count(), 0);
    EXPECT_EQ(typeOf(resume(none)), TYPE_NIL);
    EXPECT_FALSE(makeThread(makeEmpty()).value()->toBool());
}

TEST_F(Threads, SuspendedThreadsVariablesCanBeRead) {
    // f() { v = 77; yield; }
    Ref thread = makeThread(makeFunction({new POP, new VARIABLE("v"), new PUSH_INT(77),
                                          new SUBSTITUTION, new POP, new PUSH_NULL, new YIELD}));
    EXPECT_EQ(thread.value()->member("v"), nullptr); // not started: no variables yet
    resume(thread);
    Holder* v = thread.value()->member("v");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->value()->toInt(), 77);
    ScopedGlobal global("exec_seen", Ref(new vInt(5)));
    EXPECT_EQ(thread.value()->member("exec_seen")->value()->toInt(), 5);
    resume(thread);
}

TEST_F(Threads, ThreadReplacedWhileItRunsFinishesItsResume) {
    // The thread replaces its own variable (operator :=) and so deletes itself
    // under its running resume, then yields.
    ScopedGlobal global("exec_self_thread", makeEmpty());
    Holder* variable = Env::global().value()->findMember("exec_self_thread");
    variable->replaceValue(
        new vThread(makeFunction({new POP, new VARIABLE("exec_self_thread"), new PUSH_INT(5),
                                  new ASSIGNMENT, new POP, new PUSH_INT(9), new YIELD})
                        .get()));
    Ref held(variable);
    std::string out = captureStdout([&] { EXPECT_EQ(intOf(resume(held)), 9); });
    EXPECT_EQ(typeOf(held), TYPE_INT);
    EXPECT_EQ(out, "");
}

TEST_F(Threads, ThreadRestartedWhileItRunsFinishesItsResume) {
    ScopedGlobal other("exec_other", makeFunction({new POP, new PUSH_INT(8)}));
    Ref thread = makeThread(
        makeFunction({new POP, new VARIABLE("exec_restarted"), new VARIABLE("exec_other"),
                      new SUBSTITUTION, new POP, new PUSH_INT(1), new YIELD}));
    ScopedGlobal global("exec_restarted", thread);
    EXPECT_EQ(intOf(resume(thread)), 1);
    // The old run is gone; the thread now runs its new function from the start.
    EXPECT_EQ(intOf(resume(thread)), 8);
}

TEST_F(Threads, RunningThreadCannotResumeItself) {
    Ref thread = makeThread(makeFunction({new POP, new VARIABLE("exec_running"), new PUSH_NULL,
                                          new CALL, new PUSH_INT(4), new LIST}));
    ScopedGlobal global("exec_running", thread);
    Ref result = resume(thread);
    const std::vector<Ref>& elements = static_cast<vRArray*>(result.value())->elements();
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(typeOf(elements[0]), TYPE_NIL);
    EXPECT_EQ(intOf(elements[1]), 4);
    EXPECT_FALSE(thread.value()->toBool());
}

} // namespace
