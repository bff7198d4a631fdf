// Scene and global flags kept as text, "NULL" for an empty one, clearing with
// its signal, a new game clearing both; and the two number conversions.
#include "game_fixture.h"

namespace kura_test {
namespace {

using Flags = PlayerTest;

TEST_F(Flags, FlagsAreKeptAsTextAndAnUnsetOneReadsNull) {
    RunScript("callSetSceneFlagInt(\"count\", 7); callSetSceneFlagString(\"name\", \"葵\");"
              "callSetGlobalFlagInt(\"count\", -12); callSetGlobalFlagString(\"route\", \"b\");"
              "callSetSceneFlagString(\"readCount\", callGetSceneFlag(\"count\"));"
              "callSetSceneFlagString(\"readName\", callGetSceneFlag(\"name\"));"
              "callSetGlobalFlagString(\"readCount\", callGetGlobalFlag(\"count\")); yield;");
    EXPECT_EQ(SceneFlag("count"), "7");
    EXPECT_EQ(SceneFlag("readCount"), "7");
    EXPECT_EQ(SceneFlag("readName"), "葵");
    EXPECT_EQ(GlobalFlag("count"), "-12");
    EXPECT_EQ(GlobalFlag("readCount"), "-12");
    EXPECT_EQ(host->callsText(), "setSceneFlagInt(count,7)\n"
                                 "setSceneFlagString(name,葵)\n"
                                 "setGlobalFlagInt(count,-12)\n"
                                 "setGlobalFlagString(route,b)\n"
                                 "setSceneFlagString(readCount,7)\n"
                                 "setSceneFlagString(readName,葵)\n"
                                 "setGlobalFlagString(readCount,-12)\n");
    // An unset or empty flag reads "NULL"; an unset one is created empty.
    RunScript("callSetSceneFlagString(\"a\", callGetGlobalFlag(\"never\"));"
              "callSetSceneFlagString(\"empty\", \"\");"
              "callSetSceneFlagString(\"b\", callGetSceneFlag(\"empty\")); yield;");
    EXPECT_EQ(SceneFlag("a"), "NULL");
    EXPECT_EQ(SceneFlag("b"), "NULL");
    EXPECT_EQ(GlobalFlag("never"), "");
}

// Clearing empties one map and signals; a new game clears both.
TEST_F(Flags, ClearingAndANewGame) {
    RunScript("callSetSceneFlagInt(\"s\", 1); callSetGlobalFlagInt(\"g\", 2); yield;"
              "callClearSceneFlag(); yield; callClearGlobalFlag(); yield;"
              "callSetSceneFlagInt(\"s\", 1); callSetGlobalFlagInt(\"g\", 2); yield;");
    host->clearCalls();
    player->resume();
    EXPECT_TRUE(player->getSceneFlags().empty());
    EXPECT_EQ(GlobalFlag("g"), "2");
    player->resume();
    EXPECT_TRUE(player->getGlobalFlags().empty());
    EXPECT_EQ(host->callsText(), "clearSceneFlag()\nclearGlobalFlag()\n");
    player->resume();
    host->clearCalls();
    WriteScenario("empty.kel", "yield;");
    player->start("empty.kel");
    EXPECT_TRUE(player->getSceneFlags().empty());
    EXPECT_TRUE(player->getGlobalFlags().empty());
    EXPECT_EQ(host->callsText(), "clearSceneFlag()\nclearGlobalFlag()\n");
}

// Each number text holds its own number only; a text's leading number stops
// at the ends of the int range.
TEST_F(Flags, NumbersAndTexts) {
    const char* const cases[][2] = {
        {"callGetStringFromInt(12)", "12"},
        {"callGetStringFromInt(-7)", "-7"},
        {"callGetIntFromString(\"  -42abc\")", "-42"},
        {"callGetIntFromString(\"+7\")", "7"},
        {"callGetIntFromString(\"abc\")", "0"},
        {"callGetIntFromString(\"\")", "0"},
        {"callGetIntFromString(\"010\")", "10"},
        {"callGetIntFromString(\"99999999999\")", "2147483647"},
    };
    std::string script;
    for (size_t i = 0; i < std::size(cases); ++i)
        script +=
            "callSetSceneFlagString(\"" + std::to_string(i) + "\", \"\" + " + cases[i][0] + ");";
    RunScript(script + " yield;");
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(SceneFlag(std::to_string(i)), cases[i][1]) << cases[i][0];
}

} // namespace
} // namespace kura_test
