// The headless host: every signal is connected to a recorder; the wait and
// the image-size questions also get the answers a controller would give, and
// the frames run at the rate the game is made for.
#include "game/headless/HeadlessHost.h"

#include "game/controller/GameMain.h"
#include "game/player/ScenarioSignals.h"

#include <boost/signals2/connection.hpp>

#include <cctype>

namespace Kura {

namespace {

std::string ArgumentText(int value) {
    return std::to_string(value);
}
std::string ArgumentText(const std::string& value) {
    return value;
}

// The name a signal is recorded under: its command's, starting in lower case.
std::string RecordedName(const char* name) {
    std::string text = name;
    text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

} // namespace

struct HeadlessHost::Connections {
    std::vector<boost::signals2::scoped_connection> list;

    // Records each firing of signal under name with its arguments.
    template <class... A>
    void record(boost::signals2::signal<void(A...)>& signal, const char* name,
                std::vector<std::string>& calls) {
        list.emplace_back(signal.connect([&calls, text = RecordedName(name)](A... arguments) {
            std::string call = text + "(";
            ((call += ArgumentText(arguments) + ","), ...);
            if (call.back() == ',') call.pop_back();
            calls.push_back(call + ")");
        }));
    }
};

HeadlessHost::HeadlessHost(ScenarioPlayer& player)
    : m_Player(player), m_pConnections(std::make_unique<Connections>()) {
    ScenarioSignals& s = player.signals();
    Connections& c = *m_pConnections;
#define KURA_RECORD(NAME, SIGNATURE) c.record(s.on##NAME, #NAME, m_Calls);
    KURA_SCENARIO_COMMANDS(KURA_SCENARIO_SKIP, KURA_RECORD, KURA_SCENARIO_SKIP)
    KURA_PLAYER_NEWS(KURA_RECORD)
#undef KURA_RECORD
    c.list.emplace_back(s.onImageWindowGetImageWidth.connect([this](int window) {
        m_Calls.push_back("imageWindowGetImageWidth(" + std::to_string(window) + ")");
        return m_ImageWidth;
    }));
    c.list.emplace_back(s.onImageWindowGetImageHeight.connect([this](int window) {
        m_Calls.push_back("imageWindowGetImageHeight(" + std::to_string(window) + ")");
        return m_ImageHeight;
    }));
    // The controller only counts here; the resume comes from frame(), never
    // from inside the script that fired the signal.
    c.list.emplace_back(s.onEffectWait.connect(
        [this](int milliseconds, int resume) { startWait(milliseconds, resume); }));
}

HeadlessHost::~HeadlessHost() = default;

void HeadlessHost::setImageSize(int width, int height) {
    m_ImageWidth = width;
    m_ImageHeight = height;
}

// A replay passes its waits at once.
void HeadlessHost::startWait(int milliseconds, int resume) {
    if (m_Player.isReplaying()) return;
    const int frames = GameMain::waitFramesAtRate(milliseconds, GameMain::FRAME_RATE);
    if (frames == 0) return;
    m_WaitFrames = frames;
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
    case ScenarioPlayer::STATE_RUNNING:
        m_Player.resume();
        break;
    case ScenarioPlayer::STATE_MESSAGE:
        if (m_Player.isMessageCompleteAndReported()) {
            m_Calls.push_back("advance(" + m_Player.getShownText() + ")");
            m_Player.resume();
        } else {
            for (int step = 0; step < GameMain::TYPING_STEPS_PER_FRAME; ++step)
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
    return m_Answers.empty() && (state == ScenarioPlayer::STATE_SELECT_COMMAND ||
                                 state == ScenarioPlayer::STATE_SELECT_INTERRUPT);
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

} // namespace Kura
