// Sound decoding through libsndfile.
#include "ofSoundFile.h"

#include <sndfile.h>

namespace {

// Sounds are decoded whole into memory; this bounds one sound to about ten minutes
// of 48 kHz stereo, so that a damaged header cannot ask for gigabytes.
constexpr sf_count_t MAX_SAMPLES = 64LL * 1024 * 1024;

} // namespace

bool ofDecodeSoundFile(const std::string& path, ofSoundData& out) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) return false;
    const bool usable = (info.channels == 1 || info.channels == 2) && info.frames > 0 &&
                        info.samplerate > 0 && info.frames <= MAX_SAMPLES / info.channels;
    if (usable) {
        out.samples.resize(static_cast<size_t>(info.frames * info.channels));
        const sf_count_t got = sf_readf_short(file, out.samples.data(), info.frames);
        out.samples.resize(static_cast<size_t>(got * info.channels));
        out.channels = info.channels;
        out.sampleRate = info.samplerate;
    }
    sf_close(file);
    return usable && !out.samples.empty();
}
