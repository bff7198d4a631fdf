// Sound slots on the runtime's sound player. Paths come from the caller's data
// path builder; failures go to the assertion report and leave the slot silent.
#include "of/Audio.h"

#include "ofSoundPlayer.h"
#include "ofUtils.h"
#include "util/AssertReport.h"
#include "util/ConvString.h"

#include <array>
#include <fstream>

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\of\\Audio";

struct Slot {
    ofSoundPlayer player;
    std::string path;
    float volume = 1.0f; // as the game set it, before the player's own volume
};

Audio* g_pInstance = nullptr;

template <size_t N> Slot* SlotAt(std::array<Slot, N>& slots, int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(N)) return nullptr;
    return &slots[index];
}

float Percent(int32_t value) {
    return static_cast<float>(value) / 100.0f;
}

void ApplyVolume(Slot& slot, float scale) {
    slot.player.setVolume(slot.volume * scale);
}

template <size_t N>
void SetVolume(std::array<Slot, N>& slots, int32_t index, float volume, float scale) {
    if (Slot* slot = SlotAt(slots, index)) {
        slot->volume = volume;
        ApplyVolume(*slot, scale);
    }
}

// A file that is not there is the game's fault, not the machine's: it goes to
// the report. A readable file that still fails (no audio device, a broken
// file) is left to the runtime's own log, so a machine without sound does not
// fill the report with one line per slot.
bool LoadSlot(Slot& slot, const std::string& path, const char* function, int32_t line) {
    slot.path = path;
    if (slot.player.loadSound(path, false)) return true;
    if (!std::ifstream(ofToDataPath(path), std::ios::binary).is_open())
        ReportAssertion(false, SOURCE_NAME, line, function,
                        (L"file not found: " + ConvString::AnsiToWide(path)).c_str());
    return false;
}

} // namespace

struct Audio::Impl {
    std::array<Slot, BGM_NUM> bgm;
    std::array<Slot, SE_NUM> se;
    int32_t nowBgm = BGM_FREE_NONE;
    DataPathFunc dataPath;
    float bgmScale = 1.0f; // the player's music and sound-effect volumes
    float seScale = 1.0f;

    std::string PathOf(const char* folder, const std::string& file) const {
        if (dataPath) return dataPath(folder, file);
        return std::string(folder) + "/" + file;
    }
};

Audio::Audio(DataPathFunc dataPath) : m_pImpl(std::make_unique<Impl>()) {
    m_pImpl->dataPath = std::move(dataPath);
}

Audio::~Audio() = default;

void Audio::Create(DataPathFunc dataPath) {
    if (g_pInstance == nullptr) g_pInstance = new Audio(std::move(dataPath));
}

// What plays is stopped first; deleting the players then frees their sounds.
void Audio::Destroy() {
    if (g_pInstance == nullptr) return;
    Impl& audio = *g_pInstance->m_pImpl;
    if (audio.nowBgm != BGM_FREE_NONE) {
        audio.bgm[audio.nowBgm].player.stop();
        for (Slot& slot : audio.se)
            slot.player.stop();
    }
    delete g_pInstance;
    g_pInstance = nullptr;
}

Audio* Audio::Get() {
    KURA_CHECK(g_pInstance != nullptr, "g_pInstance", SOURCE_NAME, "Kura::Audio::Get", __LINE__);
    return g_pInstance;
}

bool Audio::LoadBgm(const std::string& file, int32_t slot) {
    if (g_pInstance == nullptr) return false;
    Impl& audio = *g_pInstance->m_pImpl;
    Slot* target = SlotAt(audio.bgm, slot);
    if (target == nullptr) return false;
    return LoadSlot(*target, audio.PathOf(BGM_FOLDER, file), "Kura::Audio::LoadBgm", __LINE__);
}

bool Audio::LoadSe(const std::string& file, int32_t slot) {
    if (g_pInstance == nullptr) return false;
    Impl& audio = *g_pInstance->m_pImpl;
    Slot* target = SlotAt(audio.se, slot);
    if (target == nullptr) return false;
    return LoadSlot(*target, audio.PathOf(SE_FOLDER, file), "Kura::Audio::LoadSe", __LINE__);
}

// Only one music plays: the current one stops before the new one starts, and
// playing the current slot again restarts it.
void Audio::Play(int32_t slot, bool loop) {
    if (g_pInstance == nullptr) return;
    Impl& audio = *g_pInstance->m_pImpl;
    KURA_CHECK(slot != BGM_FREE_NONE, "bgmIndex!=GameDefine::BGM_FREE_NONE", SOURCE_NAME,
               "Kura::Audio::Play", 130);
    Slot* target = SlotAt(audio.bgm, slot);
    if (target == nullptr) return;
    if (audio.nowBgm != BGM_FREE_NONE) audio.bgm[audio.nowBgm].player.stop();
    audio.nowBgm = slot;
    target->player.setLoop(loop);
    target->player.play();
}

void Audio::PlaySe(int32_t slot) {
    if (ofSoundPlayer* player = GetSePlayer(slot)) player->play();
}

void Audio::StopBgm(int32_t slot) {
    if (ofSoundPlayer* player = GetBgmPlayer(slot)) player->stop();
}

void Audio::StopSe(int32_t slot) {
    if (ofSoundPlayer* player = GetSePlayer(slot)) player->stop();
}

void Audio::SetBgmVolume(int32_t slot, int32_t volume) {
    if (g_pInstance == nullptr) return;
    Impl& audio = *g_pInstance->m_pImpl;
    SetVolume(audio.bgm, slot, Percent(volume), audio.bgmScale);
}

void Audio::SetSeVolume(int32_t slot, int32_t volume) {
    if (g_pInstance == nullptr) return;
    Impl& audio = *g_pInstance->m_pImpl;
    SetVolume(audio.se, slot, Percent(volume), audio.seScale);
}

void Audio::SetMasterVolumes(int32_t bgmPercent, int32_t sePercent) {
    if (g_pInstance == nullptr) return;
    Impl& audio = *g_pInstance->m_pImpl;
    audio.bgmScale = Percent(bgmPercent);
    audio.seScale = Percent(sePercent);
    for (Slot& slot : audio.bgm)
        ApplyVolume(slot, audio.bgmScale);
    for (Slot& slot : audio.se)
        ApplyVolume(slot, audio.seScale);
}

void Audio::SetBgmSpeed(int32_t slot, int32_t speed) {
    if (ofSoundPlayer* player = GetBgmPlayer(slot)) player->setSpeed(Percent(speed));
}

void Audio::SetSeSpeed(int32_t slot, int32_t speed) {
    if (ofSoundPlayer* player = GetSePlayer(slot)) player->setSpeed(Percent(speed));
}

int32_t Audio::GetNowBgm() {
    return g_pInstance == nullptr ? BGM_FREE_NONE : g_pInstance->m_pImpl->nowBgm;
}

bool Audio::IsPlayingSe(int32_t slot) {
    const ofSoundPlayer* player = GetSePlayer(slot);
    return player != nullptr && player->getIsPlaying();
}

bool Audio::IsPlayingBgm(int32_t slot) {
    const ofSoundPlayer* player = GetBgmPlayer(slot);
    return player != nullptr && player->getIsPlaying();
}

std::string Audio::GetBgmPath(int32_t slot) {
    if (g_pInstance == nullptr) return std::string();
    const Slot* target = SlotAt(g_pInstance->m_pImpl->bgm, slot);
    return target == nullptr ? std::string() : target->path;
}

std::string Audio::GetSePath(int32_t slot) {
    if (g_pInstance == nullptr) return std::string();
    const Slot* target = SlotAt(g_pInstance->m_pImpl->se, slot);
    return target == nullptr ? std::string() : target->path;
}

ofSoundPlayer* Audio::GetBgmPlayer(int32_t slot) {
    if (g_pInstance == nullptr) return nullptr;
    Slot* target = SlotAt(g_pInstance->m_pImpl->bgm, slot);
    return target == nullptr ? nullptr : &target->player;
}

ofSoundPlayer* Audio::GetSePlayer(int32_t slot) {
    if (g_pInstance == nullptr) return nullptr;
    Slot* target = SlotAt(g_pInstance->m_pImpl->se, slot);
    return target == nullptr ? nullptr : &target->player;
}

} // namespace Kura
