// The scenario player driven without a window: the host listens to every
// signal of a player, drives it frame by frame by the controller's rules
// (resume, typing, waits, menu answers) and records each signal with its
// arguments, so the story can be read as the screen would have shown it. Tests
// use it; so can anything that plays a route through a scenario.
#pragma once

#include "game/player/ScenarioPlayer.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace Kura {

class HeadlessHost {
public:
    explicit HeadlessHost(ScenarioPlayer& player); // connects every signal
    ~HeadlessHost();                               // and lets them go
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;

    // One frame: the wait countdown, then (while nothing waits) the game step.
    // A complete message is advanced at once, as if the player pressed Z; a
    // menu takes the next queued answer, or waits while there is none.
    void frame();
    // Frames until the script has ended, a menu waits without an answer, or
    // maxFrames have run; answers the frames run.
    int run(int maxFrames);
    bool waitsForAnswer() const;

    void answer(const std::string& text) { m_Answers.push_back(text); }
    size_t answersLeft() const { return m_Answers.size(); }
    // What the image-size questions are answered with.
    void setImageSize(int width, int height);

    // Every signal in order, as "name(arg,arg)" with the command's name in
    // lower case first, and the host's own steps as "advance(<message>)" and
    // "select(<text>)".
    const std::vector<std::string>& calls() const { return m_Calls; }
    std::string callsText() const; // one call a line
    void clearCalls() { m_Calls.clear(); }
    int waitFrames() const { return m_WaitFrames; }

private:
    struct Connections;

    void gameStep();
    void startWait(int milliseconds, int resume);

    ScenarioPlayer& m_Player;
    std::unique_ptr<Connections> m_pConnections;
    std::vector<std::string> m_Calls;
    std::deque<std::string> m_Answers;
    int m_WaitFrames = 0;
    bool m_ResumeAfterWait = false;
    int m_ImageWidth = 0;
    int m_ImageHeight = 0;
};

} // namespace Kura
