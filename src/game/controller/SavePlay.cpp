// Saving and going back in the story. A save is the player's trail and the
// number of stops passed; loading puts the stage back as the play found it and
// replays the trail without a screen, so no interpreter state is ever stored.
// Rolling back is a replay to one message less; rolling forward follows the
// trail kept from before the rollback until the player decides otherwise.
#include "game/controller/GameMain.h"

#include "game/player/ScenarioPlayer.h"
#include "game/player/ScenarioReplay.h"
#include "game/settings/Setting.h"
#include "of/Audio.h"
#include "of/InputState.h"
#include "of/SimpleMenu.h"
#include "of/Window.h"
#include "util/AssertReport.h"
#include "util/ConvString.h"

#include "ofFrameReadback.h"

#include <chrono>
#include <cstdio>

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\game\\GameMain";
constexpr int KEEP_CURRENT = -1; // a music volume or speed left as it is

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string SlotText(const SlotStore& slots, SlotId slot) {
    return slots.path(slot);
}

// What log.txt says when the story no longer runs as it did when saved.
std::string ChangeReport(const ReplayOutcome& outcome) {
    switch (outcome.where) {
    case ReplayOutcome::DECISION_MISSING:
        return "no longer offers the choice \"" + outcome.missingDecision +
               "\"; the player chooses again";
    case ReplayOutcome::STORY_ENDED:
        return "ends before the saved place; resumed at the last message reached";
    case ReplayOutcome::MESSAGE_MOVED:
        return "has the saved message at another place; resumed at that message";
    case ReplayOutcome::MESSAGE_CHANGED:
        return "reads differently at the saved place; resumed there";
    default:
        return std::string();
    }
}

} // namespace

SaveRecord GameMain::currentRecord() const {
    SaveRecord record;
    record.trail = m_pPlayer->getTrail();
    record.stops = record.trail.stops();
    record.script = m_pPlayer->getScriptName();
    record.message = ConvString::AnsiToUtf8(m_pPlayer->getMessageText());
    record.savedAtMs = NowMs();
    return record;
}

// Nothing is saved on the title or in the middle of a replay: there is no
// play to come back to.
bool GameMain::saveTo(SlotId slot) {
    if (m_TitleMode || m_pPlayer->isReplaying()) return false;
    const bool saved = m_pSlots->write(slot, currentRecord());
    KURA_CHECK(saved, "saved", SOURCE_NAME, "Kura::GameMain::saveTo", __LINE__);
    if (!saved) return false;
    writeThumbnail(slot);
    if (slot.kind != SlotId::AUTO) m_SavedTrail = m_pPlayer->getTrail();
    return true;
}

// The picture captured for this save; a save made without one (the auto-saves)
// must not show the picture of an older save in the slot.
void GameMain::writeThumbnail(SlotId slot) {
    const std::string path = m_pSlots->thumbnailPath(slot);
    if (m_Capture.empty()) {
        std::remove(path.c_str());
        return;
    }
    const bool written = m_Capture.write(path);
    KURA_CHECK(written, "written", SOURCE_NAME, "Kura::GameMain::writeThumbnail", __LINE__);
}

bool GameMain::isPlayUnsaved() const {
    const PlayTrail& trail = m_pPlayer->getTrail();
    return !m_TitleMode && !(trail.continues(m_SavedTrail) && m_SavedTrail.continues(trail));
}

void GameMain::captureThen(AfterCapture next) {
    m_AfterCapture = next;
    m_CaptureArrived = false;
    ofReadNextFrame([this](const unsigned char* bgra, int width, int height) {
        m_Capture = Thumbnail::Shrink(bgra, width, height);
        m_CaptureArrived = true;
    });
}

void GameMain::afterCaptureStep() {
    if (m_AfterCapture == AfterCapture::NOTHING || !m_CaptureArrived) return;
    const AfterCapture next = m_AfterCapture;
    m_AfterCapture = AfterCapture::NOTHING;
    if (next == AfterCapture::SAVE_SCREEN) {
        openScreen(SlotScreen::SAVE);
        return;
    }
    saveTo({SlotId::QUICK, 1});
    m_Capture = Thumbnail();
}

bool GameMain::autoSave() {
    return saveTo(m_pSlots->nextAuto());
}

bool GameMain::loadFrom(SlotId slot) {
    SlotRead found = m_pSlots->read(slot);
    if (found.status == SlotRead::DAMAGED) {
        WriteLog("save damaged, its backup is loaded instead: " + SlotText(*m_pSlots, slot) + "\n");
        found = m_pSlots->readBackup(slot);
    }
    if (found.status != SlotRead::SAVED) return false;
    loadRecord(found.record);
    m_ForwardTrail = PlayTrail();
    m_SavedTrail = m_pPlayer->getTrail();
    return true;
}

void GameMain::loadRecord(const SaveRecord& record) {
    replayTo(record.trail, record.stops, ConvString::Utf8ToAnsi(record.message));
}

// One stop back: the message before, or the menu before it, where the player
// may now decide otherwise; or further, to any stop passed. The trail kept
// for rolling forward is the longer.
bool GameMain::rollBack() {
    return rollBackTo(m_pPlayer->getTrail().stops() - 1);
}

bool GameMain::rollBackTo(int32_t stops) {
    const PlayTrail& trail = m_pPlayer->getTrail();
    if (m_TitleMode || stops < 0 || stops > trail.stops()) return false;
    if (!m_ForwardTrail.continues(trail)) m_ForwardTrail = trail;
    replayTo(trail, stops);
    return true;
}

// Forward only while the play is still on the kept trail.
bool GameMain::rollForward() {
    const PlayTrail& trail = m_pPlayer->getTrail();
    if (m_TitleMode || !m_ForwardTrail.continues(trail) || m_ForwardTrail.stops() <= trail.stops())
        return false;
    replayTo(m_ForwardTrail, trail.stops() + 1);
    return true;
}

// The stage as every play finds it: the title picture alone on a black
// background, nothing waiting, fading or playing.
void GameMain::resetStage() {
    clearAllWindows();
    addWindow(WINDOW_KIND_IMAGE);
    Window* title = getWindow(0);
    title->Load(TITLE_PICTURE);
    title->SetVisible(true);
    m_Characters.clear();
    m_BackgroundColor = ColorRgba{0, 0, 0, 255};
    setWait(0, false);
    m_FadeInLeft = m_FadeOutLeft = 0;
    m_MessageFrames = 0;
    for (SimpleMenu* menu : {m_pCommandMenu.get(), m_pInterruptMenu.get()}) {
        menu->Deactivate();
        menu->SetActive(false);
    }
    if (Audio::GetNowBgm() != Audio::BGM_FREE_NONE) Audio::StopBgm(Audio::GetNowBgm());
    m_ReplayMusic = ReplayMusic();
    m_History.clear(); // the replay tells it again
    m_TitleMode = false;
}

// The menu the story waits at is built anew by the next game step.
void GameMain::replayTo(const PlayTrail& trail, int32_t stops, const std::string& message) {
    const PlayTrail saved = trail;
    resetStage();
    const ReplayOutcome outcome =
        message.empty() ? ScenarioReplay::Replay(*m_pPlayer, saved, stops)
                        : ScenarioReplay::ReplayToMessage(*m_pPlayer, saved, stops, message);
    if (outcome.where != ReplayOutcome::AT_POSITION)
        WriteLog("saved play: the scenario file " + outcome.script +
                 " changed since the save: " + ChangeReport(outcome) + " (stop " +
                 std::to_string(outcome.stops) + " of " + std::to_string(stops) + ")\n");
    m_LastState = ScenarioPlayer::STATE_RUNNING;
    if (m_ReplayMusic.playing) {
        if (m_ReplayMusic.volume != KEEP_CURRENT)
            Audio::SetBgmVolume(m_ReplayMusic.slot, m_ReplayMusic.volume);
        if (m_ReplayMusic.speed != KEEP_CURRENT)
            Audio::SetBgmSpeed(m_ReplayMusic.slot, m_ReplayMusic.speed);
        Audio::Play(m_ReplayMusic.slot, true);
    }
}

// A key counts once, in the frame it went down.
int32_t GameMain::keyPresses(int32_t key) {
    return g_pInput != nullptr ? g_pInput->TakePresses(key) : 0;
}

bool GameMain::keyPressedNow(int32_t key) {
    return keyPresses(key) > 0;
}

// Saving waits one frame for the picture of the screen; there is nothing to
// save on the title, only to load.
void GameMain::saveKeysStep() {
    afterCaptureStep();
    const bool playing = !m_TitleMode && !m_pPlayer->isReplaying();
    if (keyPressedNow(KEY_QUICK_SAVE) && playing) captureThen(AfterCapture::QUICK_SAVE);
    if (keyPressedNow(KEY_SAVE_SCREEN) && playing) captureThen(AfterCapture::SAVE_SCREEN);
    if (keyPressedNow(KEY_LOAD_SCREEN)) openScreen(SlotScreen::LOAD);
    if (keyPressedNow(KEY_QUICK_LOAD)) loadFrom({SlotId::QUICK, 1});
    // Each press is a message, however many came within the frame.
    for (int32_t presses = keyPresses(KEY_ROLL_BACK); presses > 0; --presses)
        rollBack();
    for (int32_t presses = keyPresses(KEY_ROLL_FORWARD); presses > 0; --presses)
        rollForward();
    wheelStep();
}

// Each step of the wheel is one message: away from the player back, towards forward.
void GameMain::wheelStep() {
    const int steps = g_pInput != nullptr ? g_pInput->TakeWheelSteps() : 0;
    for (int step = 0; step < steps; ++step)
        rollBack();
    for (int step = 0; step > steps; --step)
        rollForward();
}

} // namespace Kura
