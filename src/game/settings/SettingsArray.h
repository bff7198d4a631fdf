// The records of the settings arrays ("gSoundData", "gCharaData"): arrays of
// tables in the settings script. Needs Setting.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Kura {

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
