// Decoding a whole sound file (WAV, Ogg Vorbis, FLAC, MP3...) into 16-bit samples.
#pragma once

#include <string>
#include <vector>

struct ofSoundData {
    std::vector<short> samples; // interleaved frames
    int channels = 0;           // 1 or 2
    int sampleRate = 0;
};

// False when the file is missing, undecodable, has more than two channels or is
// longer than the player keeps in memory.
bool ofDecodeSoundFile(const std::string& path, ofSoundData& out);
