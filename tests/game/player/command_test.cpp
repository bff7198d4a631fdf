// The menus of choices: items added and updated by exact text with a signal
// only on a change, sub-items under a parent, the interrupt list, and the
// chosen text handed back to the script.
#include "game_fixture.h"

namespace kura_test {
namespace {

using Kura::CommandList;

std::string Describe(const CommandList& items) {
    std::string text;
    for (const Kura::CommandItem& item : items) {
        text += item.text + "=" + std::to_string(item.value);
        if (!item.subItems.empty()) text += "{" + Describe(item.subItems) + "}";
        text += ";";
    }
    return text;
}

using Commands = PlayerTest;

TEST_F(Commands, SameItemTwiceAddsOnceAndSignalsOnlyOnChange) {
    RunScript("callSetCommand(\"A\", 1); callSetCommand(\"A\", 1); callSetCommand(\"B\", 2);"
              "callSetCommand(\"A\", 0); yield;");
    EXPECT_EQ(Describe(player->getCommands()), "A=0;B=2;");
    EXPECT_EQ(host->callsText(), "setCommand(A,1)\nsetCommand(B,2)\nsetCommand(A,0)\n");
    // A new file starts with an empty list.
    WriteScenario("next.kel", "yield;");
    RunScript("callSetCommand(\"A\", 1); callGotoNextScript(\"next.kel\"); return 1;");
    EXPECT_EQ(player->getScriptName(), "next.kel");
    EXPECT_EQ(Describe(player->getCommands()), "");
}

TEST_F(Commands, SubItemsGoUnderTheirParentOnly) {
    RunScript(
        "callSetCommand(\"つづきから\", 1); callSetSubCommand(\"つづきから\", \"1\", 1);"
        "callSetSubCommand(\"つづきから\", \"1\", 1); callSetSubCommand(\"つづきから\", \"2\", 1);"
        "callSetSubCommand(\"つづきから\", \"1\", 0); callSetSubCommand(\"ない\", \"x\", 1);"
        "yield;");
    EXPECT_EQ(Describe(player->getCommands()), "つづきから=1{1=0;2=1;};");
    EXPECT_EQ(host->callsText(), "setCommand(つづきから,1)\n"
                                 "setSubCommand(つづきから,1,1)\n"
                                 "setSubCommand(つづきから,2,1)\n"
                                 "setSubCommand(つづきから,1,0)\n");
}

TEST_F(Commands, InterruptListIsItsOwn) {
    RunScript("callSetCommand(\"A\", 1); callSetInterruptCommand(\"A\", 2);"
              "callSetInterruptCommand(\"A\", 2); callSetInterruptCommand(\"Save\", 1); yield;"
              "callClearInterruptCommand(); yield;");
    EXPECT_EQ(Describe(player->getCommands()), "A=1;");
    EXPECT_EQ(Describe(player->getInterruptCommands()), "A=2;Save=1;");
    EXPECT_EQ(host->callsText(),
              "setCommand(A,1)\nsetInterruptCommand(A,2)\nsetInterruptCommand(Save,1)\n");
    player->resume();
    EXPECT_EQ(Describe(player->getInterruptCommands()), "");
    EXPECT_EQ(Describe(player->getCommands()), "A=1;");
}

TEST_F(Commands, ChosenTextReachesTheScript) {
    WriteScenario("menu.kel", "callSetCommand(\"はい\", 1); callSetCommand(\"いいえ\", 1);"
                              "callWaitSelectCommand(); yield;"
                              "callSetSceneFlagString(\"first\", callGetSelectCommand());"
                              "callWaitSelectInterruptCommand(); yield;"
                              "callSetSceneFlagString(\"second\", callGetSelectInterruptCommand());"
                              "return 0;");
    host->answer("いいえ");
    host->answer("Save");
    StartAndRun("menu.kel");
    EXPECT_FALSE(player->isScriptRunning());
    EXPECT_EQ(SceneFlag("first"), "いいえ");
    EXPECT_EQ(SceneFlag("second"), "Save");
    EXPECT_EQ(player->getSelectedText(), "Save");
}

TEST_F(Commands, HostWaitsWhileAMenuHasNoAnswer) {
    WriteScenario("menu.kel", "callSetCommand(\"A\", 1); callWaitSelectCommand(); yield;"
                              "callWindowOpen(1); return 0;");
    StartAndRun("menu.kel");
    EXPECT_TRUE(host->waitsForAnswer());
    EXPECT_EQ(host->callsText().find("windowOpen"), std::string::npos);
    host->answer("A");
    host->run(MAX_FRAMES);
    EXPECT_NE(host->callsText().find("select(A)\nwindowOpen(1)\n"), std::string::npos);
}

} // namespace
} // namespace kura_test
