// What the game reads from its settings beyond single keys: the window family's
// texture-slot settings and picture paths, and the records of the settings
// arrays ("gSoundData", "gCharaData"). Needs Setting.
#pragma once

#include "of/WindowSettings.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Kura {

// Reads the settings anew at each call, so the windows always see the current ones.
class GameWindowSettings final : public WindowSettings {
public:
    int32_t GetImageWindowBaseIndex() const override;
    int32_t GetCharacterWindowBaseIndex() const override;
    int32_t GetCharacterHaveIndexNum() const override;
    std::string GetDataPath(const std::string& folder, const std::string& file) const override;
};

// Elements of a settings array of tables. A key the table lacks reads as empty
// text or 0; the settings themselves are never changed by reading them.
namespace SettingsArray {

int32_t Count(const std::string& arrayKey); // 0 when the key is not an array
// The member of element index, or nothing when the index is outside the array.
std::optional<std::string> Text(const std::string& arrayKey, int32_t index,
                                const std::string& member);
std::optional<int32_t> Int(const std::string& arrayKey, int32_t index, const std::string& member);

} // namespace SettingsArray

} // namespace Kura
