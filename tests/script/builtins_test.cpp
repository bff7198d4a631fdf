// Built-ins whose answers scripts cannot check on their own: the processor
// clock's unit, and the registration itself (the library's names, and that a
// second interpreter re-binds them without losing a script's globals).
#include "interpreter.h"
#include "natives.h"

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

TEST(Builtins, EveryLibraryIsRegistered) {
    Interpreter host;
    for (const char* name : {"int",    "float",   "string", "true",    "false",
                             "nil",    "hex",     "ref",    "pointer", "nullptr",
                             "thread", "object",  "null",   "print",   "type",
                             "range",  "foreach", "new",    "eval",    "GarbageCollection",
                             "strlib", "array",   "table",  "file",    "binary",
                             "time",   "math"})
        EXPECT_NE(Kel::Env::global().value()->findMember(name), nullptr) << name;
    for (const char* name :
         {"char", "ctoi", "length", "substr", "find", "rfind", "split", "getchar", "gets"})
        EXPECT_NE(libraryFunction(host, "strlib", name), nullptr) << name;
    for (const char* name : {"abs", "fabs", "sqrt", "log", "sin", "cos", "tan", "asin", "acos",
                             "atan", "pow", "atan2"})
        EXPECT_NE(libraryFunction(host, "math", name), nullptr) << name;
    EXPECT_EQ(host.getGlobal("time").value()->findMember("CLOCKS_PER_SEC")->value()->toInt(), 1000);
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

} // namespace
