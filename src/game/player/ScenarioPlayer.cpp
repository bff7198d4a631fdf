// The scenario player: loading scenario files from the game's scenario folder,
// resuming the script and chaining to the next file, typing out the message,
// and handing a menu decision back to the script.
#include "game/player/ScenarioPlayerImpl.h"

#include "game/player/ScenarioProgress.h"
#include "game/player/ScriptBudget.h"
#include "game/settings/Setting.h"

#include "clock_source.h"
#include "random_source.h"
#include "string_value.h"
#include "util/AssertReport.h"
#include "util/ConvString.h"

#include <algorithm>

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\game\\ScenarioPlayer";
constexpr const char* SCRIPT_NAME_KEY = "scriptName";
// Texts of a script's result that mean "stop here" rather than "go on with the
// file named by callGotoNextScript".
constexpr const char* RESULT_NOTHING = "[null]";
constexpr const char* RESULT_ZERO = "0";
constexpr int RESUME_FLAG = 1;
// Every auto-advance time but "none" advances by itself: 0 (or less) after the
// shortest wait there is, one frame, since a wait of 0 ms never runs out.
constexpr int32_t SHORTEST_AUTO_ADVANCE_MS = 1;
constexpr size_t UTF8_MAX_BYTES = 4; // the longest character

// A path in the game's data folder; empty without settings (already reported).
std::string GamePath(const std::string& folder, const std::string& file) {
    Setting* setting = Setting::get();
    return setting ? setting->getDataPath(folder, file) : std::string();
}

} // namespace

ScenarioPlayer::Impl* ScenarioCommands::Target(const char* function, int32_t line) {
    if (!KURA_CHECK(ScenarioPlayer::m_pRef != nullptr, "m_pRef", SOURCE_NAME, function, line))
        return nullptr;
    return &ScenarioPlayer::m_pRef->impl();
}

void ScenarioPlayer::Impl::clearMessage() {
    messageText.clear();
    shownText.clear();
    typedWidth = 0;
    shownWidth = 0;
}

// Only the text behind what is shown is looked at (no character takes more
// bytes than UTF8_MAX_BYTES per width unit), so typing out a long message
// stays linear.
void ScenarioPlayer::Impl::showTypedCharacters() {
    size_t typedBehind = typedWidth - shownWidth;
    std::string rest = messageText.substr(shownText.size(), typedBehind * UTF8_MAX_BYTES);
    ConvString::WidthPrefix shown = ConvString::Utf8PrefixWithinWidth(rest, typedBehind);
    shownText.append(rest, 0, shown.bytes);
    shownWidth += shown.width;
}

void ScenarioPlayer::Impl::appendMessage(const std::string& text, int32_t time) {
    messageText += ConvString::Utf8ToAnsi(text);
    autoAdvanceTime = time;
    messageKey = {scriptName, text, textsShownInFile[text]++};
    ++messagesShown;
}

int64_t ScenarioPlayer::Impl::readClock(int64_t live) {
    const size_t next = trail.clockReadings.size();
    const int64_t value = replaying && next < replayedClock.size() ? replayedClock[next] : live;
    trail.clockReadings.push_back(value);
    return value;
}

void ScenarioPlayer::Impl::keepCheckpoint(bool anew) {
    if (!onTrail) return;
    lastCheckpoint = anew ? nullptr : checkpoints.at(trail);
    if (lastCheckpoint) return;
    auto here = std::make_shared<PlayCheckpoint>();
    here->trail = trail;
    here->randomState = Kel::random::state();
    here->globals.take();
    here->sceneFlags = sceneFlags;
    here->globalFlags = globalFlags;
    here->interruptCommands = interruptCommands;
    here->selectedText = selectedText;
    here->messageText = messageText;
    here->shownText = shownText;
    here->typedWidth = typedWidth;
    here->shownWidth = shownWidth;
    here->autoAdvanceTime = autoAdvanceTime;
    here->menuWaits = menuWaits;
    here->scriptName = scriptName;
    here->scenes = scenesRun;
    if (stageKeeper.capture) here->stage = stageKeeper.capture();
    lastCheckpoint = here;
    checkpoints.add(std::move(here));
}

// The scene file is loaded again by the caller; the clock readings still to
// come are those of the trail replayed.
void ScenarioPlayer::Impl::resumeAt(const PlayCheckpoints::Kept& checkpoint,
                                    const PlayTrail& replayed) {
    const PlayCheckpoint& from = *checkpoint;
    from.globals.restore();
    Kel::random::setState(from.randomState);
    trail = from.trail;
    replayedClock = replayed.clockReadings;
    sceneFlags = from.sceneFlags;
    globalFlags = from.globalFlags;
    interruptCommands = from.interruptCommands;
    selectedText = from.selectedText;
    messageText = from.messageText;
    shownText = from.shownText;
    typedWidth = from.typedWidth;
    shownWidth = from.shownWidth;
    autoAdvanceTime = from.autoAdvanceTime;
    menuWaits = from.menuWaits;
    scriptName = from.scriptName;
    scenesRun = from.scenes;
    lastCheckpoint = checkpoint;
    onTrail = true;
}

void ScenarioPlayer::Impl::clearSceneFlags() {
    sceneFlags.clear();
    signals.onClearSceneFlag();
}

void ScenarioPlayer::Impl::clearGlobalFlags() {
    globalFlags.clear();
    signals.onClearGlobalFlag();
}

bool ScenarioPlayer::Impl::setItem(CommandList& items, const std::string& text, int32_t value) {
    for (CommandItem& item : items) {
        if (item.text != text) continue;
        bool changed = item.value != value;
        item.value = value;
        return changed;
    }
    items.push_back({text, value, {}});
    return true;
}

ScenarioPlayer::ScenarioPlayer() : m_pImpl(std::make_unique<Impl>()) {
    ScenarioCommands::RegisterCommands(m_pImpl->interpreter);
    m_pRef = this;
    Kel::clock::setFilter([impl = m_pImpl.get()](int64_t live) { return impl->readClock(live); });
    m_pImpl->progressPath = GamePath(SAVE_FOLDER, SAVE_FILE);
    // No file means no progress yet; a file not in the written form is reported.
    ScenarioProgress::Read(m_pImpl->progressPath, m_pImpl->nowScene, m_pImpl->maxScene);
}

ScenarioPlayer::~ScenarioPlayer() {
    if (m_pRef != this) return;
    m_pRef = nullptr;
    Kel::clock::setFilter(nullptr);
}

ScenarioSignals& ScenarioPlayer::signals() {
    return m_pImpl->signals;
}

void ScenarioPlayer::start(const std::string& name) {
    if (!KURA_CHECK(!m_pImpl->running, "!running", SOURCE_NAME, "ScenarioPlayer::start", __LINE__))
        return;
    m_pImpl->scriptName = name;
    m_pImpl->onTrail = false;
    reload(true, true);
}

void ScenarioPlayer::beginPlay(const std::string& name) {
    PlayTrail trail;
    trail.beginScript = name;
    trail.randomState = Kel::random::state();
    beginReplay(trail);
    m_pImpl->keepCheckpoint(true);
}

// The first play takes the snapshot that every later one goes back to. The
// stage a play finds is kept with a checkpoint at its beginning, so that its
// replays find it too.
void ScenarioPlayer::beginReplay(const PlayTrail& trail) {
    Impl& impl = *m_pImpl;
    if (impl.globalsAtFirstPlay.isTaken())
        impl.globalsAtFirstPlay.restore();
    else
        impl.globalsAtFirstPlay.take();
    Kel::random::setState(trail.randomState);
    impl.trail = PlayTrail{trail.beginScript, trail.randomState, {}, 0, {}};
    impl.replayedClock = trail.clockReadings;
    impl.menuWaits = 0;
    impl.clearMessage();
    impl.autoAdvanceTime = AUTO_ADVANCE_NONE;
    impl.interruptCommands.clear();
    impl.selectedText.clear();
    impl.scenesRun.clear();
    impl.lastCheckpoint = nullptr;
    start(trail.beginScript);
    impl.onTrail = true;
}

void ScenarioPlayer::beginReplayBefore(const PlayTrail& trail, int32_t stops) {
    Impl& impl = *m_pImpl;
    const PlayCheckpoints::Kept from = impl.checkpoints.latestOn(
        trail, stops, [&impl](const std::string& path) { return impl.compiled.isCurrent(path); });
    if (from)
        resumeAt(from, trail);
    else
        beginReplay(trail);
}

void ScenarioPlayer::beginReplayAt(const std::shared_ptr<const PlayCheckpoint>& checkpoint) {
    resumeAt(checkpoint, checkpoint->trail);
}

std::shared_ptr<const PlayCheckpoint> ScenarioPlayer::lastCheckpoint() const {
    return m_pImpl->lastCheckpoint;
}

void ScenarioPlayer::resumeAt(const std::shared_ptr<const PlayCheckpoint>& checkpoint,
                              const PlayTrail& replayed) {
    Impl& impl = *m_pImpl;
    if (!KURA_CHECK(!impl.running, "!running", SOURCE_NAME, "ScenarioPlayer::resumeAt", __LINE__))
        return;
    impl.resumeAt(checkpoint, replayed);
    reload(false, false);
    if (impl.stageKeeper.restore) impl.stageKeeper.restore(checkpoint->stage);
}

// Checkpoints taken without the keeper hold no stage of its.
void ScenarioPlayer::setStageKeeper(StageKeeper keeper) {
    m_pImpl->stageKeeper = std::move(keeper);
    m_pImpl->checkpoints.clear();
}

const PlayTrail& ScenarioPlayer::getTrail() const {
    return m_pImpl->trail;
}

void ScenarioPlayer::setReplaying(bool replaying) {
    m_pImpl->replaying = replaying;
}

bool ScenarioPlayer::isReplaying() const {
    return m_pImpl->replaying;
}

void ScenarioPlayer::completeMessage() {
    Impl& impl = *m_pImpl;
    impl.typedWidth += impl.messageText.size() * UTF8_MAX_BYTES; // more than any text is wide
    impl.showTypedCharacters();
    impl.typedWidth = impl.shownWidth;
}

bool ScenarioPlayer::isChoiceOpen() const {
    const Impl& impl = *m_pImpl;
    const bool choosing =
        impl.state == STATE_SELECT_COMMAND || impl.state == STATE_SELECT_INTERRUPT;
    return choosing && impl.menuWaits > static_cast<int32_t>(impl.trail.decisions.size());
}

void ScenarioPlayer::reload(bool clearScene, bool clearGlobal) {
    Impl& impl = *m_pImpl;
    // Loading from inside the running script would free the code being run.
    if (!KURA_CHECK(!impl.running, "!running", SOURCE_NAME, "ScenarioPlayer::reload", __LINE__))
        return;
    if (impl.scriptName.empty()) return;
    std::string path = GamePath(SCENARIO_FOLDER, impl.scriptName);
    impl.commands.clear();
    impl.textsShownInFile.clear();
    impl.state = STATE_RUNNING;
    impl.stopped = false;
    impl.scenesRun.insert(path);
    // The parser has printed why; the interpreter keeps what it held.
    Kel::Ref unit;
    int loaded = impl.compiled.find(path, unit);
    if (loaded == Kel::Interpreter::LOADED) impl.interpreter.loadCompiled(unit);
    if (!KURA_CHECK(loaded == Kel::Interpreter::LOADED, "0", SOURCE_NAME, "ScenarioPlayer::reload",
                    __LINE__))
        ReportAssertion(false, SOURCE_NAME, __LINE__, "ScenarioPlayer::reload",
                        (L"scenario file not loaded: " + ConvString::AnsiToWide(path)).c_str());
    impl.interpreter.setGlobal(SCRIPT_NAME_KEY,
                               Kel::Ref(new Kel::variable::Variable::vString(impl.scriptName)));
    m_pRef = this;
    if (clearScene) impl.clearSceneFlags();
    if (clearGlobal) impl.clearGlobalFlags();
}

void ScenarioPlayer::resume() {
    Impl& impl = *m_pImpl;
    // A slot that resumes while its own command runs would run the script
    // inside itself.
    if (!KURA_CHECK(!impl.running, "!running", SOURCE_NAME, "ScenarioPlayer::resume", __LINE__))
        return;
    // A scene stopped by the bound stays stopped: going on would only spend
    // the next bound in the same loop. The player can still quit or restart.
    if (impl.stopped) return;
    m_pRef = this;
    // Every resume out of a message moves the story past it, whoever asked.
    if (impl.state == STATE_MESSAGE) ++impl.trail.messages;
    impl.running = true;
    Kel::Ref result;
    impl.stopped = !ScriptBudget::Run(impl.interpreter, 0, "ScenarioPlayer::resume", result);
    impl.running = false;
    if (impl.stopped) return; // what a stopped run answers is no result of the script
    std::string text = result.value()->toString().str();
    if (text == RESULT_NOTHING || text == RESULT_ZERO) return;
    reload(false, false);
    impl.keepCheckpoint(false);
}

void ScenarioPlayer::typingStep() {
    Impl& impl = *m_pImpl;
    if (!isMessageComplete()) {
        ++impl.typedWidth;
        impl.showTypedCharacters();
        return;
    }
    if (impl.autoAdvanceTime == AUTO_ADVANCE_NONE || impl.autoAdvanceTime == AUTO_ADVANCE_DONE)
        return;
    // Marked as handed on first: a slot may resume the script at once.
    int32_t time = std::max(impl.autoAdvanceTime, SHORTEST_AUTO_ADVANCE_MS);
    impl.autoAdvanceTime = AUTO_ADVANCE_DONE;
    impl.signals.onEffectWait(time, RESUME_FLAG);
}

void ScenarioPlayer::select(const std::string& text) {
    m_pImpl->signals.onDecide(m_pImpl->trail.stops(), text);
    m_pImpl->selectedText = ConvString::AnsiToUtf8(text);
    m_pImpl->trail.decisions.push_back(m_pImpl->selectedText);
    resume();
}

void ScenarioPlayer::setCommand(const std::string& text, int32_t value) {
    if (Impl::setItem(m_pImpl->commands, text, value)) m_pImpl->signals.onSetCommand(text, value);
}

// A parent that no item has changes nothing.
void ScenarioPlayer::setSubCommand(const std::string& parent, const std::string& text,
                                   int32_t value) {
    for (CommandItem& item : m_pImpl->commands) {
        if (item.text != parent) continue;
        if (Impl::setItem(item.subItems, text, value))
            m_pImpl->signals.onSetSubCommand(parent, text, value);
        return;
    }
}

bool ScenarioPlayer::isScriptRunning() const {
    return m_pImpl->interpreter.isRunning();
}
int32_t ScenarioPlayer::getState() const {
    return m_pImpl->state;
}
const std::string& ScenarioPlayer::getMessageText() const {
    return m_pImpl->messageText;
}
const std::string& ScenarioPlayer::getShownText() const {
    return m_pImpl->shownText;
}

bool ScenarioPlayer::isMessageComplete() const {
    return m_pImpl->shownText.size() >= m_pImpl->messageText.size();
}

bool ScenarioPlayer::isMessageCompleteAndReported() const {
    int32_t time = m_pImpl->autoAdvanceTime;
    return isMessageComplete() && (time == AUTO_ADVANCE_NONE || time == AUTO_ADVANCE_DONE);
}

int32_t ScenarioPlayer::getAutoAdvanceTime() const {
    return m_pImpl->autoAdvanceTime;
}
const std::string& ScenarioPlayer::getNowScene() const {
    return m_pImpl->nowScene;
}
const std::string& ScenarioPlayer::getMaxScene() const {
    return m_pImpl->maxScene;
}
const CommandList& ScenarioPlayer::getCommands() const {
    return m_pImpl->commands;
}
const CommandList& ScenarioPlayer::getInterruptCommands() const {
    return m_pImpl->interruptCommands;
}
const FlagMap& ScenarioPlayer::getSceneFlags() const {
    return m_pImpl->sceneFlags;
}
const FlagMap& ScenarioPlayer::getGlobalFlags() const {
    return m_pImpl->globalFlags;
}
const std::string& ScenarioPlayer::getSelectedText() const {
    return m_pImpl->selectedText;
}
const MessageKey& ScenarioPlayer::getMessageKey() const {
    return m_pImpl->messageKey;
}
int64_t ScenarioPlayer::getMessagesShown() const {
    return m_pImpl->messagesShown;
}
const std::string& ScenarioPlayer::getScriptName() const {
    return m_pImpl->scriptName;
}

} // namespace Kura
