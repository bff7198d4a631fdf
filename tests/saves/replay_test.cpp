// A replay from the trail rebuilds the story: the same message on the screen,
// the same globals, flags and random numbers, and afterwards the same calls,
// messages and menus as the play that was saved.
#include "game/player/ScenarioReplay.h"
#include "game/saves/PlayTrail.h"
#include "game_fixture.h"

#include <ctime>

namespace kura_test {

namespace {

using Kura::ReplayOutcome;
using Kura::ScenarioPlayer;

// Two files, a menu with a sub-menu, a global counter, a random draw, a flag
// and a wait, so that anything run twice or left over shows in the calls.
constexpr const char* SCENE_1 = R"(
global count = 0;
callSetSceneFlagInt("seen", 1);
callWindowManagerAdd(2);
callSoundPlayBGM(1, 80, 100);
for (i = 0; i < 3; i++) {
    count += 1;
    callDispMessage("one " + count + " " + random.int(1, 1000), -1); yield;
    callClearMessage();
}
callSetCommand("go", 1);
callSetSubCommand("go", "left", 1);
callSetSubCommand("go", "right", 1);
callSetCommand("stay", 1);
callWaitSelectCommand(); yield;
pick = callGetSelectCommand();
callEffectWait(500, 1); yield;
callDispMessage("picked " + pick + " at " + count, -1); yield;
callClearMessage();
callGotoNextScript("002.kel");
return 1;
)";
constexpr const char* SCENE_2 = R"(
count += 10;
callDispMessage("two " + count + " " + callGetSceneFlag("seen"), -1); yield;
callClearMessage();
callSetCommand("end", 1);
callWaitSelectCommand(); yield;
callDispMessage("last " + random.int(1, 1000), -1); yield;
return 0;
)";

const std::vector<std::string> ANSWERS = {"go-right", "end"};
constexpr int32_t CHANGE_OF_FILE = 5; // the stops passed when 002.kel begins

class ReplayTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        WriteScenario("001.kel", SCENE_1);
        WriteScenario("002.kel", SCENE_2);
    }
    // Answers the menus from the n-th decision on.
    void AnswerFrom(size_t n) {
        for (size_t i = n; i < ANSWERS.size(); ++i)
            host->answer(ANSWERS[i]);
    }
    // Plays frames until `stops` stops are passed and the story waits again.
    void PlayTo(int32_t stops) {
        for (int frame = 0; frame < MAX_FRAMES; ++frame) {
            const bool waits =
                player->getState() != ScenarioPlayer::STATE_RUNNING && host->waitFrames() == 0;
            if (player->getTrail().stops() == stops && waits) return;
            host->frame();
        }
        FAIL() << "never reached stop " << stops;
    }
    std::string PlayRest() {
        host->clearCalls();
        host->run(MAX_FRAMES);
        return host->callsText();
    }
};

// Stop 2: a message of the loop; 3: the menu; 4: the message after the wait;
// 5: a message of the next file; 6: its menu; 7: its last message. Replayed
// by a fresh player, as a load at the next start, and by the same player
// after playing on to the end, as a rollback: from stop 5 on, that replay
// begins at the checkpoint kept where the next file begins.
TEST_F(ReplayTest, ReplayedStoryGoesOnAsThePlayedOne) {
    for (bool fresh : {true, false}) {
        for (int32_t stop : {2, 3, 4, 5, 6, 7}) {
            SCOPED_TRACE(std::to_string(stop) + (fresh ? " fresh" : " same player"));
            RestartPlayer();
            AnswerFrom(0);
            player->beginPlay("001.kel");
            PlayTo(stop);
            const Kura::PlayTrail trail = player->getTrail();
            const std::string shown = player->getMessageText();
            const std::string rest = PlayRest();

            if (fresh) RestartPlayer();
            const ReplayOutcome outcome = Kura::ScenarioReplay::Replay(*player, trail, stop);
            EXPECT_EQ(outcome.where, ReplayOutcome::AT_POSITION) << outcome.missingDecision;
            EXPECT_EQ(outcome.stops, stop);
            EXPECT_EQ(outcome.begunAt, !fresh && stop >= CHANGE_OF_FILE ? CHANGE_OF_FILE : 0);
            EXPECT_EQ(player->getShownText(), shown);
            EXPECT_EQ(player->getTrail().decisions, trail.decisions);
            AnswerFrom(trail.decisions.size());
            EXPECT_EQ(PlayRest(), rest);
        }
    }
}

// The clock and the random numbers read before a message. A load shows what
// the play showed, though the wall clock has moved on since; a new play draws
// new numbers.
TEST_F(ReplayTest, LoadsReadTheClockAndRandomNumbersOfThePlay) {
    WriteScenario("020.kel", R"(
callDispMessage("" + time.time() + " " + time.clock() + " " + date.text("%H:%M:%S") + " " +
                random.int(1, 1000000000) + " " + random.int(1, 1000000000), -1); yield;
return 0;
)");
    player->beginPlay("020.kel");
    PlayTo(0);
    const Kura::PlayTrail trail = player->getTrail();
    const std::string shown = player->getMessageText();
    for (const time_t played = std::time(nullptr); std::time(nullptr) == played;) {
    }
    RestartPlayer();
    Kura::ScenarioReplay::Replay(*player, trail, trail.stops());
    EXPECT_EQ(player->getShownText(), shown);
    player->beginPlay("020.kel");
    PlayTo(0);
    const std::string draws = shown.substr(shown.rfind(' ', shown.rfind(' ') - 1));
    EXPECT_EQ(player->getMessageText().find(draws), std::string::npos) << draws;
}

// A scene with one menu; each edit changes one piece of it.
struct Scene {
    std::string before = "say(\"C\");";
    std::string item = "x";
    std::string saved = "D";
    std::string after = "say(\"E\");";
    std::string text() const {
        return "say(local t) { callDispMessage(t, -1); yield; callClearMessage(); }\n"
               "say(\"A\"); say(\"B\");\n"
               "callSetCommand(\"" +
               item +
               "\", 1); callSetCommand(\"y\", 1);\n"
               "callWaitSelectCommand(); yield;\n" +
               before + "\n" + (saved.empty() ? "" : "say(\"" + saved + "\");") + after +
               "\nreturn 0;\n";
    }
};

// A save at message D, made before the scene was edited, loads after the edit
// and says where it resumed.
TEST_F(ReplayTest, EditedSceneStillLoads) {
    struct Edit {
        const char* name;
        Scene scene;
        ReplayOutcome::Where where;
        const char* shown; // the message shown, or "" at the menu
    };
    Scene renamed, added, changed, shortened;
    renamed.item = "x2";
    added.before = "say(\"new\"); say(\"C\");";
    changed.saved = "D2";
    shortened.saved = shortened.after = "";
    const std::vector<Edit> edits = {
        {"unchanged", Scene(), ReplayOutcome::AT_POSITION, "D"},
        {"menu item renamed", renamed, ReplayOutcome::DECISION_MISSING, ""},
        {"message added before", added, ReplayOutcome::MESSAGE_MOVED, "D"},
        {"message text changed", changed, ReplayOutcome::MESSAGE_CHANGED, "D2"},
        {"story shortened", shortened, ReplayOutcome::STORY_ENDED, "C"},
    };
    WriteScenario("010.kel", Scene().text());
    host->answer("x");
    player->beginPlay("010.kel");
    PlayTo(4);
    ASSERT_EQ(player->getMessageText(), "D");
    const Kura::PlayTrail trail = player->getTrail();
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        WriteScenario("010.kel", edit.scene.text());
        const ReplayOutcome outcome =
            Kura::ScenarioReplay::ReplayToMessage(*player, trail, trail.stops(), "D");
        EXPECT_EQ(outcome.where, edit.where);
        EXPECT_EQ(player->getShownText(), edit.shown);
        EXPECT_EQ(player->isChoiceOpen(), edit.where == ReplayOutcome::DECISION_MISSING);
    }
}

} // namespace

} // namespace kura_test
