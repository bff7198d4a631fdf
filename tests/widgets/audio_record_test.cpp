// The music slots on a real output (OpenAL Soft's file-writing back end, named by
// ALSOFT_CONF): a new music stops the one before, playing one again restarts it,
// and stopping ends it. That a stopped or quieter player sounds so is heard in
// the runtime's own recordings.
#include "of/Audio.h"

#include "ofSoundPlayer.h"
#include "recording.h"
#include "scratch_dir.h"

#include <chrono>
#include <filesystem>
#include <thread>

using Kura::Audio;

namespace {

constexpr int PLAY_MS = 400;

std::string Game1Path(const std::string& folder, const std::string& file) {
    return "game1/" + folder + "/" + file;
}

class AudioRecordTest : public ScratchDirTest {
protected:
    void SetUp() override {
        if (std::getenv("ALSOFT_WAVE_FILE") == nullptr || std::getenv("ALSOFT_CONF") == nullptr)
            GTEST_SKIP() << "needs the recording output";
        ScratchDirTest::SetUp();
        std::filesystem::create_directories("data/game1/sound/bgm");
        Audio::Create(Game1Path);
    }
    void TearDown() override {
        Audio::Destroy();
        if (std::getenv("ALSOFT_WAVE_FILE") != nullptr) ScratchDirTest::TearDown();
    }
};

TEST_F(AudioRecordTest, NewMusicStopsThePreviousAndStopEndsIt) {
    kura_test::writeTone("data/game1/sound/bgm/low.wav", 440.0, 3.0, 0.5);
    kura_test::writeTone("data/game1/sound/bgm/high.wav", 880.0, 3.0, 0.5);
    ASSERT_TRUE(Audio::LoadBgm("low.wav", 1));
    ASSERT_TRUE(Audio::LoadBgm("high.wav", 2));

    Audio::Play(1, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(PLAY_MS));
    Audio::Play(2, true);
    EXPECT_FALSE(Audio::IsPlayingBgm(1));
    EXPECT_TRUE(Audio::IsPlayingBgm(2));
    EXPECT_EQ(Audio::GetNowBgm(), 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(PLAY_MS));
    EXPECT_GT(Audio::GetBgmPlayer(2)->getPosition(), 0.05f);
    Audio::Play(2, true);
    EXPECT_LT(Audio::GetBgmPlayer(2)->getPosition(), 0.05f) << "playing it again restarts it";
    Audio::StopBgm(2);
    EXPECT_FALSE(Audio::IsPlayingBgm(2));
    EXPECT_EQ(Audio::GetNowBgm(), 2) << "the current music stays the last one played";
}

} // namespace
