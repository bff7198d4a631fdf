// Progress file: replaced durably (util/DurableFile) so an interrupted write
// never leaves it half-written, and parsed by util/ProgressText, so a shared
// file can hold no code that the game would run.
#include "game/player/ScenarioProgress.h"

#include "util/AssertReport.h"
#include "util/BoundedFile.h"
#include "util/ConvString.h"
#include "util/DurableFile.h"
#include "util/ProgressText.h"

#include <filesystem>
#include <system_error>

namespace Kura::ScenarioProgress {

namespace {

constexpr const char* SOURCE_NAME = "src\\game\\ScenarioProgress";
constexpr const char* EXTENSION = ".kel";
constexpr size_t SCENE_LENGTH = 3; // scenario files are named "%03d.kel"
// Two lines of short scene names take far less; anything larger is not ours
// and is not read into memory at all.
constexpr std::uintmax_t MAX_FILE_BYTES = 64 * 1024;

void ReportIgnored(const std::string& path) {
    ReportAssertion(
        false, SOURCE_NAME, __LINE__, "Kura::ScenarioProgress::Read",
        (L"progress file ignored, not two progress lines: " + ConvString::AnsiToWide(path))
            .c_str());
}

} // namespace

std::string SceneOfScript(const std::string& name) {
    size_t extension = name.rfind(EXTENSION);
    if (extension == std::string::npos) return {};
    size_t begin = extension > SCENE_LENGTH ? extension - SCENE_LENGTH : 0;
    return name.substr(begin, extension - begin);
}

bool Write(const std::string& path, const std::string& nowScene, const std::string& maxScene) {
    if (path.empty()) return false; // no settings: nowhere to write
    std::error_code error;
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    return DurableFile::Replace(path, ProgressText::Write({nowScene, maxScene}));
}

bool Read(const std::string& path, std::string& nowScene, std::string& maxScene) {
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) return false;
    std::optional<ProgressText::Scenes> scenes;
    if (const std::optional<std::string> text = BoundedFile::Read(path, MAX_FILE_BYTES))
        scenes = ProgressText::Read(*text);
    if (!scenes) {
        ReportIgnored(path);
        scenes.emplace();
    }
    nowScene = scenes->now;
    maxScene = scenes->max;
    return true;
}

} // namespace Kura::ScenarioProgress
