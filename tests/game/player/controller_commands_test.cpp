// Commands the game controller carries out: each fires its own signal with
// the script's arguments; the image-size questions answer what the slot
// answers. Without a player every command reports "m_pRef" and does nothing.
#include "game_fixture.h"

#include "interpreter.h"

namespace kura_test {
namespace {

using ScreenCommands = PlayerTest;

// Each call and the signal it must fire, in the order the script makes them.
const char* const FIRED[][2] = {
    {"callSetMessageWindowCharacter(1, 2, 3)", "setMessageWindowCharacter(1,2,3)"},
    {"callSetCharaInfo(4, \"x\", \"y\")", "setCharaInfo(4,x,y)"},
    {"callEffectSetBackgroundColor(10, 20, 30)", "effectSetBackgroundColor(10,20,30)"},
    {"callEffectWait(500, 1)", "effectWait(500,1)"},
    {"callEffectFadeIn(1, 2, 3, 400)", "effectFadeIn(1,2,3,400)"},
    {"callEffectFadeOut(4, 5, 6, 300)", "effectFadeOut(4,5,6,300)"},
    {"callSoundLoadBGM(1, \"bgm01.ogg\")", "soundLoadBGM(1,bgm01.ogg)"},
    {"callSoundLoadSE(2, \"決定.wav\")", "soundLoadSE(2,決定.wav)"},
    {"callSoundPlayBGM(1, 80, -1)", "soundPlayBGM(1,80,-1)"},
    {"callSoundPlaySE(2, -1, 150)", "soundPlaySE(2,-1,150)"},
    {"callSoundStopBGM()", "soundStopBGM()"},
    {"callSoundStopSE(2)", "soundStopSE(2)"},
    {"callWindowManagerAdd(4)", "windowManagerAdd(4)"},
    {"callWindowInit(0, 9)", "windowInit(0,9)"},
    {"callWindowLoad(0, \"image/chara\", \"a.png\")", "windowLoad(0,image/chara,a.png)"},
    {"callWindowSetVisible(0, 1)", "windowSetVisible(0,1)"},
    {"callWindowOpen(0)", "windowOpen(0)"},
    {"callWindowClose(0)", "windowClose(0)"},
    {"callWindowSetPos(0, 10, -20)", "windowSetPos(0,10,-20)"},
    {"callWindowSetSize(0, 300, 200)", "windowSetSize(0,300,200)"},
    {"callWindowSetRect(0, 1, 2, 3, 4)", "windowSetRect(0,1,2,3,4)"},
    {"callWindowSetFlip(0, 1, 0)", "windowSetFlip(0,1,0)"},
    {"callWindowMovePos(0, 5, 6)", "windowMovePos(0,5,6)"},
    {"callWindowSetDepth(0, 7)", "windowSetDepth(0,7)"},
    {"callWindowPlay(0, 2)", "windowPlay(0,2)"},
    {"callWindowStop(0)", "windowStop(0)"},
    {"callImageWindowSetImageRect(0, 5, 6, 7, 8)", "imageWindowSetImageRect(0,5,6,7,8)"},
    {"callCharacterWindowAppearance(0)", "characterWindowAppearance(0)"},
    {"callCharacterWindowExit(0)", "characterWindowExit(0)"},
    {"callCharacterWindowSetVisibleName(0, 1)", "characterWindowSetVisibleName(0,1)"},
    {"callCharacterWindowSetName(0, \"葵\")", "characterWindowSetName(0,葵)"},
    {"callWindowManagerClearAll()", "windowManagerClearAll()"},
};

TEST_F(ScreenCommands, EachCommandFiresItsSignalWithItsArguments) {
    std::string script, expected;
    for (const auto& [call, signal] : FIRED) {
        script += std::string(call) + ";";
        expected += std::string(signal) + "\n";
    }
    RunScript(script + " yield;");
    EXPECT_EQ(host->callsText(), expected);
    EXPECT_EQ(player->getState(), Kura::ScenarioPlayer::STATE_RUNNING);
    EXPECT_EQ(NewReports(), "");
}

TEST_F(ScreenCommands, ImageSizeComesFromTheSlotOrIsZero) {
    host->setImageSize(640, 480);
    RunScript("callSetSceneFlagInt(\"w\", callImageWindowGetImageWidth(2));"
              "callSetSceneFlagInt(\"h\", callImageWindowGetImageHeight(3)); yield;");
    EXPECT_EQ(SceneFlag("w"), "640");
    EXPECT_EQ(SceneFlag("h"), "480");
    EXPECT_NE(host->callsText().find("imageWindowGetImageWidth(2)\n"), std::string::npos);
    host.reset(); // no slot connected any more
    player->start("script.kel");
    player->resume();
    EXPECT_EQ(SceneFlag("w"), "0");
    EXPECT_EQ(SceneFlag("h"), "0");
}

TEST_F(ScreenCommands, WithoutAPlayerCommandsReportAndDoNothing) {
    player.reset();
    host.reset();
    Kel::Interpreter other; // the commands stay bound in the shared globals
    ASSERT_EQ(other.loadText("callDispMessage(\"x\", -1); callWindowOpen(1);"
                             "global answer = callGetSceneFlag(\"a\");",
                             "orphan"),
              Kel::Interpreter::LOADED);
    other.run(0);
    std::string reports = NewReports();
    EXPECT_EQ(reports.find("File=src\\game\\ScenarioPlayer\n"), 0u);
    EXPECT_NE(reports.find("Func=ScenarioPlayer::callDispMessage\nmes=m_pRef\n"),
              std::string::npos);
    EXPECT_NE(reports.find("Func=ScenarioPlayer::callWindowOpen\nmes=m_pRef\n"), std::string::npos);
    EXPECT_NE(reports.find("Func=ScenarioPlayer::callGetSceneFlag\nmes=m_pRef\n"),
              std::string::npos);
    EXPECT_EQ(other.getGlobal("answer").value()->toString().str(), "NULL");
}

} // namespace
} // namespace kura_test
