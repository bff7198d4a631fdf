// The host interface: every binding shape receives the converted arguments
// and answers the right result, interpreters share the global object, and
// loadFile / run report what the host needs to know.
#include "interpreter.h"

#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using Kel::Interpreter;
using Kel::Ref;

// What the last host function was called with.
std::string g_calls;

void record(const std::string& call) {
    g_calls += call + ";";
}

std::string n(int value) {
    return std::to_string(value);
}

// The cases of host_test.kel.
enum ScriptCase { SHAPES, ONE_VALUE, SHORT_LIST, RESULTS };

class Host : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        g_calls.clear();
        // One binding of every shape; each records what it received.
        bind("v0", [] { record("v0"); });
        bind("v1i", [](int a) { record("v1i " + n(a)); });
        bind("v1s", [](const char* a) { record(std::string("v1s ") + a); });
        bind("v2ii", [](int a, int b) { record("v2ii " + n(a) + " " + n(b)); });
        bind("v2is", [](int a, const char* b) { record("v2is " + n(a) + " " + b); });
        bind("v2si", [](const char* a, int b) { record(std::string("v2si ") + a + " " + n(b)); });
        bind("v2ss",
             [](const char* a, const char* b) { record(std::string("v2ss ") + a + " " + b); });
        bind("v3iii",
             [](int a, int b, int c) { record("v3iii " + n(a) + " " + n(b) + " " + n(c)); });
        bind("v3iss", [](int a, const char* b, const char* c) {
            record("v3iss " + n(a) + " " + b + " " + c);
        });
        bind("v3ssi", [](const char* a, const char* b, int c) {
            record(std::string("v3ssi ") + a + " " + b + " " + n(c));
        });
        bind("v4", [](int a, int b, int c, int d) {
            record("v4 " + n(a + b * 10 + c * 100 + d * 1000));
        });
        bind("v5", [](int a, int b, int c, int d, int e) {
            record("v5 " + n(a + b * 10 + c * 100 + d * 1000 + e * 10000));
        });
        bind("r0", [] { return "from host"; });
        bind("r1ii", [](int a) { return a * 2; });
        bind("r1is", [](const char* a) { return int(std::string(a).size()); });
        // Storage the host overwrites on its next call: the script must keep a copy.
        bind("r1si", [](int a) {
            static std::string text;
            text = "n" + n(a);
            return text.c_str();
        });
        bind("r1ss", [](const char* a) {
            static std::string text;
            text = std::string(a) + "!";
            return text.c_str();
        });
        bind("rnull", []() -> const char* { return nullptr; });
    }

    // Runs case `number` of host_test.kel, which lies beside this file.
    void runCase(int number) {
        std::string script =
            (std::filesystem::path(__FILE__).parent_path() / "host_test.kel").string();
        ASSERT_EQ(host.loadFile(script), Interpreter::LOADED);
        host.run(number);
        EXPECT_FALSE(host.isRunning());
    }

    // Loads and runs `source` to its end; answers what it left.
    Ref runText(const std::string& source) {
        EXPECT_EQ(host.loadText(source, "host"), Interpreter::LOADED);
        Ref result = host.run(0);
        EXPECT_FALSE(host.isRunning());
        return result;
    }

    template <class Function> void bind(const char* name, Function function) {
        host.registerFunction(name, +function);
    }

    std::string global(const char* name) { return host.getGlobal(name).value()->toString().str(); }

    Interpreter host;
};

// Every shape receives converted arguments; one value fills every parameter;
// missing arguments come from the short list.
TEST_F(Host, BindingsReceiveConvertedArguments) {
    const std::pair<ScriptCase, const char*> cases[] = {
        {SHAPES, "v0;v1i 42;v1s 7;v2ii 1 2;v2is 3 x;v2si y 4;v2ss p q;v3iii 1 2 3;"
                 "v3iss 1 a 3;v3ssi a 2 3;v4 4321;v5 54321;"},
        {ONE_VALUE, "v2ii 6 6;v2ss w w;v3iss 5 5 5;"},
        {SHORT_LIST, "v3iss 9 a [null];"},
    };
    for (auto [number, calls] : cases) {
        g_calls.clear();
        runCase(number);
        EXPECT_EQ(g_calls, calls) << number;
    }
}

TEST_F(Host, VoidShapesAnswerTheirArgumentResultShapesANewValue) {
    runCase(RESULTS);
    const std::pair<const char*, const char*> globals[] = {
        {"a", "5"},   {"typeOfA", "int"}, {"b", "n5"},     {"typeOfB", "string"},
        {"c", "42"},  {"typeOfC", "int"}, {"d", "4"},      {"e", "from host"},
        {"f", "hi!"}, {"g", ""},          {"first", "n1"}, {"second", "n2"}};
    for (auto [name, value] : globals)
        EXPECT_EQ(global(name), value) << name;
}

TEST_F(Host, BindingsAreTheirOwnType) {
    runText("global t = type(v2ii); global s = type(r0);");
    EXPECT_EQ(global("t"), "bind function");
    EXPECT_EQ(global("s"), "bind function");
    testing::internal::CaptureStdout();
    runText("print(v0);");
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "[bind function]\n");
}

TEST_F(Host, InterpretersShareTheGlobalObject) {
    Interpreter other;
    ASSERT_EQ(other.loadText("global sharedFromOther = 11; v1i(sharedFromOther);", "other"),
              Interpreter::LOADED);
    other.run(0);
    EXPECT_EQ(g_calls, "v1i 11;");
    runText("global seen = sharedFromOther + 1;");
    EXPECT_EQ(global("seen"), "12");
    other.setGlobal("setByHost", Kel::makeEmpty());
    EXPECT_EQ(host.getGlobal("setByHost").get(), other.getGlobal("setByHost").get());
}

TEST_F(Host, RunHandsValuesThroughYield) {
    ASSERT_EQ(host.loadText("x = yield arg + 1; y = yield x * 10; y + 100;", "yields"),
              Interpreter::LOADED);
    EXPECT_EQ(host.run(1).value()->toInt(), 2);
    EXPECT_TRUE(host.isRunning());
    EXPECT_EQ(host.run(3).value()->toInt(), 30);
    EXPECT_EQ(host.run(4).value()->toInt(), 104);
    EXPECT_FALSE(host.isRunning());
    Ref after = host.run(5);
    EXPECT_EQ(after.value()->toString().str(), "[null]");
}

// A missing global is made empty once; a run with nothing loaded answers an empty object.
TEST_F(Host, MissingGlobalsAndScriptsGiveEmptyObjects) {
    Ref value = host.getGlobal("neverSetAnywhere");
    EXPECT_EQ(value.value()->toString().str(), "[null]");
    EXPECT_EQ(value.get(), host.getGlobal("neverSetAnywhere").get());
    EXPECT_EQ(Interpreter().run(1).value()->toString().str(), "[null]");
}

TEST_F(Host, FailedCompileKeepsTheLoadedScript) {
    WriteFile("good.kel", "v1i(arg); x = yield 0; v1i(x + 1);");
    WriteFile("bad.kel", "definedByBadFile { v1i(99); } x = (1;");
    ASSERT_EQ(host.loadFile("good.kel"), Interpreter::LOADED);
    host.run(7);
    testing::internal::CaptureStdout();
    EXPECT_EQ(host.loadFile("bad.kel"), Interpreter::COMPILE_FAILED);
    std::fflush(stdout);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("1 error in compile"), std::string::npos);
    EXPECT_TRUE(host.isRunning());
    EXPECT_EQ(Kel::Env::global().value()->findMember("definedByBadFile"), nullptr);
    host.run(20);
    EXPECT_FALSE(host.isRunning());
    EXPECT_EQ(g_calls, "v1i 7;v1i 21;");
}

TEST_F(Host, LoadingReplacesAScriptThatHasNotEnded) {
    WriteFile("first.kel", "yield 1; v0();");
    WriteFile("second.kel", "v1i(2);");
    ASSERT_EQ(host.loadFile("first.kel"), Interpreter::LOADED);
    host.run(0);
    ASSERT_EQ(host.loadFile("second.kel"), Interpreter::LOADED);
    host.run(0);
    EXPECT_FALSE(host.isRunning());
    EXPECT_EQ(g_calls, "v1i 2;");
}

} // namespace
