// Settings: the settings script is loaded and run once at creation; every
// question afterwards reads the shared global object anew.
#include "game/settings/Setting.h"

#include "game/player/ScriptBudget.h"

#include "util/AssertReport.h"

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\game\\Setting";
// The report of a settings file that does not load carries this line.
constexpr int32_t LOAD_FAILED_LINE = 41;

Setting* g_pInstance = nullptr;

} // namespace

Setting::Setting() {
    int loaded = loadFile(joinPath(DATA_FOLDER, SETTING_FILE));
    KURA_CHECK(loaded == LOADED, "0", SOURCE_NAME, "Kura::Setting::Setting", LOAD_FAILED_LINE);
    // The settings script does not yield: one run makes every global exist.
    Kel::Ref result;
    ScriptBudget::Run(*this, 0, "Kura::Setting::Setting", result);
}

void Setting::create() {
    if (!g_pInstance) g_pInstance = new Setting();
}

void Setting::destroy() {
    delete g_pInstance;
    g_pInstance = nullptr;
}

Setting* Setting::get() {
    KURA_CHECK(g_pInstance != nullptr, "g_pInstance", SOURCE_NAME, "Kura::Setting::get", __LINE__);
    return g_pInstance;
}

int32_t Setting::getInt(const std::string& key) {
    return getGlobal(key).value()->toInt();
}

bool Setting::getBool(const std::string& key) {
    return getInt(key) != 0;
}

int32_t Setting::getIntOr(const std::string& key, int32_t fallback) {
    Kel::Ref value = getGlobal(key);
    switch (value.value()->typeCode()) {
    case Kel::variable::Variable::TYPE_INT:
    case Kel::variable::Variable::TYPE_HEX:
    case Kel::variable::Variable::TYPE_FLOAT:
        return value.value()->toInt();
    default:
        return fallback;
    }
}

std::string Setting::getString(const std::string& key) {
    return getGlobal(key).value()->toString().str();
}

std::string Setting::getText(const std::string& key, const char* englishDefault) {
    Kel::Ref value = getGlobal(key);
    if (value.value()->typeCode() != Kel::variable::Variable::TYPE_STRING) return englishDefault;
    return value.value()->toString().str();
}

Kel::Ref Setting::getValue(const std::string& key) {
    return getGlobal(key);
}

std::string Setting::getDataPath(const std::string& folder, const std::string& file,
                                 bool withoutPrefix) {
    std::string gameFolder = joinPath(getString(FOLDER_NAME_KEY), joinPath(folder, file));
    return withoutPrefix ? gameFolder : joinPath(DATA_FOLDER, gameFolder);
}

std::string Setting::getSavePath(const std::string& folder, const std::string& file) {
    return getDataPath(folder, file, false);
}

std::string Setting::joinPath(const std::string& folder, const std::string& file) {
    return folder + "/" + file;
}

} // namespace Kura
