// WAV writing and reading for the sound tests; only the PCM layouts used here.
#include "sound_files.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <numbers>

namespace widgets_test {

namespace {

void PutU32(std::ofstream& out, uint32_t v) {
    out.write(reinterpret_cast<const char*>(&v), 4);
}
void PutU16(std::ofstream& out, uint16_t v) {
    out.write(reinterpret_cast<const char*>(&v), 2);
}

} // namespace

void WriteToneWav(const std::string& path, double frequency, double seconds, double amplitude) {
    const uint32_t frames = static_cast<uint32_t>(seconds * RECORD_RATE);
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    PutU32(out, 36 + frames * 2);
    out.write("WAVEfmt ", 8);
    PutU32(out, 16);
    PutU16(out, 1); // PCM
    PutU16(out, 1); // mono
    PutU32(out, RECORD_RATE);
    PutU32(out, RECORD_RATE * 2);
    PutU16(out, 2);
    PutU16(out, 16);
    out.write("data", 4);
    PutU32(out, frames * 2);
    for (uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / RECORD_RATE;
        const double v = amplitude * std::sin(2.0 * std::numbers::pi * frequency * t);
        PutU16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * 32767.0))));
    }
}

std::vector<double> ReadRecording(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char riff[12];
    if (!in.read(riff, 12) || std::memcmp(riff, "RIFF", 4) != 0) return {};
    uint16_t channels = 0, bits = 0;
    char id[4];
    uint32_t size = 0;
    while (in.read(id, 4) && in.read(reinterpret_cast<char*>(&size), 4)) {
        if (std::memcmp(id, "fmt ", 4) == 0) {
            std::vector<char> fmt(size);
            in.read(fmt.data(), size);
            std::memcpy(&channels, fmt.data() + 2, 2);
            std::memcpy(&bits, fmt.data() + 14, 2);
        } else if (std::memcmp(id, "data", 4) == 0) {
            if (bits != 16 || channels == 0) return {};
            std::vector<int16_t> raw(size / 2);
            in.read(reinterpret_cast<char*>(raw.data()), static_cast<std::streamsize>(size));
            std::vector<double> mono(raw.size() / channels);
            for (size_t f = 0; f < mono.size(); ++f) {
                double sum = 0.0;
                for (uint16_t c = 0; c < channels; ++c)
                    sum += raw[f * channels + c];
                mono[f] = sum / channels / 32768.0;
            }
            return mono;
        } else {
            in.seekg(size, std::ios::cur);
        }
    }
    return {};
}

double ToneAmplitude(const std::vector<double>& samples, size_t begin, size_t count,
                     double frequency) {
    if (begin + count > samples.size() || count == 0) return 0.0;
    const double w = 2.0 * std::numbers::pi * frequency / RECORD_RATE;
    double re = 0.0, im = 0.0;
    for (size_t n = 0; n < count; ++n) {
        re += samples[begin + n] * std::cos(w * static_cast<double>(n));
        im -= samples[begin + n] * std::sin(w * static_cast<double>(n));
    }
    return 2.0 * std::sqrt(re * re + im * im) / static_cast<double>(count);
}

} // namespace widgets_test
