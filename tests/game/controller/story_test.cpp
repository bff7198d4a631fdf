// The story frame by frame: typing (the widths of Japanese text are the text
// conversions' and the message's), advancing by click or Z, auto-advance and
// other waits, the typing sound, and the items menus of choices show.
// (A message without a speaker reporting nothing: the end-to-end faulty game.)
#include "window_fixture.h"

#include "of/Audio.h"
#include "of/SimpleMenu.h"

namespace controller_test {
namespace {

using Kura::Audio;
using Kura::ScenarioPlayer;

constexpr int CENTRE_X = 480;
constexpr int CENTRE_Y = 320;

using Story = GameTest;

// A wait shorter than a frame still resumes by itself.
TEST_F(Story, AutoAdvanceWaitsItsTimeAndIgnoresInput) {
    NewGame("callWindowManagerClearAll(); callDispMessage(\"abcd\", 1000); yield;"
            "callSetSceneFlagInt(\"after\", 1); callClearMessage(); callDispMessage(\"a\", 10);"
            "yield; callSetSceneFlagInt(\"short\", 1); yield;");
    ASSERT_TRUE(UpdateUntil(
        [&] { return player().getAutoAdvanceTime() == ScenarioPlayer::AUTO_ADVANCE_DONE; }));
    EXPECT_EQ(game().getWait(), 60); // 1000 ms at 60 frames per second
    EXPECT_TRUE(game().isResumeAfterWait());
    Tap('z');
    MoveMouse(CENTRE_X, CENTRE_Y);
    Click();
    Updates(59);
    EXPECT_EQ(SceneFlag("after"), "");
    Update();
    EXPECT_EQ(SceneFlag("after"), "1");
    EXPECT_TRUE(UpdateUntil([&] { return SceneFlag("short") == "1"; }, 5));
}

TEST_F(Story, TypingTakesTwoBytesAFrameAndOneWhileTheButtonIsHeld) {
    NewGame("callWindowManagerClearAll(); callDispMessage(\"abcdefghijklmnopqrst\", -1); yield;"
            "callClearMessage(); callDispMessage(\"abcdefghijklmnopqrst\", -1); yield;");
    Updates(9);
    EXPECT_EQ(player().getShownText().size(), 18u);
    EXPECT_FALSE(player().isMessageComplete());
    Update();
    EXPECT_TRUE(player().isMessageComplete());

    Tap('z');
    Updates(3); // read, advanced, then the next message types its first bytes
    ASSERT_EQ(player().getShownText(), "ab");
    MoveMouse(CENTRE_X, CENTRE_Y);
    PressButton();
    Update(); // the story still reads the button as up; the controller sees it go down
    EXPECT_EQ(player().getShownText().size(), 4u);
    Updates(5);
    EXPECT_EQ(player().getShownText().size(), 9u);
    ReleaseButton();
    Update(); // read as held one last time
    Update();
    EXPECT_EQ(player().getShownText().size(), 12u);
}

TEST_F(Story, WaitWithResumeRunningOutWhileRunningResumesTwice) {
    NewGame("callWindowManagerClearAll(); callEffectWait(100, 1); yield;"
            "callSetSceneFlagInt(\"a\", 1); yield; callSetSceneFlagInt(\"b\", 1); yield;"
            "callSetSceneFlagInt(\"c\", 1); yield;");
    EXPECT_EQ(game().getWait(), 6);
    Updates(5);
    EXPECT_EQ(SceneFlag("a"), "");
    Update();
    EXPECT_EQ(SceneFlag("a"), "1");
    EXPECT_EQ(SceneFlag("b"), "1");
    EXPECT_EQ(SceneFlag("c"), "");
}

TEST_F(Story, TypingSoundIsTheSpeakersEveryThirdFrame) {
    WritePicture("data/game1/image/chara/beni_0.png", 16, 16, {255, 0, 0});
    NewGame("callWindowManagerClearAll(); callSetCharaInfo(1, \"\", \"\");"
            "callWindowManagerAdd(4); callSetMessageWindowCharacter(1, 0, 0);"
            "callDispMessage(\"abcdefghijklmnopqrstuvwxyz\", -1); yield;");
    const int beni = SE_TYPING_FIRST + 1;
    Updates(3);
    EXPECT_FALSE(Audio::IsPlayingSe(beni));
    Update(); // message frame 3
    EXPECT_TRUE(Audio::IsPlayingSe(beni));
    EXPECT_FALSE(Audio::IsPlayingSe(SE_TYPING_FIRST));
    ASSERT_TRUE(UpdateUntil([&] { return player().isMessageComplete(); }));
    Update();
    EXPECT_FALSE(Audio::IsPlayingSe(beni));
}

// Items of value 0 stay out of a menu and its sub-menus; with none left the
// menu has no rows. (The paths decided through them: the history's test and the
// end-to-end demo run.)
TEST_F(Story, MenusShowOnlyItemsOfValueNotZero) {
    NewGame(R"(callWindowManagerClearAll();
        callSetCommand("A", 1); callSetCommand("B", 0); callSetCommand("C", 1);
        callSetSubCommand("C", "c1", 0); callSetSubCommand("C", "c2", 1);
        callWaitSelectCommand(); yield;
        callSetCommand("A", 0); callSetCommand("C", 0);
        callWaitSelectCommand(); yield;)");
    Update();
    Kura::SimpleMenu& menu = game().getCommandMenu();
    ASSERT_EQ(menu.GetRow(), 2);
    EXPECT_EQ(menu.GetColumn(), 1);
    EXPECT_EQ(menu.GetMenuItemName(0), L"A");
    EXPECT_EQ(menu.GetMenuItemName(1), L"C");
    ASSERT_NE(menu.GetChild(1), nullptr);
    EXPECT_EQ(menu.GetChild(1)->GetRow(), 1);
    EXPECT_EQ(menu.GetChild(1)->GetMenuItemName(0), L"c2");
    WaitMenuReady(menu);
    TapAndSettle('z');
    Update();
    EXPECT_EQ(player().getState(), ScenarioPlayer::STATE_SELECT_COMMAND);
    EXPECT_EQ(menu.GetRow(), 0);
}

// Two waits for a choice with no message between leave the player's state as
// it was; the second menu must still be built and answered.
TEST_F(Story, TwoChoicesInARowBothReachTheScript) {
    NewGame(R"(callWindowManagerClearAll();
        callSetCommand("A", 1); callSetCommand("B", 1);
        callWaitSelectCommand(); yield;
        callSetSceneFlagString("first", callGetSelectCommand());
        callSetCommand("A", 0); callSetCommand("B", 0); callSetCommand("C", 1);
        callWaitSelectCommand(); yield;
        callSetSceneFlagString("second", callGetSelectCommand());
        callDispMessage("done", -1); yield;)");
    Update();
    Kura::SimpleMenu& menu = game().getCommandMenu();
    WaitMenuReady(menu);
    TapAndSettle('z');
    EXPECT_EQ(SceneFlag("first"), "A");
    Update();
    ASSERT_EQ(menu.GetRow(), 1);
    EXPECT_EQ(menu.GetMenuItemName(0), L"C");
    WaitMenuReady(menu);
    TapAndSettle('z');
    EXPECT_EQ(SceneFlag("second"), "C");
    EXPECT_TRUE(UpdateUntil([&] { return MessageShown(); }));
}

} // namespace
} // namespace controller_test
