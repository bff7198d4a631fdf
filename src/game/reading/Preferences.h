// The player's own choices of how the game reads and sounds: text speed, a
// click completing the typing, the auto-mode delay, the two volumes, the
// typing sound, fullscreen and skipping unread text. Each starts from a key of
// the game's settings, so a game that sets none plays as it always has; the
// player's changes are kept as JSON in the save folder. Needs Setting for the
// defaults.
#pragma once

#include <cstdint>
#include <string>

namespace Kura {

// Text speeds, slowest first: typing runs at bytes per frames, or instantly
// at the top. The base speed is the rate a game types at without preferences.
struct TypingRate {
    int32_t bytes;
    int32_t frames; // 0: the whole message at once
};
inline constexpr TypingRate TEXT_SPEEDS[] = {{1, 4}, {1, 2}, {1, 1}, {2, 1}, {0, 0}};
inline constexpr int32_t TEXT_SPEED_COUNT = sizeof TEXT_SPEEDS / sizeof TEXT_SPEEDS[0];
inline constexpr int32_t TEXT_SPEED_BASE = 3;
inline constexpr int32_t TEXT_SPEED_INSTANT = TEXT_SPEED_COUNT - 1;

inline constexpr int32_t PERCENT_FULL = 100;
// The auto delay is the pause after a short message; a message this many
// characters long waits twice as long, as reading it takes longer.
inline constexpr int32_t AUTO_DELAY_DOUBLING_CHARACTERS = 30;
inline constexpr int32_t AUTO_DELAY_MAX_MS = 10000;

// Each preference: its member, the settings key of its default, the default a
// game that sets no key gets, and its range.
#define KURA_PREFERENCES(X)                                                                        \
    X(textSpeed, "text_speed", TEXT_SPEED_BASE, 0, TEXT_SPEED_INSTANT)                             \
    X(clickCompletesTyping, "click_completes_typing", 0, 0, 1)                                     \
    X(autoDelayMs, "auto_delay_ms", 1500, 0, AUTO_DELAY_MAX_MS)                                    \
    X(musicVolume, "music_volume", PERCENT_FULL, 0, PERCENT_FULL)                                  \
    X(soundVolume, "sound_volume", PERCENT_FULL, 0, PERCENT_FULL)                                  \
    X(typingSound, "typing_sound", 1, 0, 1)                                                        \
    X(fullscreen, "is_fullscreen", 0, 0, 1)                                                        \
    X(skipUnread, "skip_unread", 0, 0, 1)

struct Preferences {
    static constexpr const char* FILE_NAME = "preferences.json";

#define KURA_PREFERENCE_MEMBER(NAME, KEY, DEFAULT, LOW, HIGH) int32_t NAME = DEFAULT;
    KURA_PREFERENCES(KURA_PREFERENCE_MEMBER)
#undef KURA_PREFERENCE_MEMBER

    bool operator==(const Preferences&) const = default;

    // The game's settings, each key the game leaves out at its default.
    static Preferences FromSettings();
    // The file at path over the defaults; a missing file gives the defaults,
    // a broken one too, with a report in log.txt.
    static Preferences Load(const std::string& path, const Preferences& defaults);
    // Durably; false, with the old file left, when it cannot be written.
    bool save(const std::string& path) const;

    TypingRate typingRate() const;
    // The auto-mode pause in ms after a message of this many characters.
    int32_t autoDelayFor(size_t characters) const;
};

} // namespace Kura
