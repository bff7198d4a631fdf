// How a story runs through its files: a file that ends with a value other than
// 0 after naming the next one continues there with the flags kept; 0 or
// nothing stops; a file that does not load or is missing is reported and the
// player goes on; a scene that runs away is stopped.
// (One message and one choice on their whole road: the end-to-end demo run.)
#include "game_fixture.h"

namespace kura_test {
namespace {

using Kura::ScenarioPlayer;

using Flow = PlayerTest;

TEST_F(Flow, ReturningOneContinuesInTheNextFileWithFlagsKept) {
    WriteScenario("001.kel",
                  "callSetSceneFlagInt(\"met\", 1); callSetGlobalFlagString(\"route\", \"b\");"
                  "callGotoNextScript(\"002.kel\"); return 1;");
    WriteScenario("002.kel",
                  "callWindowOpen(2);"
                  "callSetSceneFlagString(\"seen\", callGetSceneFlag(\"met\") + scriptName);"
                  "return 0;");
    StartAndRun("001.kel");
    EXPECT_FALSE(player->isScriptRunning());
    EXPECT_EQ(player->getScriptName(), "002.kel");
    EXPECT_EQ(SceneFlag("met"), "1");
    EXPECT_EQ(GlobalFlag("route"), "b");
    EXPECT_EQ(SceneFlag("seen"), "1002.kel");
    EXPECT_EQ(player->getNowScene(), "002");
    EXPECT_EQ(host->callsText(), "clearSceneFlag()\nclearGlobalFlag()\n"
                                 "setSceneFlagInt(met,1)\nsetGlobalFlagString(route,b)\n"
                                 "gotoNextScript(002.kel)\nwindowOpen(2)\n"
                                 "setSceneFlagString(seen,1002.kel)\n");
}

TEST_F(Flow, ReturningZeroOrNothingStops) {
    WriteScenario("next.kel", "callWindowOpen(9);");
    WriteScenario("zero.kel", "callGotoNextScript(\"next.kel\"); return 0;");
    WriteScenario("nothing.kel", "callGotoNextScript(\"next.kel\"); yield;");
    StartAndRun("zero.kel");
    EXPECT_FALSE(player->isScriptRunning());
    StartAndRun("nothing.kel");
    EXPECT_FALSE(player->isScriptRunning());
    EXPECT_EQ(host->callsText().find("windowOpen(9)"), std::string::npos);
}

TEST_F(Flow, AFileThatDoesNotCompileIsReportedAndThePlayerGoesOn) {
    WriteScenario("001.kel", "callSetGlobalFlagInt(\"g\", 5); callGotoNextScript(\"002.kel\");"
                             "return 1;");
    WriteScenario("002.kel", "callWindowOpen(1; yield;");
    testing::internal::CaptureStdout();
    StartAndRun("001.kel");
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("002.kel"), std::string::npos);
    std::string report = NewReports();
    EXPECT_EQ(report.find("File=src\\game\\ScenarioPlayer\n"), 0u);
    EXPECT_NE(report.find("Func=ScenarioPlayer::reload\nmes=0\n"), std::string::npos);
    EXPECT_EQ(player->getState(), ScenarioPlayer::STATE_RUNNING);
    EXPECT_EQ(player->getScriptName(), "002.kel");
    EXPECT_EQ(GlobalFlag("g"), "5");
    EXPECT_EQ(host->callsText().find("windowOpen"), std::string::npos);
    // Frames go on without a script, and a good file starts as before.
    for (int frame = 0; frame < 10; ++frame)
        host->frame();
    WriteScenario("003.kel", "callWindowOpen(3); return 0;");
    StartAndRun("003.kel");
    EXPECT_NE(host->callsText().find("windowOpen(3)"), std::string::npos);
    // A missing file is reported the same way, with its path.
    player->start("absent.kel");
    EXPECT_NE(NewReports().find("Func=ScenarioPlayer::reload\nmes=scenario file not loaded: "
                                "data/game1/scenario/absent.kel\n"),
              std::string::npos);
    EXPECT_FALSE(player->isScriptRunning());
}

// A scene that never waits is stopped by the bound once, reported where it
// was, and not resumed again; the next game starts as usual.
TEST_F(Flow, ARunawaySceneIsStoppedOnceAndReportedWithItsFileAndLine) {
    WriteScenario("001.kel", "callSetSceneFlagInt(\"a\", 1);\nwhile (1) {\n}\n");
    StartAndRun("001.kel", 3);
    EXPECT_EQ(SceneFlag("a"), "1");
    std::string report = NewReports();
    EXPECT_EQ(report.find("File="), report.rfind("File=")); // once, though 3 frames ran
    EXPECT_EQ(report.substr(report.find("\nFunc=")),
              "\nFunc=ScenarioPlayer::resume\nmes=script stopped after 20000000 instructions "
              "without waiting: data/game1/scenario/001.kel line 2\n");
    WriteScenario("002.kel", "callWindowOpen(3); return 0;");
    StartAndRun("002.kel");
    EXPECT_NE(host->callsText().find("windowOpen(3)"), std::string::npos);
}

} // namespace
} // namespace kura_test
