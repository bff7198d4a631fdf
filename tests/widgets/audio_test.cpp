// Sound slots without sound output: paths, slot bounds, the calls that must be
// harmless before create and after destroy, and the reports of missing files.
#include "of/Audio.h"

#include "ofSoundPlayer.h"
#include "recording.h"
#include "scratch_dir.h"

#include <filesystem>

using Kura::Audio;

namespace {

std::string Game1Path(const std::string& folder, const std::string& file) {
    return "game1/" + folder + "/" + file;
}

class AudioTest : public ScratchDirTest {
protected:
    void TearDown() override {
        Audio::Destroy();
        ScratchDirTest::TearDown();
    }
};

TEST_F(AudioTest, EveryOperationIsHarmlessWithoutAnInstance) {
    for (int round = 0; round < 2; ++round) {
        EXPECT_FALSE(Audio::LoadBgm("a.wav", 0));
        EXPECT_FALSE(Audio::LoadSe("a.wav", 0));
        Audio::Play(0, true);
        Audio::PlaySe(0);
        Audio::StopBgm(0);
        Audio::StopSe(0);
        Audio::SetBgmVolume(0, 50);
        Audio::SetSeVolume(0, 50);
        Audio::SetBgmSpeed(0, 50);
        Audio::SetSeSpeed(0, 50);
        EXPECT_EQ(Audio::GetNowBgm(), Audio::BGM_FREE_NONE);
        EXPECT_FALSE(Audio::IsPlayingSe(0));
        EXPECT_EQ(Audio::GetSePlayer(0), nullptr);
        EXPECT_EQ(Audio::GetSePath(0), "");
        // Second round: after a create and destroy.
        Audio::Create(Game1Path);
        Audio::Destroy();
    }
    EXPECT_FALSE(std::filesystem::exists("log.txt")) << "only Get reports a missing instance";
    EXPECT_EQ(Audio::Get(), nullptr);
    EXPECT_NE(ReadFile("log.txt").find("Func=Kura::Audio::Get\nmes=g_pInstance\n"),
              std::string::npos);
}

TEST_F(AudioTest, PathsPerFolderAndPercentagesAsFractions) {
    Audio::Create(Game1Path);
    Audio::LoadSe("a.ogg", 5);
    Audio::LoadBgm("theme.ogg", 4);
    EXPECT_EQ(Audio::GetSePath(5), "game1/sound/se/a.ogg");
    EXPECT_EQ(Audio::GetBgmPath(4), "game1/sound/bgm/theme.ogg");
    EXPECT_FALSE(Audio::GetSePlayer(5)->isLoaded());
    Audio::SetSeVolume(7, 80);
    Audio::SetBgmVolume(1, 50);
    Audio::SetSeSpeed(7, 200);
    EXPECT_FLOAT_EQ(Audio::GetSePlayer(7)->getVolume(), 0.8f);
    EXPECT_FLOAT_EQ(Audio::GetBgmPlayer(1)->getVolume(), 0.5f);
    EXPECT_FLOAT_EQ(Audio::GetSePlayer(7)->getSpeed(), 2.0f);
}

TEST_F(AudioTest, SlotsOutsideTheRangeAreIgnored) {
    Audio::Create(Game1Path);
    for (int slot : {-1, Audio::SE_NUM}) {
        EXPECT_FALSE(Audio::LoadSe("a.ogg", slot));
        EXPECT_EQ(Audio::GetSePlayer(slot), nullptr);
        EXPECT_EQ(Audio::GetSePath(slot), "");
        Audio::PlaySe(slot);
        Audio::SetSeVolume(slot, 10);
        EXPECT_FALSE(Audio::IsPlayingSe(slot));
    }
    EXPECT_NE(Audio::GetSePlayer(Audio::SE_NUM - 1), nullptr);
    EXPECT_NE(Audio::GetBgmPlayer(Audio::BGM_NUM - 1), nullptr);
    EXPECT_EQ(Audio::GetBgmPlayer(Audio::BGM_NUM), nullptr);
    Audio::Play(Audio::BGM_NUM, true);
    EXPECT_EQ(Audio::GetNowBgm(), Audio::BGM_FREE_NONE) << "a bad slot must not become current";
    Audio::StopBgm(2); // no music ever played
    EXPECT_FALSE(std::filesystem::exists("log.txt"));
}

TEST_F(AudioTest, NoMusicOrAMissingFileIsReportedAndStaysSilent) {
    Audio::Create(Game1Path);
    Audio::Play(Audio::BGM_FREE_NONE, true);
    EXPECT_EQ(Audio::GetNowBgm(), Audio::BGM_FREE_NONE);
    EXPECT_EQ(ReadFile("log.txt"), "File=src\\of\\Audio\nLine=130\nFunc=Kura::Audio::Play\n"
                                   "mes=bgmIndex!=GameDefine::BGM_FREE_NONE\n");
    EXPECT_FALSE(Audio::LoadSe("gone.wav", 3));
    Audio::PlaySe(3);
    EXPECT_FALSE(Audio::IsPlayingSe(3));
    EXPECT_NE(ReadFile("log.txt").find(
                  "Func=Kura::Audio::LoadSe\nmes=file not found: game1/sound/se/gone.wav\n"),
              std::string::npos);
}

// Runs in its own process with every output driver turned off.
TEST_F(AudioTest, NoOutputDeviceMeansSilenceWithoutReports) {
    if (std::getenv("ALSOFT_DRIVERS") == nullptr ||
        std::string(std::getenv("ALSOFT_DRIVERS")) != "none")
        GTEST_SKIP() << "needs ALSOFT_DRIVERS=none";
    std::filesystem::create_directories("data/game1/sound/se");
    std::filesystem::create_directories("data/game1/sound/bgm");
    kura_test::writeTone("data/game1/sound/se/a.wav", 440.0, 0.2, 0.5);
    kura_test::writeTone("data/game1/sound/bgm/a.wav", 440.0, 0.2, 0.5);
    Audio::Create(Game1Path);
    EXPECT_FALSE(Audio::LoadSe("a.wav", 0));
    EXPECT_FALSE(Audio::LoadBgm("a.wav", 0));
    Audio::PlaySe(0);
    Audio::Play(0, true);
    EXPECT_FALSE(Audio::IsPlayingSe(0));
    EXPECT_FALSE(Audio::IsPlayingBgm(0));
    EXPECT_EQ(Audio::GetNowBgm(), 0);
    Audio::Destroy();
    EXPECT_FALSE(std::filesystem::exists("log.txt")) << "a machine without sound is no fault";
}

} // namespace
