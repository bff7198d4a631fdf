// The history the backlog shows: each message as it reads whole with its
// speaker, each decision, at the stop it was made at; the same after going
// back and after a load, both of which replay the play; no longer than its limit.
#include "window_fixture.h"

#include "game/screens/MessageHistory.h"
#include "of/SimpleMenu.h"

#include <vector>

namespace controller_test {
namespace {

using Entry = Kura::MessageHistory::Entry;

constexpr int KEY_DOWN = 359;
constexpr int MANY = 310; // more messages than the history keeps

// A wait with resume after "two" passes a stop that shows nothing new; "+"
// is added to "four" without clearing it.
const std::string SCENE = R"(callWindowManagerClearAll();
    callSetCharaInfo(0, "", ""); callSetCharaInfo(1, "", "");
    callWindowManagerAdd(4); callWindowManagerAdd(4);
    callSetMessageWindowCharacter(0, 0, 0); callDispMessage("one", -1); yield;
    callSetMessageWindowCharacter(1, 0, 1);
    callClearMessage(); callDispMessage("two", -1); yield;
    callEffectWait(50, 1); yield;
    callClearMessage(); callDispMessage("three", -1); yield;
    callSetCommand("A", 1); callSetSubCommand("A", "a", 1); callWaitSelectCommand(); yield;
    callClearMessage(); callDispMessage("four", -1); yield;
    callDispMessage("+", -1); yield;
    for (i = 0; i < )" + std::to_string(MANY) +
                          R"(; i++) { callClearMessage(); callDispMessage("n", 1); yield; }
    callClearMessage(); callDispMessage("end", -1); yield;)";

const std::vector<Entry> PLAYED = {
    {0, false, "Aoi", "one"}, {1, false, "Beni", "two"},  {3, false, "Beni", "three"},
    {4, true, "", "A-a"},     {5, false, "Beni", "four"}, {6, false, "Beni", "four+"},
};

class History : public GameTest {
protected:
    void AdvanceFrom(const std::string& text) {
        ASSERT_TRUE(UpdateUntil([&] {
            return player().getMessageText() == text && player().isMessageCompleteAndReported();
        }));
        TapAndSettle('z');
    }
    std::vector<Entry> Entries() {
        const auto& kept = game().getHistory().entries();
        return {kept.begin(), kept.end()};
    }
    static std::vector<Entry> Played(size_t count) {
        return {PLAYED.begin(), PLAYED.begin() + count};
    }
};

TEST_F(History, KeepsWhatWasShownAndChosenThroughRollbackAndLoad) {
    NewGame(SCENE);
    for (const char* text : {"one", "two", "three"})
        AdvanceFrom(text);
    Kura::SimpleMenu& menu = game().getCommandMenu();
    WaitMenuReady(menu);
    TapAndSettle('z');
    WaitMenuReady(*menu.GetChild(0));
    TapAndSettle(KEY_DOWN);
    TapAndSettle('z');
    AdvanceFrom("four");
    ASSERT_TRUE(UpdateUntil([&] { return player().getMessageText() == "four+"; }));
    EXPECT_EQ(Entries(), Played(PLAYED.size()));

    const Kura::SlotId slot{Kura::SlotId::NUMBERED, 1};
    ASSERT_TRUE(game().saveTo(slot));
    ASSERT_TRUE(game().rollBackTo(PLAYED[2].stop));
    EXPECT_EQ(player().getMessageText(), "three");
    EXPECT_EQ(Entries(), Played(3));
    ASSERT_TRUE(game().loadFrom(slot));
    EXPECT_EQ(Entries(), Played(PLAYED.size()));

    AdvanceFrom("four+");
    ASSERT_TRUE(UpdateUntil([&] { return player().getMessageText() == "end"; }, 6000));
    const auto& kept = game().getHistory().entries();
    ASSERT_EQ(kept.size(), Kura::MessageHistory::MAX_ENTRIES);
    EXPECT_EQ(kept.back().text, "end");
    EXPECT_EQ(kept.front().text, "n");
    EXPECT_EQ(kept.back().stop - kept.front().stop, int32_t(Kura::MessageHistory::MAX_ENTRIES) - 1);
}

} // namespace
} // namespace controller_test
