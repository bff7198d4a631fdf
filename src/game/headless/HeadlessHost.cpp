// The headless host: every signal is connected to a recorder; the wait and
// the image-size questions also get the answers a controller would give.
#include "game/headless/HeadlessHost.h"

#include "game/player/ScenarioSignals.h"

#include <boost/signals2/connection.hpp>

namespace kura_test {

namespace {

std::string ArgumentText(int value) {
    return std::to_string(value);
}
std::string ArgumentText(const std::string& value) {
    return value;
}

} // namespace

struct HeadlessHost::Connections {
    std::vector<boost::signals2::scoped_connection> list;

    // Records each firing of signal under name with its arguments.
    template <class... A>
    void record(boost::signals2::signal<void(A...)>& signal, const char* name,
                std::vector<std::string>& calls) {
        list.emplace_back(signal.connect([&calls, name](A... arguments) {
            std::string text = std::string(name) + "(";
            ((text += ArgumentText(arguments) + ","), ...);
            if (text.back() == ',') text.pop_back();
            calls.push_back(text + ")");
        }));
    }
};

HeadlessHost::HeadlessHost(Kura::ScenarioPlayer& player)
    : m_Player(player), m_pConnections(std::make_unique<Connections>()) {
    Kura::ScenarioSignals& s = player.signals();
    Connections& c = *m_pConnections;
    std::vector<std::string>& calls = m_Calls;
    c.record(s.setMessageWindowCharacter, "setMessageWindowCharacter", calls);
    c.record(s.setCommand, "setCommand", calls);
    c.record(s.setSubCommand, "setSubCommand", calls);
    c.record(s.waitSelectCommand, "waitSelectCommand", calls);
    c.record(s.setInterruptCommand, "setInterruptCommand", calls);
    c.record(s.waitSelectInterruptCommand, "waitSelectInterruptCommand", calls);
    c.record(s.gotoNextScript, "gotoNextScript", calls);
    c.record(s.clearSceneFlag, "clearSceneFlag", calls);
    c.record(s.setSceneFlagInt, "setSceneFlagInt", calls);
    c.record(s.setSceneFlagString, "setSceneFlagString", calls);
    c.record(s.clearGlobalFlag, "clearGlobalFlag", calls);
    c.record(s.setGlobalFlagInt, "setGlobalFlagInt", calls);
    c.record(s.setGlobalFlagString, "setGlobalFlagString", calls);
    c.record(s.setCharaInfo, "setCharaInfo", calls);
    c.record(s.effectSetBackgroundColor, "effectSetBackgroundColor", calls);
    c.record(s.effectWait, "effectWait", calls);
    c.record(s.effectFadeIn, "effectFadeIn", calls);
    c.record(s.effectFadeOut, "effectFadeOut", calls);
    c.record(s.soundLoadBGM, "soundLoadBGM", calls);
    c.record(s.soundLoadSE, "soundLoadSE", calls);
    c.record(s.soundPlayBGM, "soundPlayBGM", calls);
    c.record(s.soundPlaySE, "soundPlaySE", calls);
    c.record(s.soundStopBGM, "soundStopBGM", calls);
    c.record(s.soundStopSE, "soundStopSE", calls);
    c.record(s.windowInit, "windowInit", calls);
    c.record(s.windowLoad, "windowLoad", calls);
    c.record(s.windowSetVisible, "windowSetVisible", calls);
    c.record(s.windowOpen, "windowOpen", calls);
    c.record(s.windowClose, "windowClose", calls);
    c.record(s.windowSetPos, "windowSetPos", calls);
    c.record(s.windowSetSize, "windowSetSize", calls);
    c.record(s.windowSetRect, "windowSetRect", calls);
    c.record(s.windowSetFlip, "windowSetFlip", calls);
    c.record(s.windowMovePos, "windowMovePos", calls);
    c.record(s.windowSetDepth, "windowSetDepth", calls);
    c.record(s.windowPlay, "windowPlay", calls);
    c.record(s.windowStop, "windowStop", calls);
    c.record(s.imageWindowSetImageRect, "imageWindowSetImageRect", calls);
    c.record(s.characterWindowAppearance, "characterWindowAppearance", calls);
    c.record(s.characterWindowExit, "characterWindowExit", calls);
    c.record(s.characterWindowSetVisibleName, "characterWindowSetVisibleName", calls);
    c.record(s.characterWindowSetName, "characterWindowSetName", calls);
    c.record(s.windowManagerAdd, "windowManagerAdd", calls);
    c.record(s.windowManagerClearAll, "windowManagerClearAll", calls);
    c.list.emplace_back(s.imageWindowGetImageWidth.connect([this](int window) {
        m_Calls.push_back("imageWindowGetImageWidth(" + std::to_string(window) + ")");
        return m_ImageWidth;
    }));
    c.list.emplace_back(s.imageWindowGetImageHeight.connect([this](int window) {
        m_Calls.push_back("imageWindowGetImageHeight(" + std::to_string(window) + ")");
        return m_ImageHeight;
    }));
    // The controller only counts here; the resume comes from frame(), never
    // from inside the script that fired the signal.
    c.list.emplace_back(s.effectWait.connect(
        [this](int milliseconds, int resume) { startWait(milliseconds, resume); }));
}

HeadlessHost::~HeadlessHost() = default;

void HeadlessHost::setImageSize(int width, int height) {
    m_ImageWidth = width;
    m_ImageHeight = height;
}

// Milliseconds become frames at the host's frame rate, truncated.
void HeadlessHost::startWait(int milliseconds, int resume) {
    if (milliseconds <= 0) return;
    m_WaitFrames = static_cast<int>(milliseconds / (1000.0 / FRAMES_PER_SECOND));
    m_ResumeAfterWait = resume != 0;
}

void HeadlessHost::frame() {
    if (m_WaitFrames > 0 && --m_WaitFrames == 0 && m_ResumeAfterWait) {
        m_ResumeAfterWait = false;
        m_Player.resume();
    }
    if (m_WaitFrames == 0) gameStep();
}

void HeadlessHost::gameStep() {
    switch (m_Player.getState()) {
    case Kura::ScenarioPlayer::STATE_RUNNING:
        m_Player.resume();
        break;
    case Kura::ScenarioPlayer::STATE_MESSAGE:
        if (m_Player.isMessageCompleteAndReported()) {
            m_Calls.push_back("advance(" + m_Player.getShownText() + ")");
            m_Player.resume();
        } else {
            for (int step = 0; step < TYPING_STEPS_PER_FRAME; ++step)
                m_Player.typingStep();
        }
        break;
    default:
        if (m_Answers.empty()) break;
        m_Calls.push_back("select(" + m_Answers.front() + ")");
        std::string text = m_Answers.front();
        m_Answers.pop_front();
        m_Player.select(text);
        break;
    }
}

bool HeadlessHost::waitsForAnswer() const {
    int state = m_Player.getState();
    return m_Answers.empty() && (state == Kura::ScenarioPlayer::STATE_SELECT_COMMAND ||
                                 state == Kura::ScenarioPlayer::STATE_SELECT_INTERRUPT);
}

int HeadlessHost::run(int maxFrames) {
    int frames = 0;
    while (frames < maxFrames && m_Player.isScriptRunning() && !waitsForAnswer()) {
        frame();
        ++frames;
    }
    return frames;
}

std::string HeadlessHost::callsText() const {
    std::string text;
    for (const std::string& call : m_Calls)
        text += call + "\n";
    return text;
}

} // namespace kura_test
