// Built-ins whose answers scripts cannot check on their own: the processor
// clock's unit, that a second interpreter re-binds the library without
// losing a script's globals, and that a host replays random draws. Every library name is used by
// the Kel scripts.
#include "interpreter.h"
#include "natives.h"
#include "random_source.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

using Kel::Interpreter;
using Kel::Ref;
using Kel::variable::Variable::vCFunction;

Kel::NativeFunction libraryFunction(Interpreter& host, const char* library, const char* name) {
    Kel::Holder* member = host.getGlobal(library).value()->findMember(name);
    if (!member || member->value()->typeCode() != Kel::variable::Variable::TYPE_CFUNCTION)
        return nullptr;
    return static_cast<vCFunction*>(member->value())->function();
}

TEST(Builtins, ClockCountsMilliseconds) {
    Interpreter host;
    Kel::NativeFunction clock = libraryFunction(host, "time", "clock");
    ASSERT_NE(clock, nullptr);
    Ref none = Kel::makeEmpty();
    std::clock_t startTicks = std::clock();
    int32_t startMs = clock(none).value()->toInt();
    // Burn at least 150 ms of processor time.
    volatile unsigned sink = 0;
    while (std::clock() - startTicks < CLOCKS_PER_SEC * 3 / 20)
        sink = sink + 1;
    int32_t spentMs = clock(none).value()->toInt() - startMs;
    long expectedMs = (std::clock() - startTicks) * 1000L / CLOCKS_PER_SEC;
    EXPECT_NEAR(spentMs, expectedMs, 20);
    EXPECT_GE(spentMs, 140);
}

TEST(Builtins, ASecondInterpreterRebindsTheLibraryAndKeepsGlobals) {
    Interpreter first;
    ASSERT_EQ(first.loadText("global print = 5; global keptAcrossCreate = \"kept\";", "first"),
              Interpreter::LOADED);
    first.run(0);
    EXPECT_EQ(first.getGlobal("print").value()->typeCode(), Kel::variable::Variable::TYPE_INT);
    Interpreter second;
    EXPECT_EQ(second.getGlobal("print").value()->typeCode(),
              Kel::variable::Variable::TYPE_CFUNCTION);
    EXPECT_EQ(second.getGlobal("keptAcrossCreate").value()->toString().str(), "kept");
}

// The scenario player records the generator's state where a play begins and
// sets it back to replay: the replay must draw exactly what the play drew and
// leave the generator where the play left it.
TEST(Builtins, RandomStateSetByTheHostReplaysTheDraws) {
    Interpreter host;
    const char* scene = "d = random.int(1, 1000000); f = random.float(); x = range(9);"
                        "random.shuffle(x); \"\" + d + \" \" + f + \" \" + array.join(x, \",\");";
    uint64_t start = Kel::random::state();
    ASSERT_EQ(host.loadText(scene, "scene"), Interpreter::LOADED);
    std::string played = host.run(0).value()->toString().str();
    uint64_t after = Kel::random::state();
    EXPECT_NE(after, start);
    Kel::random::setState(start);
    ASSERT_EQ(host.loadText(scene, "scene"), Interpreter::LOADED);
    EXPECT_EQ(host.run(0).value()->toString().str(), played);
    EXPECT_EQ(Kel::random::state(), after);
}

} // namespace
