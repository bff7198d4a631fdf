// A sound loaded whole into memory and played on channels of the shared output
// device. Volume, speed, pan and loop apply to the playing channel at once and are
// kept for the next play. Without an audio device everything is silent.
#pragma once

#include <memory>
#include <string>

class ofSoundPlayer {
public:
    ofSoundPlayer();
    ~ofSoundPlayer();
    ofSoundPlayer(const ofSoundPlayer&) = delete;
    ofSoundPlayer& operator=(const ofSoundPlayer&) = delete;

    bool loadSound(const std::string& fileName, bool stream = false); // decoded whole either way
    void unloadSound();
    void play();
    void stop();

    void setVolume(float volume); // 0.0 to 1.0
    void setSpeed(float speed);   // 1.0 is the recorded pitch and tempo
    void setPan(float pan);       // -1.0 left to 1.0 right
    void setPaused(bool paused);
    void setLoop(bool loop);
    void setMultiPlay(bool multiPlay); // overlapping plays instead of restarting
    void setPosition(float fraction);  // 0.0 to 1.0 of the sound's length

    float getPosition() const;
    bool getIsPlaying() const;
    bool isLoaded() const;
    float getVolume() const;
    float getSpeed() const;
    float getPan() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
