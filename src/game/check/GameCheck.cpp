// The order of a check: the settings (without them nothing else can be
// found), every scenario file compiled, the settings' fonts and sounds, then
// the routes: the title's contents, a new game, and each scene the title's
// "continue" would offer once the new games have reached it.
#include "game/check/GameCheck.h"

#include "game/check/AssetCheck.h"
#include "game/check/CheckReport.h"
#include "game/check/KelMessages.h"
#include "game/check/RouteExplorer.h"
#include "game/controller/GameMain.h"
#include "game/player/ScenarioPlayerImpl.h"
#include "game/settings/Setting.h"
#include "game/settings/SettingsArray.h"
#include "of/Audio.h"
#include "of/ImageFont.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace Kura::GameCheck {

namespace {

namespace fs = std::filesystem;

constexpr const char* FONT_FOLDER = "font";
// Font types 0, 1 and 2, in that order.
constexpr const char* FONT_KEYS[] = {"fontPathS", "fontPathM", "fontPathL"};
constexpr const char* FONT_SIZE_KEYS[] = {"fontSizeS", "fontSizeM", "fontSizeL"};
constexpr const char* SOUND_DATA_KEY = "gSoundData";
constexpr const char* SOUND_FILE_MEMBER = "filepath";
constexpr const char* SCENE_FILE_FORMAT = "%03d.kel";
constexpr size_t SCENE_FILE_NAME_SIZE = 32;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first line of the file that names key, so a setting's problem points
// at the line that sets it.
int32_t LineNaming(const std::string& path, const std::string& key) {
    std::istringstream in(ReadText(path));
    const std::regex word("\\b" + key + "\\b");
    std::string line;
    for (int32_t number = 1; std::getline(in, line); ++number)
        if (std::regex_search(line, word)) return number;
    return 1;
}

// Compiles one file; its messages reach the report through KelMessages.
void Compile(const std::string& path) {
    Kel::Ref unit;
    Kel::Interpreter::loadUnit(path, unit);
}

std::vector<std::string> ScenarioFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file() && entry.path().extension() == ".kel")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The files some scenario file includes are parts of scenes, not scenes.
std::set<std::string> IncludedFiles(const std::string& folder,
                                    const std::vector<std::string>& names) {
    static const std::regex include(R"(#\s*include\s*[<"]([^>"]+)[>"])");
    std::set<std::string> included;
    for (const std::string& name : names) {
        const std::string text = ReadText(Setting::joinPath(folder, name));
        for (auto match = std::sregex_iterator(text.begin(), text.end(), include);
             match != std::sregex_iterator(); ++match)
            included.insert(fs::path((*match)[1].str()).filename().string());
    }
    return included;
}

void CheckSettingAssets(Setting& setting, CheckReport& report) {
    const std::string file = Setting::joinPath(Setting::DATA_FOLDER, Setting::SETTING_FILE);
    for (const char* key : FONT_KEYS) {
        const std::string name = setting.getString(key);
        const std::string path =
            Setting::joinPath(Setting::DATA_FOLDER, Setting::joinPath(FONT_FOLDER, name));
        const std::string problem = AssetCheck::Problem(AssetCheck::FONT, path, path);
        if (!problem.empty()) report.add(file, LineNaming(file, key), problem);
    }
    const int32_t count = SettingsArray::Count(SOUND_DATA_KEY);
    for (int32_t slot = 0; slot < count; ++slot) {
        const std::optional<std::string> found =
            SettingsArray::Text(SOUND_DATA_KEY, slot, SOUND_FILE_MEMBER);
        if (!found) continue;
        const std::string& name = *found;
        const std::string problem =
            AssetCheck::Problem(AssetCheck::SOUND, setting.getDataPath(Audio::SE_FOLDER, name),
                                Setting::joinPath(Audio::SE_FOLDER, name));
        if (!problem.empty()) report.add(file, LineNaming(file, "\"" + name + "\""), problem);
    }
}

int32_t LeadingNumber(const std::string& name) {
    return static_cast<int32_t>(std::strtol(name.c_str(), nullptr, 10));
}

std::string SceneFileName(int32_t number) {
    char name[SCENE_FILE_NAME_SIZE];
    std::snprintf(name, sizeof name, SCENE_FILE_FORMAT, number);
    return name;
}

// The message font measured as the game measures it, without drawing.
MessageFont::Measures MeasureMessageFont(Setting& setting) {
    ImageFont::Create();
    ImageFont& fonts = *ImageFont::Get();
    fonts.SetMeasureOnly();
    for (size_t type = 0; type < std::size(FONT_KEYS); ++type)
        fonts.AddFont(Setting::joinPath(FONT_FOLDER, setting.getString(FONT_KEYS[type])),
                      setting.getInt(FONT_SIZE_KEYS[type]));
    const MessageFont::Measures measures = MessageFont::Measure(fonts, GameMain::MESSAGE_FONT_TYPE);
    ImageFont::Destroy();
    return measures;
}

// False when the graph was asked for and could not be written.
bool WalkRoutes(Setting& setting, const std::string& folder, const std::vector<std::string>& names,
                CheckReport& report, KelMessages& messages, const std::string& graphPath) {
    ScenarioPlayer player;
    messages.watch(&player.impl().interpreter, folder);
    RouteExplorer explorer(player, report, MeasureMessageFont(setting));
    explorer.walkFrom(GameMain::CONTENTS_FILE);
    explorer.walkFrom(setting.getString("start_scenario_file"));
    int32_t reached = 0;
    for (const std::string& scene : explorer.reachedScenes())
        reached = std::max(reached, LeadingNumber(scene));
    for (int32_t scene = 1; scene <= reached; ++scene)
        explorer.walkFrom(SceneFileName(scene));
    explorer.reportUnsetFlags();
    messages.watch(nullptr, folder);

    const std::set<std::string> included = IncludedFiles(folder, names);
    for (const std::string& name : names) {
        if (included.count(name) || name == GameMain::CONTENTS_FILE ||
            name == GameMain::TITLE_SCENARIO)
            continue;
        if (explorer.reachedScenes().count(name)) {
            ++report.counts().scenes;
        } else {
            report.add(Setting::joinPath(folder, name), 1, "scene file never reached");
            explorer.graph().addUnreached(name);
        }
    }
    if (graphPath.empty()) return true;
    const std::string problem = explorer.graph().write(graphPath);
    if (!problem.empty()) std::fprintf(stderr, "kura --check: %s\n", problem.c_str());
    return problem.empty();
}

} // namespace

int Run(const std::string& graphPath) {
    const std::string settingFile = Setting::joinPath(Setting::DATA_FOLDER, Setting::SETTING_FILE);
    std::error_code error;
    if (!fs::is_regular_file(settingFile, error)) {
        std::fprintf(stderr, "kura --check: no %s in %s\n", settingFile.c_str(),
                     fs::current_path(error).c_str());
        return EXIT_CANNOT_RUN;
    }
    CheckReport report;
    bool graphWritten = true;
    {
        KelMessages messages(report);
        Compile(settingFile);
        Setting::create();
        Setting* setting = Setting::get();
        const std::string folder = setting->getDataPath(ScenarioPlayer::SCENARIO_FOLDER, "");
        const std::string folderPath = folder.substr(0, folder.size() - 1);
        const std::vector<std::string> names = ScenarioFiles(folderPath);
        if (names.empty()) {
            std::fprintf(stderr, "kura --check: no scenario files in %s\n", folderPath.c_str());
            return EXIT_CANNOT_RUN;
        }
        for (const std::string& name : names)
            Compile(Setting::joinPath(folderPath, name));
        CheckSettingAssets(*setting, report);
        graphWritten = WalkRoutes(*setting, folderPath, names, report, messages, graphPath);
    }
    report.print(stdout);
    Setting::destroy();
    if (!graphWritten) return EXIT_CANNOT_RUN;
    return report.size() == 0 ? EXIT_CLEAN : EXIT_PROBLEMS;
}

} // namespace Kura::GameCheck
