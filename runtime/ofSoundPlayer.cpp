// Sound playing on OpenAL. A sound is one buffer; each play is a source (a channel)
// on it. Finished channels are reclaimed at the next play, and a sound never holds
// more than MAX_CHANNELS at once, so repeated overlapping plays stay bounded.
#include "ofSoundPlayer.h"

#include "ofLog.h"
#include "ofSoundDevice.h"
#include "ofSoundFile.h"
#include "ofUtils.h"

#include <AL/al.h>
#include <AL/alext.h>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr size_t MAX_CHANNELS = 32;
// OpenAL cannot play at pitch 0 or below; slower requests are held at this.
constexpr float MIN_SPEED = 0.01f;

bool isActive(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING || state == AL_PAUSED;
}

} // namespace

struct ofSoundPlayer::Impl {
    ALuint buffer = 0;
    int channelCount = 0;
    float lengthSec = 0.0f;
    std::vector<ALuint> sources; // oldest first
    ALuint current = 0;

    float volume = 1.0f;
    float speed = 1.0f;
    float pan = 0.0f;
    bool loop = false;
    bool multiPlay = false;

    bool loaded() const { return buffer != 0; }
    bool currentActive() const { return current != 0 && isActive(current); }
    void apply(ALuint source) const;
    void applyPan(ALuint source) const;
    void deleteSource(ALuint source);
    void reclaimFinished();
    void unload();
};

// Mono channels are panned by placing them on a half circle around the listener.
// Stereo channels play as recorded unless panned, which needs the driver to place
// a multi-channel source as a whole.
void ofSoundPlayer::Impl::applyPan(ALuint source) const {
    const bool place = channelCount == 1 || (pan != 0.0f && ofSoundDeviceCanSpatializeStereo());
    if (channelCount == 2 && ofSoundDeviceCanSpatializeStereo())
        alSourcei(source, AL_SOURCE_SPATIALIZE_SOFT, place ? AL_TRUE : AL_FALSE);
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    if (place) alSource3f(source, AL_POSITION, pan, 0.0f, -std::sqrt(1.0f - pan * pan));
}

void ofSoundPlayer::Impl::apply(ALuint source) const {
    alSourcef(source, AL_GAIN, volume);
    alSourcef(source, AL_PITCH, speed);
    alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    applyPan(source);
}

void ofSoundPlayer::Impl::deleteSource(ALuint source) {
    alSourceStop(source);
    alDeleteSources(1, &source);
    if (source == current) current = 0;
}

void ofSoundPlayer::Impl::reclaimFinished() {
    std::erase_if(sources, [this](ALuint s) {
        if (isActive(s)) return false;
        deleteSource(s);
        return true;
    });
}

void ofSoundPlayer::Impl::unload() {
    if (!loaded()) return;
    for (ALuint s : sources)
        deleteSource(s);
    sources.clear();
    alDeleteBuffers(1, &buffer);
    buffer = 0;
    ofSoundDeviceRelease();
}

ofSoundPlayer::ofSoundPlayer() : m_pImpl(std::make_unique<Impl>()) {}

ofSoundPlayer::~ofSoundPlayer() {
    m_pImpl->unload();
}

bool ofSoundPlayer::loadSound(const std::string& fileName, bool) {
    unloadSound();
    const std::string path = ofToDataPath(fileName);
    ofSoundData data;
    if (!ofDecodeSoundFile(path, data)) {
        ofLog(OF_LOG_ERROR, "ofSoundPlayer: Could not load sound file %s", path.c_str());
        return false;
    }
    if (!ofSoundDeviceAcquire()) return false;
    Impl& s = *m_pImpl;
    alGetError();
    alGenBuffers(1, &s.buffer);
    const ALenum format = data.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    alBufferData(s.buffer, format, data.samples.data(),
                 static_cast<ALsizei>(data.samples.size() * sizeof(short)), data.sampleRate);
    if (alGetError() != AL_NO_ERROR) {
        ofLog(OF_LOG_ERROR, "ofSoundPlayer: Could not load sound file %s", path.c_str());
        if (s.buffer != 0) alDeleteBuffers(1, &s.buffer);
        s.buffer = 0;
        ofSoundDeviceRelease();
        return false;
    }
    s.channelCount = data.channels;
    s.lengthSec = static_cast<float>(data.samples.size() / data.channels) / data.sampleRate;
    return true;
}

void ofSoundPlayer::unloadSound() {
    m_pImpl->unload();
}

void ofSoundPlayer::play() {
    Impl& s = *m_pImpl;
    if (!s.loaded()) return;
    if ((s.loop || !s.multiPlay) && s.current != 0) alSourceStop(s.current);
    s.reclaimFinished();
    if (s.sources.size() >= MAX_CHANNELS) {
        s.deleteSource(s.sources.front());
        s.sources.erase(s.sources.begin());
    }
    ALuint source = 0;
    alGetError();
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR || source == 0) {
        ofLog(OF_LOG_WARNING, "ofSoundPlayer: no free channel to play on");
        return;
    }
    alSourcei(source, AL_BUFFER, static_cast<ALint>(s.buffer));
    s.apply(source);
    alSourcePlay(source);
    s.sources.push_back(source);
    s.current = source;
}

void ofSoundPlayer::stop() {
    if (m_pImpl->current != 0) alSourceStop(m_pImpl->current);
}

void ofSoundPlayer::setVolume(float volume) {
    m_pImpl->volume = std::clamp(volume, 0.0f, 1.0f);
    if (m_pImpl->currentActive()) alSourcef(m_pImpl->current, AL_GAIN, m_pImpl->volume);
}

void ofSoundPlayer::setSpeed(float speed) {
    m_pImpl->speed = std::max(speed, MIN_SPEED);
    if (m_pImpl->currentActive()) alSourcef(m_pImpl->current, AL_PITCH, m_pImpl->speed);
}

void ofSoundPlayer::setPan(float pan) {
    m_pImpl->pan = std::clamp(pan, -1.0f, 1.0f);
    if (m_pImpl->currentActive()) m_pImpl->applyPan(m_pImpl->current);
}

void ofSoundPlayer::setPaused(bool paused) {
    if (!m_pImpl->currentActive()) return;
    if (paused)
        alSourcePause(m_pImpl->current);
    else
        alSourcePlay(m_pImpl->current);
}

void ofSoundPlayer::setLoop(bool loop) {
    m_pImpl->loop = loop;
    if (m_pImpl->currentActive())
        alSourcei(m_pImpl->current, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
}

void ofSoundPlayer::setMultiPlay(bool multiPlay) {
    m_pImpl->multiPlay = multiPlay;
}

void ofSoundPlayer::setPosition(float fraction) {
    if (!m_pImpl->currentActive()) return;
    const float seconds = std::clamp(fraction, 0.0f, 1.0f) * m_pImpl->lengthSec;
    alSourcef(m_pImpl->current, AL_SEC_OFFSET, seconds);
}

float ofSoundPlayer::getPosition() const {
    if (!m_pImpl->currentActive() || m_pImpl->lengthSec <= 0.0f) return 0.0f;
    ALfloat seconds = 0.0f;
    alGetSourcef(m_pImpl->current, AL_SEC_OFFSET, &seconds);
    return seconds / m_pImpl->lengthSec;
}

bool ofSoundPlayer::getIsPlaying() const {
    return m_pImpl->currentActive();
}
bool ofSoundPlayer::isLoaded() const {
    return m_pImpl->loaded();
}
float ofSoundPlayer::getVolume() const {
    return m_pImpl->volume;
}
float ofSoundPlayer::getSpeed() const {
    return m_pImpl->speed;
}
float ofSoundPlayer::getPan() const {
    return m_pImpl->pan;
}
