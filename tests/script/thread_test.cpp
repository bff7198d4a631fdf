// Script threads driven from the host: threads dropped, restarted or resumed
// while they run. Yield, resume and a suspended thread's variables are
// checked by the Kel thread scripts.
#include "script_support.h"

#include "thread.h"

using namespace script_test;

namespace {

class Threads : public FreshGlobal {};

Ref makeThread(const Ref& function) {
    return Ref(new vThread(function.get()));
}

Ref resume(const Ref& thread) {
    Env host;
    return thread.value()->callSync(host, makeEmpty(), thread.get());
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
    EXPECT_EQ(type(held), TYPE_INT);
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
    const TupleElements& elements = static_cast<vRArray*>(result.value())->elements();
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(type(elements[0]), TYPE_NIL);
    EXPECT_EQ(intOf(elements[1]), 4);
    EXPECT_FALSE(thread.value()->toBool());
}

} // namespace
