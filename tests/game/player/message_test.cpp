// The message: appending, clearing, the typing step with its auto-advance
// wait, long texts, and the player's states (whole characters only on screen:
// the text conversions' typing prefix).
#include "game_fixture.h"

namespace kura_test {
namespace {

using Kura::ScenarioPlayer;

class Message : public PlayerTest {
protected:
    // Typing steps until the message is complete; answers how many were needed.
    int TypeToEnd(int limit = 100000) {
        int steps = 0;
        while (!player->isMessageComplete() && steps < limit) {
            player->typingStep();
            ++steps;
        }
        return steps;
    }
};

TEST_F(Message, TypingShowsOneByteAStepThenFiresTheWaitOnce) {
    RunScript("callDispMessage(\"abc\", 3); yield;");
    EXPECT_EQ(player->getState(), ScenarioPlayer::STATE_MESSAGE);
    EXPECT_EQ(player->getShownText(), "");
    player->typingStep();
    EXPECT_EQ(player->getShownText(), "a");
    player->typingStep();
    player->typingStep();
    EXPECT_EQ(player->getShownText(), "abc");
    EXPECT_TRUE(player->isMessageComplete());
    EXPECT_FALSE(player->isMessageCompleteAndReported());
    EXPECT_EQ(host->callsText(), "");
    player->typingStep();
    EXPECT_EQ(host->callsText(), "effectWait(3,1)\n");
    EXPECT_TRUE(player->isMessageCompleteAndReported());
    player->typingStep();
    player->typingStep();
    EXPECT_EQ(host->callsText(), "effectWait(3,1)\n");
    EXPECT_EQ(player->getAutoAdvanceTime(), ScenarioPlayer::AUTO_ADVANCE_DONE);
}

// Auto-advance 0 advances after the shortest wait; -1 waits for the player.
TEST_F(Message, AutoAdvanceZeroAndNone) {
    for (auto [time, calls] : {std::pair{"0", "effectWait(1,1)\n"}, {"-1", ""}}) {
        RunScript(std::string("callDispMessage(\"hi\", ") + time + "); yield;");
        EXPECT_EQ(TypeToEnd(), 2);
        player->typingStep();
        player->typingStep();
        EXPECT_TRUE(player->isMessageCompleteAndReported());
        EXPECT_EQ(host->callsText(), calls) << time;
    }
}

// A second message is appended, and typing goes on behind a text added after
// the first was shown whole; clearing empties both.
TEST_F(Message, MessagesAppendAndClearEmptiesThem) {
    RunScript("callDispMessage(\"one \", -1); callDispMessage(\"two\", 5); yield;"
              "callDispMessage(\"で\", -1); yield; callClearMessage(); yield;");
    EXPECT_EQ(player->getMessageText(), "one two");
    EXPECT_EQ(player->getAutoAdvanceTime(), 5);
    TypeToEnd();
    EXPECT_EQ(player->getShownText(), "one two");
    player->resume();
    EXPECT_FALSE(player->isMessageComplete());
    EXPECT_EQ(TypeToEnd(), 2);
    EXPECT_EQ(player->getShownText(), "one twoで");
    player->resume();
    EXPECT_EQ(player->getMessageText(), "");
    EXPECT_EQ(player->getShownText(), "");
    EXPECT_TRUE(player->isMessageComplete());
}

TEST_F(Message, LongMessageIsKeptWhole) {
    // About 26 000 bytes, far past any fixed conversion buffer.
    const std::string line = "長い物語の一行です。0123456789abcdef\n";
    const int lines = 700;
    RunScript("t = \"\"; for (i = 0; i < " + std::to_string(lines) + "; i++) t += \"" +
              "長い物語の一行です。0123456789abcdef\\n\"; callDispMessage(t, -1); yield;");
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += line;
    ASSERT_EQ(player->getMessageText().size(), text.size());
    EXPECT_EQ(player->getMessageText(), text);
    const int lineWidth = 10 * 2 + 17; // ten double-byte characters, 17 single
    EXPECT_EQ(TypeToEnd(), lines * lineWidth);
    EXPECT_EQ(player->getShownText(), text);
}

// (A message's state, and a reload's: the typing and flow tests.)
TEST_F(Message, CommandsThatWaitSetTheState) {
    RunScript("callWaitSelectCommand(); yield; callWaitSelectInterruptCommand(); yield;"
              "callDispMessage(\"b\", -1); yield;");
    EXPECT_EQ(player->getState(), ScenarioPlayer::STATE_SELECT_COMMAND);
    player->resume();
    EXPECT_EQ(player->getState(), ScenarioPlayer::STATE_SELECT_INTERRUPT);
    player->resume();
    EXPECT_EQ(player->getState(), ScenarioPlayer::STATE_MESSAGE);
    EXPECT_EQ(host->callsText(), "waitSelectCommand()\nwaitSelectInterruptCommand()\n");
}

TEST_F(Message, HostWaitsForTheAutoAdvanceAndResumes) {
    // 100 ms are 6 frames at 60 frames a second.
    WriteScenario("auto.kel", "callDispMessage(\"ab\", 100); yield; callWindowOpen(4); yield;");
    player->start("auto.kel");
    host->clearCalls();
    host->frame(); // runs to the message
    host->frame(); // types both bytes
    host->frame(); // the wait is handed on
    EXPECT_EQ(host->callsText(), "effectWait(100,1)\n");
    EXPECT_EQ(host->waitFrames(), 6);
    for (int frame = 0; frame < 5; ++frame)
        host->frame();
    EXPECT_EQ(host->callsText(), "effectWait(100,1)\n");
    // The wait resumes the script; the same frame's game step then finds the
    // message complete and advances past it, as a key press would.
    host->frame();
    EXPECT_EQ(host->callsText(), "effectWait(100,1)\nwindowOpen(4)\nadvance(ab)\n");
}

} // namespace
} // namespace kura_test
