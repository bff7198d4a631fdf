// The game's sounds in numbered slots on the runtime's sound player: 5 music
// slots, of which one plays at a time, and 100 sound-effect slots. Every
// operation is safe before Create, after Destroy and for slots out of range.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class ofSoundPlayer;

namespace Kura {

class Audio {
public:
    static constexpr int32_t BGM_NUM = 5;
    static constexpr int32_t SE_NUM = 100;
    static constexpr int32_t BGM_FREE_NONE = -1; // no music played yet
    static constexpr const char* BGM_FOLDER = "sound/bgm";
    static constexpr const char* SE_FOLDER = "sound/se";

    // Builds the path the sound player is given from a folder and a file name:
    // the game's data path without the "data/" prefix, which the runtime adds.
    using DataPathFunc =
        std::function<std::string(const std::string& folder, const std::string& file)>;

    static void Create(DataPathFunc dataPath); // no-op when the instance exists
    static void Destroy();                     // stops what plays, frees every sound
    static Audio* Get();                       // reports when there is no instance

    // Loads replace the slot's sound; a file that cannot be read is reported
    // and leaves the slot silent. False on failure or a bad slot.
    static bool LoadBgm(const std::string& file, int32_t slot);
    static bool LoadSe(const std::string& file, int32_t slot);

    static void Play(int32_t slot, bool loop); // music: stops the current one first
    static void PlaySe(int32_t slot);
    static void StopBgm(int32_t slot);
    static void StopSe(int32_t slot);

    // Percentages: 100 is full volume or the recorded speed.
    static void SetBgmVolume(int32_t slot, int32_t volume);
    static void SetSeVolume(int32_t slot, int32_t volume);
    static void SetBgmSpeed(int32_t slot, int32_t speed);
    static void SetSeSpeed(int32_t slot, int32_t speed);
    // The player's own volumes, scaling every slot's: the music's and the
    // sound effects' (percent), applied to what plays at once.
    static void SetMasterVolumes(int32_t bgmPercent, int32_t sePercent);

    static int32_t GetNowBgm(); // the music slot last played, BGM_FREE_NONE for none
    static bool IsPlayingSe(int32_t slot);
    static bool IsPlayingBgm(int32_t slot);
    static std::string GetBgmPath(int32_t slot); // as stored by the last load
    static std::string GetSePath(int32_t slot);

    // The slot's player for what the operations above do not cover; null for a
    // bad slot or no instance.
    static ofSoundPlayer* GetBgmPlayer(int32_t slot);
    static ofSoundPlayer* GetSePlayer(int32_t slot);

private:
    explicit Audio(DataPathFunc dataPath);
    ~Audio();

    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

} // namespace Kura
