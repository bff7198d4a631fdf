// The settings the window family reads: where its pictures live in the texture
// table and how a folder and file become a picture path. The game supplies an
// implementation on its settings; the windows ask it anew at each call, so a
// change of the settings takes effect at the next load or draw.
#pragma once

#include <cstdint>
#include <string>

namespace Kura {

class WindowSettings {
public:
    virtual ~WindowSettings() = default;

    virtual int32_t GetImageWindowBaseIndex() const = 0;     // "ImageWindowBaseIndex"
    virtual int32_t GetCharacterWindowBaseIndex() const = 0; // "CharacterWindowBaseIndex"
    virtual int32_t GetCharacterHaveIndexNum() const = 0;    // "CharacterHaveIndexNum"
    // The game's data path of folder and file without the "data/" prefix, which
    // the picture loader adds itself.
    virtual std::string GetDataPath(const std::string& folder, const std::string& file) const = 0;
};

} // namespace Kura
