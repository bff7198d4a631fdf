// The instruction budget: a host bounds a run, and whatever the script does --
// loop, recurse, run threads, callbacks or destructors -- control comes back
// once the budget is spent, and the script can go on when given a new one.
#include "env.h"
#include "interpreter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Kel::Env;
using Kel::Interpreter;

// Each test leaves the process unbounded again, as the other suites expect.
class BudgetTest : public ::testing::Test {
protected:
    void TearDown() override { Interpreter::clearInstructionBudget(); }

    // Loads `text`, runs it within `budget` instructions and answers whether
    // the run was cut short by the budget.
    bool runsOutOfBudget(const std::string& text, int64_t budget) {
        EXPECT_EQ(m_interpreter.loadText(text, "budget.kel"), Interpreter::LOADED);
        Interpreter::setInstructionBudget(budget);
        m_interpreter.run(0);
        return Interpreter::budgetExhausted();
    }

    int global(const char* name) { return m_interpreter.getGlobal(name).value()->toInt(); }

    Interpreter m_interpreter;
};

TEST_F(BudgetTest, EndlessLoopsComeBackWhenTheBudgetIsSpent) {
    EXPECT_TRUE(runsOutOfBudget("for (;;) {}", 10000));
    EXPECT_TRUE(m_interpreter.isRunning());
    EXPECT_TRUE(runsOutOfBudget("while (1) ;", 10000));
    EXPECT_TRUE(runsOutOfBudget("again: goto again;", 10000));
    EXPECT_TRUE(runsOutOfBudget("f(local n) { return f(n + 1); } f(0);", 10000));
    EXPECT_TRUE(runsOutOfBudget("f(local n) { return 1 + f(n + 1); } f(0);", 10000));
}

TEST_F(BudgetTest, NestedRunsShareTheBudget) {
    // A thread, a foreach callback, eval'd code and a destructor all run in
    // environments of their own inside the host's call.
    // Names no other suite makes global: the global object outlives a test.
    EXPECT_TRUE(runsOutOfBudget("spin(local x) { for (;;) {} } th = thread(spin); th(1);", 10000));
    EXPECT_TRUE(runsOutOfBudget("spin(local x) { for (;;) {} } foreach(range(3), spin);", 10000));
    EXPECT_TRUE(runsOutOfBudget("ev = eval(\"for (;;) {}\"); ev(0);", 10000));
    EXPECT_TRUE(runsOutOfBudget(
        "C { destructor(local u) { for (;;) {} } } make(local u) { C c; return 0; } make(0);",
        10000));
}

TEST_F(BudgetTest, AStoppedRunGoesOnWithANewBudgetAndAWholeOneRunsToTheEnd) {
    const char* text = "global total = 0; for (i = 0; i < 1000; i++) total += i;";
    ASSERT_TRUE(runsOutOfBudget(text, 500));
    int partial = global("total");
    EXPECT_GT(partial, 0);
    EXPECT_LT(partial, 499500);
    // The stop falls between two instructions, so nothing is lost or repeated.
    Env::setInstructionBudget(1000000);
    m_interpreter.run(0);
    EXPECT_FALSE(Env::budgetExhausted());
    EXPECT_FALSE(m_interpreter.isRunning());
    EXPECT_EQ(global("total"), 499500);
    // Within its budget the same script runs to the end in one go.
    EXPECT_FALSE(runsOutOfBudget(text, 1000000));
    EXPECT_FALSE(m_interpreter.isRunning());
    EXPECT_EQ(global("total"), 499500);
}

// A script ends on a budget of exactly the instructions it executes, as
// `kel -d` lists them: the end of a block or a call costs nothing, and a step
// that stands for several instructions counts every one.
TEST_F(BudgetTest, EveryInstructionCountsOnceAndEndsOfBlocksCostNothing) {
    struct Case {
        const char* text;
        int64_t instructions;
    };
    const Case cases[] = {
        {"a = 1;", 6},
        {"{ a = 1; } b = 2;", 11},
        {"a = 1; if (a < 2) a = 3;", 15},
        {"f(local n) { if (n) { a = n; } } f(1); b = 2;", 20},
        {"g(local x, local y) { return x; } g(1, 2); b = 2;", 21},
        // An `if` decided before its block is entered, skipped or returning.
        {"a = 1; if (a > 2) a = 3;", 11},
        {"t[0] = 0; if (t[0]) a = 1;", 13},
        {"f(local n) { if (n < 2) return n; } f(1);", 17},
        {"f(local n) { if (n < 2) return n; } f(3); b = 2;", 18},
        // The same `if` made from a call's arguments before its frame (the
        // second call: the first finds where the parameter is).
        {"f(local n) { if (n < 2) return n; } f(1); f(1); b = 2;", 36},
        {"f(local n) { if (n < 2) return n; } f(3); f(3); b = 2;", 30},
        {"f(local n) { if (n < 2) return n; } f(1); f(f(1)); b = 2;", 49},
        {"f(local n) { if (n < 2) return 9; } f(1); f(1); b = 2;", 36},
        // A native's callback, its arguments bound without their list.
        {"lists.sort(range(2), (local a, local b) { return a < b; }); b = 2;", 26},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(runsOutOfBudget(c.text, c.instructions - 1)) << c.text;
        EXPECT_FALSE(runsOutOfBudget(c.text, c.instructions)) << c.text;
    }
}

} // namespace
