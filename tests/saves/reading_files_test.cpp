// The player's preferences and read marks on disk: what is written reads back,
// defaults come from the game's settings, and any file this game did not write
// gives the defaults (or no marks) with one report. Messages are keyed by text
// and occurrence in their file.
#include "game/reading/Preferences.h"
#include "game/reading/ReadMarks.h"
#include "game_fixture.h"

#include <algorithm>

namespace kura_test {

namespace {

using Kura::MessageKey;
using Kura::Preferences;
using Kura::ReadMarks;

constexpr const char* FILE = "save/file.json";

class ReadingFilesTest : public PlayerTest {
protected:
    size_t Reports() {
        const std::string log = ReadFile("log.txt");
        return static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
    }
};

TEST_F(ReadingFilesTest, PreferencesReadBackOrFallBackToTheGamesDefaults) {
    Kura::Setting::destroy();
    WriteSettings("global text_speed = 1;\nglobal music_volume = 150;\nglobal typing_sound = 0;\n");
    Kura::Setting::create();
    const Preferences defaults = Preferences::FromSettings();
    EXPECT_EQ(defaults.textSpeed, 1);
    EXPECT_EQ(defaults.musicVolume, Kura::PERCENT_FULL); // clamped
    EXPECT_EQ(defaults.fullscreen, 1);                   // "is_fullscreen" 2 is on
    EXPECT_EQ(defaults.typingSound, 0);
    EXPECT_EQ(defaults.autoDelayMs, Preferences().autoDelayMs); // not set: the engine's

    Preferences changed = defaults;
    changed.textSpeed = Kura::TEXT_SPEED_INSTANT;
    changed.skipUnread = 1;
    struct Case {
        const char* text;
        Preferences expected;
        size_t reports;
    } cases[] = {
        {R"({"textSpeed": 4, "skipUnread": 1})", changed, 0}, // the rest keep their defaults
        {R"({"textSpeed": 5})", defaults, 1},
        {R"({"musicVolume": "50"})", defaults, 1},
        {R"({"musicVolume": 50.5})", defaults, 1},
        {"[1, 2]", defaults, 1},
        {R"({"textSpeed": 1)", defaults, 1},
    };
    size_t reports = 0;
    for (const Case& c : cases) {
        WriteFile(FILE, c.text);
        EXPECT_EQ(Preferences::Load(FILE, defaults), c.expected) << c.text;
        reports += c.reports;
        EXPECT_EQ(Reports(), reports) << c.text;
    }
    std::filesystem::remove(FILE);
    EXPECT_EQ(Preferences::Load(FILE, defaults), defaults);
    ASSERT_TRUE(changed.save(FILE));
    EXPECT_EQ(Preferences::Load(FILE, defaults), changed);
    EXPECT_EQ(Reports(), reports);
}

TEST_F(ReadingFilesTest, ReadMarksReadBackAndABrokenFileGivesNone) {
    ReadMarks marks;
    const MessageKey keys[] = {{"001.kel", "あおい「ごめん」", 0},
                               {"001.kel", "あおい「ごめん」", 2},
                               {"002.kel", "\"quoted\"\n", 0}};
    for (const MessageKey& key : keys)
        EXPECT_TRUE(marks.mark(key));
    EXPECT_FALSE(marks.mark(keys[0]));
    ASSERT_TRUE(marks.save(FILE));
    const ReadMarks read = ReadMarks::Load(FILE);
    EXPECT_EQ(read.size(), std::size(keys));
    for (const MessageKey& key : keys)
        EXPECT_TRUE(read.contains(key)) << key.text;
    EXPECT_FALSE(read.contains({"001.kel", "あおい「ごめん」", 1}));

    const char* broken[] = {R"({"read": {"001.kel": {"a": [-1]}}})", R"({"read": []})",
                            R"({"read": {"001.kel": {"a": 0}}})", "{\"read\": {"};
    for (size_t i = 0; i < std::size(broken); ++i) {
        WriteFile(FILE, broken[i]);
        EXPECT_EQ(ReadMarks::Load(FILE).size(), 0u) << broken[i];
        EXPECT_EQ(Reports(), i + 1) << broken[i];
    }
}

// Equal texts count apart within a file and anew in the next one.
TEST_F(ReadingFilesTest, MessagesAreKeyedByTextAndOccurrenceInTheirFile) {
    WriteScenario("002.kel", R"(callDispMessage("a", -1); yield;)");
    RunScript(R"(callDispMessage("a", -1); yield; callClearMessage();
                 callDispMessage("b", -1); yield; callClearMessage();
                 callDispMessage("a", -1); yield;
                 callGotoNextScript("002.kel"); return 1;)");
    const MessageKey expected[] = {{"script.kel", "a", 0},
                                   {"script.kel", "b", 0},
                                   {"script.kel", "a", 1},
                                   {"002.kel", "a", 0}};
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(player->getMessageKey(), expected[i]) << i;
        EXPECT_EQ(player->getMessagesShown(), static_cast<int64_t>(i + 1));
        player->resume();
        if (player->getState() == Kura::ScenarioPlayer::STATE_RUNNING) player->resume();
    }
}

} // namespace

} // namespace kura_test
