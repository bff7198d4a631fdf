// Slots of the screen-effect and sound commands: background colour, waits,
// fades, and the music and sound-effect slots of Audio. Times arrive in
// milliseconds and run in frames.
#include "game/controller/GameMain.h"

#include "game/player/ScenarioPlayer.h"
#include "of/Audio.h"

#include "ofAppRunner.h"

namespace Kura {

namespace {

// Volumes and speeds of -1 keep what the slot has.
constexpr int KEEP_CURRENT = -1;

ColorRgba Opaque(int r, int g, int b) {
    return {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), 255};
}

} // namespace

void GameMain::slotEffectSetBackgroundColor(int r, int g, int b) {
    if (GameMain* self = slotTarget("Kura::GameMain::slotEffectSetBackgroundColor", __LINE__))
        self->m_BackgroundColor = Opaque(r, g, b);
}

// While a replay runs, waits and fades pass at once, sound effects stay
// silent and the music is only noted, to start when the replay is over. The
// music and the sound files are noted in a play too, for the checkpoints.
void GameMain::slotEffectWait(int ms, int resume) {
    GameMain* self = slotTarget("Kura::GameMain::slotEffectWait", __LINE__);
    if (self != nullptr && self->m_pPlayer->isReplaying()) return;
    const int32_t frames = waitFramesAtRate(ms, static_cast<int64_t>(ofGetFrameRate()));
    if (self != nullptr && frames > 0) self->setWait(frames, resume != 0);
}

void GameMain::slotEffectFadeIn(int r, int g, int b, int ms) {
    GameMain* self = slotTarget("Kura::GameMain::slotEffectFadeIn", __LINE__);
    if (self == nullptr || self->m_pPlayer->isReplaying()) return;
    self->m_FadeInLength = self->m_FadeInLeft = framesFromMs(ms);
    self->m_FadeInColor = Opaque(r, g, b);
}

void GameMain::slotEffectFadeOut(int r, int g, int b, int ms) {
    GameMain* self = slotTarget("Kura::GameMain::slotEffectFadeOut", __LINE__);
    if (self == nullptr || self->m_pPlayer->isReplaying()) return;
    self->m_FadeOutLength = self->m_FadeOutLeft = framesFromMs(ms);
    self->m_FadeOutColor = Opaque(r, g, b);
}

void GameMain::slotSoundLoadBGM(int slot, const std::string& file) {
    GameMain* self = slotTarget("Kura::GameMain::slotSoundLoadBGM", __LINE__);
    if (self == nullptr) return;
    self->m_BgmFiles[slot] = file;
    Audio::LoadBgm(file, slot);
}

void GameMain::slotSoundLoadSE(int slot, const std::string& file) {
    GameMain* self = slotTarget("Kura::GameMain::slotSoundLoadSE", __LINE__);
    if (self == nullptr) return;
    self->m_SeFiles[slot] = file;
    Audio::LoadSe(file, slot);
}

void GameMain::slotSoundPlayBGM(int slot, int volume, int speed) {
    GameMain* self = slotTarget("Kura::GameMain::slotSoundPlayBGM", __LINE__);
    if (self == nullptr) return;
    self->m_ReplayMusic = {true, slot, volume, speed};
    if (self->m_pPlayer->isReplaying()) return;
    if (volume != KEEP_CURRENT) Audio::SetBgmVolume(slot, volume);
    if (speed != KEEP_CURRENT) Audio::SetBgmSpeed(slot, speed);
    Audio::Play(slot, true);
}

void GameMain::slotSoundPlaySE(int slot, int volume, int speed) {
    GameMain* self = slotTarget("Kura::GameMain::slotSoundPlaySE", __LINE__);
    if (self == nullptr || self->m_pPlayer->isReplaying()) return;
    if (volume != KEEP_CURRENT) Audio::SetSeVolume(slot, volume);
    if (speed != KEEP_CURRENT) Audio::SetSeSpeed(slot, speed);
    // Skipping passes the moment a one-shot sound belongs to.
    if (!self->isSkipping()) Audio::PlaySe(slot);
}

void GameMain::slotSoundStopBGM() {
    GameMain* self = slotTarget("Kura::GameMain::slotSoundStopBGM", __LINE__);
    if (self == nullptr) return;
    self->m_ReplayMusic.playing = false;
    if (!self->m_pPlayer->isReplaying()) Audio::StopBgm(Audio::GetNowBgm());
}

void GameMain::slotSoundStopSE(int slot) {
    GameMain* self = slotTarget("Kura::GameMain::slotSoundStopSE", __LINE__);
    if (self != nullptr && !self->m_pPlayer->isReplaying()) Audio::StopSe(slot);
}

// A scene change is saved in the auto-save slots as the play goes on.
void GameMain::slotGotoNextScript(const std::string&) {
    GameMain* self = slotTarget("Kura::GameMain::slotGotoNextScript", __LINE__);
    if (self == nullptr) return;
    self->m_MessageFrames = 0;
    if (!self->m_pPlayer->isReplaying()) self->autoSave();
}

void GameMain::slotWaitSelect() {
    if (GameMain* self = slotTarget("Kura::GameMain::slotWaitSelect", __LINE__))
        self->m_SelectWaitPending = true;
}

} // namespace Kura
