// What the sound slots really play, recorded through OpenAL Soft's file-writing
// output (ALSOFT_CONF names the wave back end, ALSOFT_WAVE_FILE the recording).
// Checks look at which tones are present, never at where in the file they start.
#include "of/Audio.h"

#include "ofSoundPlayer.h"
#include "recording.h"
#include "scratch_dir.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

using Kura::Audio;

namespace {

using kura_test::TONE_WINDOW;
constexpr double PRESENT = 0.05; // a playing tone is about 0.3
constexpr double SILENT = 0.005;

void Wait(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string Game1Path(const std::string& folder, const std::string& file) {
    return "game1/" + folder + "/" + file;
}

class AudioRecordTest : public ScratchDirTest {
protected:
    void SetUp() override {
        const char* file = std::getenv("ALSOFT_WAVE_FILE");
        if (file == nullptr || std::getenv("ALSOFT_CONF") == nullptr)
            GTEST_SKIP() << "needs the recording output";
        m_Recording = file;
        ScratchDirTest::SetUp();
        std::filesystem::create_directories("data/game1/sound/bgm");
        std::filesystem::create_directories("data/game1/sound/se");
        Audio::Create(Game1Path);
    }
    void TearDown() override {
        Audio::Destroy();
        if (!m_Recording.empty()) ScratchDirTest::TearDown();
    }

    // Destroying the audio frees the last sound, which closes the output and
    // completes the file. Both channels mixed to one.
    std::vector<double> StopAndRead() {
        Audio::Destroy();
        kura_test::Recording recording = kura_test::readRecording(m_Recording);
        for (size_t i = 0; i < recording.left.size() && i < recording.right.size(); ++i)
            recording.left[i] = (recording.left[i] + recording.right[i]) / 2;
        return recording.left;
    }

    std::string m_Recording;
};

TEST_F(AudioRecordTest, NewMusicStopsThePreviousAndStopSilences) {
    kura_test::writeTone("data/game1/sound/bgm/low.wav", 440.0, 3.0, 0.5);
    kura_test::writeTone("data/game1/sound/bgm/high.wav", 880.0, 3.0, 0.5);
    ASSERT_TRUE(Audio::LoadBgm("low.wav", 1));
    ASSERT_TRUE(Audio::LoadBgm("high.wav", 2));

    Audio::Play(1, true);
    Wait(400);
    Audio::Play(2, true);
    EXPECT_FALSE(Audio::IsPlayingBgm(1));
    EXPECT_TRUE(Audio::IsPlayingBgm(2));
    EXPECT_EQ(Audio::GetNowBgm(), 2);
    Wait(400);
    EXPECT_GT(Audio::GetBgmPlayer(2)->getPosition(), 0.05f);
    Audio::Play(2, true);
    EXPECT_LT(Audio::GetBgmPlayer(2)->getPosition(), 0.05f) << "playing it again restarts it";
    Wait(300);
    Audio::StopBgm(2);
    EXPECT_EQ(Audio::GetNowBgm(), 2) << "the current music stays the last one played";
    Wait(300);
    const std::vector<double> mix = StopAndRead();
    ASSERT_GT(mix.size(), TONE_WINDOW * 10);

    size_t firstHigh = 0, lowOnly = 0, highAfter = 0, lowAfter = 0;
    for (size_t at = 0; at + TONE_WINDOW <= mix.size(); at += TONE_WINDOW) {
        const double low = kura_test::toneAmplitude(mix, at, TONE_WINDOW, 440.0);
        const double high = kura_test::toneAmplitude(mix, at, TONE_WINDOW, 880.0);
        if (firstHigh == 0 && high > PRESENT) firstHigh = at;
        if (firstHigh == 0 && low > PRESENT) ++lowOnly;
        // The window holding the switch may hold both tones. Later ones may show
        // a trace of 440 Hz where the second tone restarts or stops mid-window
        // (a cut sine spreads over all frequencies), far below a playing tone.
        if (firstHigh != 0 && at > firstHigh) {
            highAfter += high > PRESENT;
            lowAfter += low > PRESENT;
        }
    }
    EXPECT_GE(lowOnly, 4u);
    EXPECT_GE(highAfter, 8u);
    EXPECT_EQ(lowAfter, 0u) << "the first music went on under the second";
    const size_t tail = mix.size() - 3 * TONE_WINDOW;
    EXPECT_LT(kura_test::toneAmplitude(mix, tail, 2 * TONE_WINDOW, 880.0), SILENT)
        << "stopped music still plays";
}

TEST_F(AudioRecordTest, SoundEffectVolumeFollowsItsPercentage) {
    kura_test::writeTone("data/game1/sound/se/full.wav", 440.0, 1.0, 0.5);
    kura_test::writeTone("data/game1/sound/se/soft.wav", 660.0, 1.0, 0.5);
    // As the start-up fills the slots from the settings: load, then the percentage.
    ASSERT_TRUE(Audio::LoadSe("full.wav", 0));
    Audio::SetSeVolume(0, 100);
    ASSERT_TRUE(Audio::LoadSe("soft.wav", 1));
    Audio::SetSeVolume(1, 80);

    Audio::PlaySe(0);
    Audio::PlaySe(1);
    EXPECT_TRUE(Audio::IsPlayingSe(1));
    Wait(600);
    const std::vector<double> mix = StopAndRead();

    std::vector<double> ratios;
    for (size_t at = 0; at + TONE_WINDOW <= mix.size(); at += TONE_WINDOW) {
        const double full = kura_test::toneAmplitude(mix, at, TONE_WINDOW, 440.0);
        const double soft = kura_test::toneAmplitude(mix, at, TONE_WINDOW, 660.0);
        if (full > PRESENT && soft > PRESENT) ratios.push_back(soft / full);
    }
    ASSERT_GE(ratios.size(), 4u);
    std::sort(ratios.begin(), ratios.end());
    EXPECT_NEAR(ratios[ratios.size() / 2], 0.8, 0.03);
}

} // namespace
