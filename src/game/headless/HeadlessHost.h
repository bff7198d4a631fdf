// A stand-in for the game controller without a window: it listens to every
// signal of a scenario player, drives the player frame by frame as the
// controller does (resume, typing, waits, menu answers) and records each
// signal with its arguments, so a test can read the story as the screen saw it.
#pragma once

#include "game/player/ScenarioPlayer.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace kura_test {

class HeadlessHost {
public:
    static constexpr int FRAMES_PER_SECOND = 60;
    // A message typed without input advances this many bytes a frame.
    static constexpr int TYPING_STEPS_PER_FRAME = 2;

    explicit HeadlessHost(Kura::ScenarioPlayer& player); // connects every signal
    ~HeadlessHost();                                     // and lets them go

    // One frame: the wait countdown, then (while nothing waits) the game step.
    // A complete message is advanced at once, as if the player pressed Z; a
    // menu takes the next queued answer, or waits while there is none.
    void frame();
    // Frames until the script has ended, a menu waits without an answer, or
    // maxFrames have run; answers the frames run.
    int run(int maxFrames);
    bool waitsForAnswer() const;

    void answer(const std::string& text) { m_Answers.push_back(text); }
    // What the image-size questions are answered with.
    void setImageSize(int width, int height);

    // Every signal in order, as "name(arg,arg)", and the host's own steps as
    // "advance(<message>)" and "select(<text>)".
    const std::vector<std::string>& calls() const { return m_Calls; }
    std::string callsText() const; // one call a line
    void clearCalls() { m_Calls.clear(); }
    int waitFrames() const { return m_WaitFrames; }

private:
    struct Connections;

    void gameStep();
    void startWait(int milliseconds, int resume);

    Kura::ScenarioPlayer& m_Player;
    std::unique_ptr<Connections> m_pConnections;
    std::vector<std::string> m_Calls;
    std::deque<std::string> m_Answers;
    int m_WaitFrames = 0;
    bool m_ResumeAfterWait = false;
    int m_ImageWidth = 0;
    int m_ImageHeight = 0;
};

} // namespace kura_test
