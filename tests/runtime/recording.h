// Test support for sound: tone files to play, and the mix that OpenAL Soft's
// file-writing output recorded, per channel, with a tone detector.
#pragma once

#include <string>
#include <vector>

namespace kura_test {

constexpr int TONE_RATE = 44100;
// Windows of 50 ms hold whole cycles of every tone the tests use (multiples of 20 Hz).
constexpr size_t TONE_WINDOW = TONE_RATE / 20;

// A mono (or stereo, same tone in both channels) 16-bit WAV sine tone.
void writeTone(const std::string& path, double hz, double seconds, double amplitude,
               int channels = 1);

struct Recording {
    std::vector<double> left, right; // -1..1
};
Recording readRecording(const std::string& path);

// Amplitude of hz in samples [begin, begin + count), as a fraction of full scale.
double toneAmplitude(const std::vector<double>& samples, size_t begin, size_t count, double hz);

// Number of consecutive windows, from the first one where hz is present.
size_t presentWindows(const std::vector<double>& samples, double hz, double threshold);

} // namespace kura_test
