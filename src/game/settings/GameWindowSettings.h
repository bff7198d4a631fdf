// The window family's settings as the game keeps them: the texture-slot bases
// and picture paths, read anew at each call so the windows always see the
// current settings. Needs Setting.
#pragma once

#include "of/WindowSettings.h"

#include <cstdint>
#include <string>

namespace Kura {

class GameWindowSettings final : public WindowSettings {
public:
    int32_t GetImageWindowBaseIndex() const override;
    int32_t GetCharacterWindowBaseIndex() const override;
    int32_t GetCharacterHaveIndexNum() const override;
    std::string GetDataPath(const std::string& folder, const std::string& file) const override;
};

} // namespace Kura
