// A slot that resumes or restarts the player from inside the command that
// fired it is refused with a report, and the script runs on unharmed.
#include "game_fixture.h"

#include "game/player/ScenarioSignals.h"

namespace kura_test {
namespace {

using Reentry = PlayerTest;

TEST_F(Reentry, ResumeAndStartInsideTheScriptAreRefused) {
    WriteScenario("other.kel", "callWindowOpen(99); return 0;");
    boost::signals2::scoped_connection slot = player->signals().onWindowOpen.connect([this](int) {
        player->resume();
        player->start("other.kel");
        player->reload(false, false);
    });
    RunScript("callWindowOpen(1); callSetSceneFlagInt(\"after\", 1); yield;");
    EXPECT_EQ(SceneFlag("after"), "1");
    EXPECT_EQ(player->getScriptName(), "script.kel");
    std::string reports = NewReports();
    EXPECT_NE(reports.find("Func=ScenarioPlayer::resume\nmes=!running\n"), std::string::npos);
    EXPECT_NE(reports.find("Func=ScenarioPlayer::start\nmes=!running\n"), std::string::npos);
    EXPECT_NE(reports.find("Func=ScenarioPlayer::reload\nmes=!running\n"), std::string::npos);
    EXPECT_EQ(host->callsText(), "windowOpen(1)\nsetSceneFlagInt(after,1)\n");
}

} // namespace
} // namespace kura_test
