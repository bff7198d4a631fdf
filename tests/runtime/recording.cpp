// Tone files and recordings through libsndfile.
#include "recording.h"

#include <cmath>
#include <numbers>
#include <sndfile.h>

namespace kura_test {

void writeTone(const std::string& path, double hz, double seconds, double amplitude, int channels) {
    SF_INFO info{};
    info.samplerate = TONE_RATE;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    const auto frames = static_cast<size_t>(seconds * TONE_RATE);
    std::vector<double> samples(frames * channels);
    for (size_t i = 0; i < frames; ++i) {
        const double v = amplitude * std::sin(2.0 * std::numbers::pi * hz * i / TONE_RATE);
        for (int c = 0; c < channels; ++c)
            samples[i * channels + c] = v;
    }
    sf_writef_double(file, samples.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
}

Recording readRecording(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr || info.channels != 2) {
        if (file != nullptr) sf_close(file);
        return {};
    }
    std::vector<double> frames(static_cast<size_t>(info.frames) * 2);
    const sf_count_t got = sf_readf_double(file, frames.data(), info.frames);
    sf_close(file);
    Recording r;
    for (sf_count_t i = 0; i < got; ++i) {
        r.left.push_back(frames[2 * i]);
        r.right.push_back(frames[2 * i + 1]);
    }
    return r;
}

// One bin of a discrete Fourier transform at exactly hz.
double toneAmplitude(const std::vector<double>& samples, size_t begin, size_t count, double hz) {
    if (count == 0 || begin + count > samples.size()) return 0.0;
    const double w = 2.0 * std::numbers::pi * hz / TONE_RATE;
    double re = 0.0, im = 0.0;
    for (size_t n = 0; n < count; ++n) {
        re += samples[begin + n] * std::cos(w * n);
        im -= samples[begin + n] * std::sin(w * n);
    }
    return 2.0 * std::sqrt(re * re + im * im) / count;
}

size_t presentWindows(const std::vector<double>& samples, double hz, double threshold) {
    size_t count = 0;
    bool started = false;
    for (size_t at = 0; at + TONE_WINDOW <= samples.size(); at += TONE_WINDOW) {
        const bool present = toneAmplitude(samples, at, TONE_WINDOW, hz) > threshold;
        if (present) {
            started = true;
            ++count;
        } else if (started) {
            break;
        }
    }
    return count;
}

} // namespace kura_test
