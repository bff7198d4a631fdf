// Window settings for tests, with the values a game would put in its settings.
#pragma once

#include "of/WindowSettings.h"

namespace widgets_test {

class TestWindowSettings : public Kura::WindowSettings {
public:
    int32_t imageBase = 100;
    int32_t characterBase = 200;
    int32_t facesPerCharacter = 10;

    int32_t GetImageWindowBaseIndex() const override { return imageBase; }
    int32_t GetCharacterWindowBaseIndex() const override { return characterBase; }
    int32_t GetCharacterHaveIndexNum() const override { return facesPerCharacter; }
    std::string GetDataPath(const std::string& folder, const std::string& file) const override {
        return "game1/" + folder + "/" + file;
    }
};

} // namespace widgets_test
