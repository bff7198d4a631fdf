// The sound player, heard through OpenAL Soft's file-writing output (ALSOFT_CONF and
// ALSOFT_WAVE_FILE set by the test): what is in the recording, not where it starts,
// since playing begins whenever the mixer gets the CPU.
#include "ofSoundPlayer.h"
#include "ofUtils.h"
#include "recording.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

using kura_test::TONE_WINDOW;
using Clock = std::chrono::steady_clock;

constexpr double PRESENT = 0.05;
constexpr double SILENT = 0.005;

void waitMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// A tone file for as long as the test holds it.
struct Tone {
    std::string path;
    Tone(const char* name, double hz, double seconds, double amplitude = 0.4, int channels = 1)
        : path(testing::TempDir() + "kura_snd_" + std::to_string(getpid()) + "_" + name + ".wav") {
        kura_test::writeTone(path, hz, seconds, amplitude, channels);
    }
    ~Tone() { std::remove(path.c_str()); }
};

class SoundRecordTest : public testing::Test {
protected:
    void SetUp() override {
        const char* file = std::getenv("ALSOFT_WAVE_FILE");
        if (file == nullptr || std::getenv("ALSOFT_CONF") == nullptr)
            GTEST_SKIP() << "needs the recording output";
        m_recording = file;
    }
    // The caller's players must be gone: the last one closes the output, which
    // completes the file.
    kura_test::Recording recorded() const { return kura_test::readRecording(m_recording); }

    std::string m_recording;
};

// Both channels at once, in windows where the reference tone plays.
std::vector<double> ratiosWhere(const std::vector<double>& mix, double refHz, double hz) {
    std::vector<double> ratios;
    for (size_t at = 0; at + TONE_WINDOW <= mix.size(); at += TONE_WINDOW) {
        const double ref = kura_test::toneAmplitude(mix, at, TONE_WINDOW, refHz);
        if (ref > PRESENT)
            ratios.push_back(kura_test::toneAmplitude(mix, at, TONE_WINDOW, hz) / ref);
    }
    std::sort(ratios.begin(), ratios.end());
    return ratios;
}

TEST_F(SoundRecordTest, VolumeScalesAndSpeedRaisesThePitch) {
    const Tone a("a440", 440, 1.5), b("b660", 660, 1.5);
    {
        ofSoundPlayer full, half;
        ASSERT_TRUE(full.loadSound(a.path));
        ASSERT_TRUE(half.loadSound(b.path));
        half.setVolume(0.5f);
        half.setSpeed(2.0f);
        full.play();
        half.play();
        waitMs(500);
        EXPECT_TRUE(half.getIsPlaying());
    }
    const kura_test::Recording rec = recorded();
    ASSERT_GT(rec.left.size(), 6 * TONE_WINDOW);
    const std::vector<double> doubled = ratiosWhere(rec.left, 440, 1320);
    const std::vector<double> original = ratiosWhere(rec.left, 440, 660);
    ASSERT_GE(doubled.size(), 4u);
    EXPECT_NEAR(doubled[doubled.size() / 2], 0.5, 0.05);
    EXPECT_LT(original.back(), 0.05) << "speed 2 must not leave the recorded pitch";
}

// A 0.3 s sound that loops keeps sounding for as long as it is left playing, and
// the output is silent once it is stopped; one that does not loop ends by itself.
TEST_F(SoundRecordTest, LoopingSoundPlaysUntilStopped) {
    constexpr double LOOP_TONE_SEC = 0.3;
    const Tone looped("loop", 500, LOOP_TONE_SEC), oneShot("once", 700, 0.2);
    double playedSec = 0.0;
    {
        ofSoundPlayer player, once;
        ASSERT_TRUE(player.loadSound(looped.path));
        ASSERT_TRUE(once.loadSound(oneShot.path));
        player.setLoop(true);
        const auto start = Clock::now();
        player.play();
        once.play();
        EXPECT_TRUE(once.getIsPlaying());
        waitMs(1200);
        EXPECT_TRUE(player.getIsPlaying());
        EXPECT_FALSE(once.getIsPlaying());
        player.stop();
        playedSec = std::chrono::duration<double>(Clock::now() - start).count();
        EXPECT_FALSE(player.getIsPlaying());
        waitMs(300);
    }
    const kura_test::Recording rec = recorded();
    // The wave writer mixes on its own clock, which falls behind the wall clock
    // on a loaded machine: so the loop is shown by playing on past twice its own
    // length, and never longer than it was left playing.
    const double heardSec = kura_test::presentWindows(rec.left, 500, PRESENT) * 0.05;
    EXPECT_GT(heardSec, 2 * LOOP_TONE_SEC);
    EXPECT_LT(heardSec, playedSec + 0.15);
    const size_t tail = rec.left.size() - 4 * TONE_WINDOW;
    EXPECT_LT(kura_test::toneAmplitude(rec.left, tail, 4 * TONE_WINDOW, 500), SILENT);
}

TEST_F(SoundRecordTest, HardPanLeavesTheOtherChannelSilent) {
    const Tone mono("mono", 440, 1.0), stereo("stereo", 880, 1.0, 0.4, 2);
    {
        ofSoundPlayer left, right;
        ASSERT_TRUE(left.loadSound(mono.path));
        ASSERT_TRUE(right.loadSound(stereo.path));
        left.setPan(-1.0f);
        right.setPan(1.0f);
        left.play();
        right.play();
        waitMs(500);
    }
    const kura_test::Recording rec = recorded();
    ASSERT_GE(kura_test::presentWindows(rec.left, 440, PRESENT), 4u);
    ASSERT_GE(kura_test::presentWindows(rec.right, 880, PRESENT), 4u);
    EXPECT_EQ(kura_test::presentWindows(rec.right, 440, SILENT * 4), 0u);
    EXPECT_EQ(kura_test::presentWindows(rec.left, 880, SILENT * 4), 0u);
}

// Without overlapping plays a second play restarts the sound, so stop silences it;
// with them the first play goes on after the second is stopped.
TEST_F(SoundRecordTest, StopEndsOnlyTheLatestOfOverlappingPlays) {
    const Tone single("single", 440, 2.0, 0.3), multi("multi", 660, 2.0, 0.3);
    {
        ofSoundPlayer restart, overlap;
        ASSERT_TRUE(restart.loadSound(single.path));
        ASSERT_TRUE(overlap.loadSound(multi.path));
        overlap.setMultiPlay(true);
        restart.play();
        overlap.play();
        waitMs(100);
        restart.play();
        overlap.play();
        waitMs(100);
        restart.stop();
        overlap.stop();
        EXPECT_FALSE(overlap.getIsPlaying()) << "the latest channel is stopped";
        waitMs(600);
    }
    const kura_test::Recording rec = recorded();
    const size_t restartWindows = kura_test::presentWindows(rec.left, 440, PRESENT);
    const size_t overlapWindows = kura_test::presentWindows(rec.left, 660, PRESENT);
    EXPECT_LE(restartWindows, 6u);
    EXPECT_GE(overlapWindows, restartWindows + 8);
}

TEST(SoundFailure, MissingFileLogsAndStaysSilent) {
    ofSoundPlayer player;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(player.loadSound("sound/se/nothing.wav"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "OF_ERROR: ofSoundPlayer: Could not load sound file data/sound/se/nothing.wav\n");
    player.play();
    player.setVolume(0.5f);
    player.stop();
    EXPECT_FALSE(player.isLoaded());
    EXPECT_FALSE(player.getIsPlaying());
    EXPECT_EQ(player.getVolume(), 0.5f);
}

// Run with every output driver off: loading reports the missing device once and
// playing does nothing.
TEST(SoundWithoutDevice, EverythingIsSilentAndSaidOnce) {
    if (std::getenv("KURA_EXPECT_NO_AUDIO") == nullptr) GTEST_SKIP() << "needs no audio device";
    const Tone tone("nodevice", 440, 0.2);
    ofSoundPlayer a, b;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(a.loadSound(tone.path));
    EXPECT_FALSE(b.loadSound(tone.path));
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(log, "OF_WARNING: ofSoundPlayer: no audio output device, sound is off\n");
    a.play();
    EXPECT_FALSE(a.getIsPlaying());
}

} // namespace
