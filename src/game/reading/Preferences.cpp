// The file holds one JSON object of whole numbers named like the members. A
// member the file leaves out keeps its default (an older file lacks newer
// members); a value of the wrong kind or out of range makes the whole file
// broken, as it was not written by this game.
#include "game/reading/Preferences.h"

#include "game/settings/Setting.h"
#include "util/AssertReport.h"
#include "util/BoundedFile.h"
#include "util/DurableFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <optional>

namespace Kura {

namespace {

using nlohmann::json;

// A preferences file is a few hundred bytes; anything far larger is not one.
constexpr uintmax_t MAX_FILE_BYTES = 64 * 1024;

bool ReadMember(const json& object, const char* name, int32_t low, int32_t high, int32_t& value) {
    const auto found = object.find(name);
    if (found == object.end()) return true;
    if (!found->is_number_integer()) return false;
    const int64_t number = found->get<int64_t>();
    if (number < low || number > high) return false;
    value = static_cast<int32_t>(number);
    return true;
}

std::optional<Preferences> Decode(const std::string& text, const Preferences& defaults) {
    const json object = json::parse(text, nullptr, false);
    if (!object.is_object()) return std::nullopt;
    Preferences read = defaults;
    bool valid = true;
#define KURA_PREFERENCE_READ(NAME, KEY, DEFAULT, LOW, HIGH)                                        \
    valid = valid && ReadMember(object, #NAME, LOW, HIGH, read.NAME);
    KURA_PREFERENCES(KURA_PREFERENCE_READ)
#undef KURA_PREFERENCE_READ
    if (!valid) return std::nullopt;
    return read;
}

// A flag (a range of 0 to 1) is on for any number but 0, as settings read elsewhere.
int32_t SettingInRange(int32_t value, int32_t low, int32_t high) {
    if (low == 0 && high == 1) return value != 0 ? 1 : 0;
    return std::clamp(value, low, high);
}

} // namespace

Preferences Preferences::FromSettings() {
    Preferences defaults;
    Setting* setting = Setting::get();
    if (setting == nullptr) return defaults;
#define KURA_PREFERENCE_DEFAULT(NAME, KEY, DEFAULT, LOW, HIGH)                                     \
    defaults.NAME = SettingInRange(setting->getIntOr(KEY, DEFAULT), LOW, HIGH);
    KURA_PREFERENCES(KURA_PREFERENCE_DEFAULT)
#undef KURA_PREFERENCE_DEFAULT
    return defaults;
}

Preferences Preferences::Load(const std::string& path, const Preferences& defaults) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return defaults;
    const std::optional<std::string> text = BoundedFile::Read(path, MAX_FILE_BYTES);
    std::optional<Preferences> read = text ? Decode(*text, defaults) : std::nullopt;
    if (read) return *read;
    WriteLog("preferences unreadable, the defaults are used: " + path + "\n");
    return defaults;
}

bool Preferences::save(const std::string& path) const {
    json object = json::object();
#define KURA_PREFERENCE_WRITE(NAME, KEY, DEFAULT, LOW, HIGH) object[#NAME] = NAME;
    KURA_PREFERENCES(KURA_PREFERENCE_WRITE)
#undef KURA_PREFERENCE_WRITE
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    return DurableFile::Replace(path, object.dump(1) + "\n");
}

TypingRate Preferences::typingRate() const {
    return TEXT_SPEEDS[std::clamp(textSpeed, 0, TEXT_SPEED_INSTANT)];
}

int32_t Preferences::autoDelayFor(size_t characters) const {
    const int64_t growth = static_cast<int64_t>(autoDelayMs) * static_cast<int64_t>(characters) /
                           AUTO_DELAY_DOUBLING_CHARACTERS;
    return static_cast<int32_t>(std::min<int64_t>(autoDelayMs + growth, INT32_MAX));
}

} // namespace Kura
