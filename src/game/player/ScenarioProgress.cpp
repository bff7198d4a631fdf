// Progress file: written to "<path>.tmp" and renamed over the old file, so an
// interrupted write never leaves it half-written; read by a temporary
// interpreter, since the file is a script.
#include "game/player/ScenarioProgress.h"

#include "interpreter.h"
#include "string_value.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace Kura::ScenarioProgress {

namespace {

constexpr const char* EXTENSION = ".kel";
constexpr size_t SCENE_LENGTH = 3; // scenario files are named "%03d.kel"
constexpr const char* TEMPORARY_SUFFIX = ".tmp";
constexpr const char* NOW_SCENE_KEY = "sd_now_scene";
constexpr const char* MAX_SCENE_KEY = "sd_max_scene";

std::string GlobalLine(const char* key, const std::string& value) {
    return std::string("global string ") + key + "=" + KelStringExpression(value) + ";\n";
}

bool WriteWhole(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    // A full disk may only show when the buffer is flushed at close.
    bool closed = std::fclose(file) == 0;
    return written && closed;
}

} // namespace

std::string SceneOfScript(const std::string& name) {
    size_t extension = name.rfind(EXTENSION);
    if (extension == std::string::npos) return {};
    size_t begin = extension > SCENE_LENGTH ? extension - SCENE_LENGTH : 0;
    return name.substr(begin, extension - begin);
}

std::string KelStringExpression(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        if (text[i] != '\\') {
            if (text[i] == '"') out += '\\';
            out += text[i++];
            continue;
        }
        size_t run = text.find_first_not_of('\\', i);
        if (run == std::string::npos) run = text.size();
        out += "\"+'" + text.substr(i, run - i) + "'+\"";
        i = run;
    }
    return out + "\"";
}

std::string ProgressText(const std::string& nowScene, const std::string& maxScene) {
    return GlobalLine(NOW_SCENE_KEY, nowScene) + GlobalLine(MAX_SCENE_KEY, maxScene);
}

bool Write(const std::string& path, const std::string& nowScene, const std::string& maxScene) {
    if (path.empty()) return false; // no settings: nowhere to write
    std::error_code error;
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    std::string temporary = path + TEMPORARY_SUFFIX;
    if (!WriteWhole(temporary, ProgressText(nowScene, maxScene))) {
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

bool Read(const std::string& path, std::string& nowScene, std::string& maxScene) {
    Kel::Interpreter reader;
    if (reader.loadFile(path) != Kel::Interpreter::LOADED) return false;
    // Globals outlive every interpreter of the process: a scene the file does
    // not name must read empty, not as an earlier reading left it.
    reader.setGlobal(NOW_SCENE_KEY, Kel::Ref(new Kel::variable::Variable::vString()));
    reader.setGlobal(MAX_SCENE_KEY, Kel::Ref(new Kel::variable::Variable::vString()));
    reader.run(0);
    nowScene = reader.getGlobal(NOW_SCENE_KEY).value()->toString().str();
    maxScene = reader.getGlobal(MAX_SCENE_KEY).value()->toString().str();
    return true;
}

} // namespace Kura::ScenarioProgress
