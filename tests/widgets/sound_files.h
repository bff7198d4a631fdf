// Test sounds: writing a sine tone as a 16-bit mono WAV file, reading back the
// 16-bit stereo WAV that OpenAL Soft's file-writing output records, and
// measuring how strongly a frequency is present in a stretch of it.
#pragma once

#include <string>
#include <vector>

namespace widgets_test {

constexpr int RECORD_RATE = 44100;

// amplitude is a fraction of full scale.
void WriteToneWav(const std::string& path, double frequency, double seconds, double amplitude);

// Both channels mixed to mono, in -1..1; empty when the file cannot be read.
std::vector<double> ReadRecording(const std::string& path);

// Amplitude (fraction of full scale) of the frequency in samples [begin, begin + count).
double ToneAmplitude(const std::vector<double>& samples, size_t begin, size_t count,
                     double frequency);

} // namespace widgets_test
