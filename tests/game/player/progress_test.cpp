// The progress file: its two exact lines, the highest scene kept by text
// order, read back at the next start as data, anything else ignored, written
// whole through a temporary file, any scene text read back exactly, and odd
// file names handled safely.
#include "game_fixture.h"

#include "game/player/ScenarioProgress.h"

#include "interpreter.h"

namespace kura_test {
namespace {

namespace Progress = Kura::ScenarioProgress;

std::string Lines(const std::string& now, const std::string& max) {
    return "global string sd_now_scene=\"" + now + "\";\nglobal string sd_max_scene=\"" + max +
           "\";\n";
}

using ProgressFile = PlayerTest;

TEST_F(ProgressFile, MaxSceneIsKeptByTextOrderAndReadAtTheNextStart) {
    WriteFile(SavePath(), Lines("010", "010"));
    RestartPlayer();
    EXPECT_EQ(player->getNowScene(), "010");
    EXPECT_EQ(player->getMaxScene(), "010");
    RunScript("callGotoNextScript(\"005.kel\"); yield; callGotoNextScript(\"011.kel\"); yield;");
    EXPECT_EQ(ReadFile(SavePath()), Lines("005", "010"));
    RestartPlayer();
    EXPECT_EQ(player->getNowScene(), "005");
    EXPECT_EQ(player->getMaxScene(), "010");
    RunScript("callGotoNextScript(\"011.kel\"); yield;");
    EXPECT_EQ(ReadFile(SavePath()), Lines("011", "011"));
}

// A shared progress file is read as data: code, a loop, garbage, a huge file
// or one line short each read as no progress, with one report, and never run.
TEST_F(ProgressFile, AnythingButTheTwoLinesIsIgnoredWithOneReport) {
    const std::string valid = Lines("003", "009");
    const std::string files[] = {
        Lines("003", "009") + "callGotoNextScript(\"099.kel\");\n",
        "global string sd_now_scene=\"003\";\nwhile (1) { }\n",
        "global string sd_now_scene=\"003\";\n",
        "global string sd_now_scene=\"0\"+sd_max_scene;\nglobal string sd_max_scene=\"1\";\n",
        std::string("\x01\xff\0garbage", 11),
        valid.substr(0, valid.size() - 2),
        valid + std::string(1 << 20, ' '),
    };
    for (const std::string& file : files) {
        ASSERT_TRUE(Progress::Write(SavePath(), "001", "001"));
        RestartPlayer();
        WriteFile(SavePath(), file);
        RestartPlayer();
        EXPECT_EQ(player->getNowScene(), "") << file.substr(0, 80);
        EXPECT_EQ(player->getMaxScene(), "");
        std::string report = NewReports();
        EXPECT_EQ(report.substr(report.find("\nFunc=")),
                  "\nFunc=Kura::ScenarioProgress::Read\nmes=progress file ignored, not two "
                  "progress lines: data/game1/save/save.kel\n");
        EXPECT_EQ(report.find("File="), report.rfind("File=")); // one report
        EXPECT_EQ(host->callsText(), "");
        // The next write replaces it.
        RunScript("callGotoNextScript(\"002.kel\"); yield;");
        EXPECT_EQ(ReadFile(SavePath()), Lines("002", "002"));
    }
}

// Files of earlier versions end their lines with CR LF.
TEST_F(ProgressFile, NoFileOrAnEarlierOneAndAMissingFolder) {
    EXPECT_EQ(player->getNowScene(), "");
    EXPECT_EQ(NewReports(), "");
    ASSERT_FALSE(std::filesystem::exists(std::string("data/") + GAME_FOLDER + "/save"));
    RunScript("callGotoNextScript(\"002.kel\"); yield;");
    EXPECT_EQ(ReadFile(SavePath()), Lines("002", "002"));
    WriteFile(SavePath(), "global string sd_now_scene=\"004\";\r\nglobal string "
                          "sd_max_scene=\"012\";\r\n");
    RestartPlayer();
    EXPECT_EQ(player->getNowScene(), "004");
    EXPECT_EQ(player->getMaxScene(), "012");
    EXPECT_EQ(NewReports(), "");
}

TEST_F(ProgressFile, FailedWriteIsReportedAndKeepsTheOldFile) {
    // A folder where the temporary file should go makes the write fail.
    WriteFile(SavePath(), Lines("001", "004"));
    std::filesystem::create_directories(SavePath() + ".tmp");
    RestartPlayer();
    RunScript("callGotoNextScript(\"002.kel\"); yield;");
    EXPECT_EQ(ReadFile(SavePath()), Lines("001", "004"));
    EXPECT_EQ(player->getNowScene(), "002"); // progress in memory still advances
    std::string report = NewReports();
    EXPECT_NE(report.find("Func=ScenarioPlayer::callGotoNextScript\n"), std::string::npos);
    EXPECT_NE(report.find("mes=progress not written: data/game1/save/save.kel\n"),
              std::string::npos);
    EXPECT_EQ(host->callsText(), "gotoNextScript(002.kel)\n");
}

TEST_F(ProgressFile, SceneIsTakenOnlyFromWhatTheNameHolds) {
    const char* const names[][2] = {{"012.kel", "012"}, {"story/012.kel", "012"},
                                    {"7.kel", "7"},     {".kel", ""},
                                    {"012", ""},        {"", ""}};
    for (const auto& [name, scene] : names)
        EXPECT_EQ(Progress::SceneOfScript(name), scene) << name;
    RunScript("callGotoNextScript(\"004.kel\"); yield; callGotoNextScript(\"kel\"); yield;");
    player->resume();
    EXPECT_EQ(player->getScriptName(), "kel");
    EXPECT_EQ(player->getNowScene(), "004");
    EXPECT_EQ(ReadFile(SavePath()), Lines("004", "004"));
}

TEST_F(ProgressFile, AnySceneTextReadsBackExactly) {
    const std::string texts[] = {"",     "a\"b",  "\\",   "x\\",    "\\n",
                                 "\\\"", "\\\\t", "it's", "行\n末", "\"\"\\'\\\\"};
    for (const std::string& text : texts) {
        ASSERT_TRUE(Progress::Write(SavePath(), text, "max" + text));
        std::string now = "unread", max = "unread";
        EXPECT_TRUE(Progress::Read(SavePath(), now, max)) << text;
        EXPECT_EQ(NewReports(), "") << text;
        EXPECT_EQ(now, text);
        EXPECT_EQ(max, "max" + text);
    }
}

using NoSettings = GameFolderTest;

TEST_F(NoSettings, PlayerReportsAndWritesNothing) {
    Kura::ScenarioPlayer player;
    EXPECT_NE(NewReports().find("Func=Kura::Setting::get\nmes=g_pInstance\n"), std::string::npos);
    Kel::Interpreter script;
    ASSERT_EQ(script.loadText("callGotoNextScript(\"002.kel\");", "no settings"),
              Kel::Interpreter::LOADED);
    script.run(0);
    EXPECT_EQ(player.getNowScene(), "002");
    EXPECT_NE(NewReports().find("mes=progress not written: \n"), std::string::npos);
}

} // namespace
} // namespace kura_test
