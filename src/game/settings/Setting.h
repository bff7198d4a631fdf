// The start-up configuration: "data/setting.kel" run once by an interpreter of
// its own, whose globals are the settings, and the paths of the game's data
// folder named by "app_folder_name". Needs the Kel host interface.
#pragma once

#include "interpreter.h"

#include <cstdint>
#include <string>

namespace Kura {

class Setting : public Kel::Interpreter {
public:
    static constexpr const char* DATA_FOLDER = "data";
    static constexpr const char* SETTING_FILE = "setting.kel";
    static constexpr const char* FOLDER_NAME_KEY = "app_folder_name";

    static void create();  // runs the settings file; no-op when the instance exists
    static void destroy(); // no-op without an instance
    static Setting* get(); // reports "g_pInstance" and answers null without one

    // A key the file does not define reads as 0, false and "[null]".
    int32_t getInt(const std::string& key);
    bool getBool(const std::string& key);
    // The number the file gives the key, else the fallback: for keys a game
    // may leave out.
    int32_t getIntOr(const std::string& key, int32_t fallback);
    // A copy, so two reads in a row never disturb each other.
    std::string getString(const std::string& key);
    // A text the player reads: the setting when the file gives it as a
    // string, else the English default, so a game need not name every text.
    std::string getText(const std::string& key, const char* englishDefault);
    Kel::Ref getValue(const std::string& key); // the global itself, for arrays and tables

    // "data/" (left out withoutPrefix, for loaders that add it themselves), the
    // game folder, then folder and file.
    std::string getDataPath(const std::string& folder, const std::string& file,
                            bool withoutPrefix = false);
    // Where the game keeps what it writes: "data/", the game folder, folder, file.
    std::string getSavePath(const std::string& folder, const std::string& file);
    static std::string joinPath(const std::string& folder, const std::string& file);

private:
    Setting();
};

} // namespace Kura
