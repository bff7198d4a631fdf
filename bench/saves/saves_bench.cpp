// Times a save, a load of a save made at the last message of the last scene,
// and one message of rollback there, in a generated game of SCENES files of
// MESSAGES messages with a menu every MENU_EVERY messages. Works in a fresh
// temporary folder; prints one line per figure with its target.
#include "game/player/ScenarioPlayer.h"
#include "game/player/ScenarioReplay.h"
#include "game/saves/SlotStore.h"
#include "game/settings/Setting.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int SCENES = 100;
constexpr int MESSAGES = 1000;
constexpr int MENU_EVERY = 20;
constexpr double SAVE_TARGET_MS = 50;
constexpr double LOAD_TARGET_MS = 300;
constexpr double ROLLBACK_TARGET_MS = 100;
constexpr int RUNS = 5; // the best of these is reported

void Write(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << text;
}

std::string SceneName(int scene) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.kel", scene);
    return name;
}

std::string SceneText(int scene) {
    std::string text;
    for (int m = 1; m <= MESSAGES; ++m) {
        text += "callDispMessage(\"scene " + std::to_string(scene) + " message " +
                std::to_string(m) + "\", -1); yield; callClearMessage();\n";
        if (m % MENU_EVERY == 0)
            text += "callSetCommand(\"a\", 1); callSetCommand(\"b\", 1); "
                    "callWaitSelectCommand(); yield;\n";
    }
    if (scene < SCENES)
        return text + "callGotoNextScript(\"" + SceneName(scene + 1) + "\");\nreturn 1;\n";
    return text + "return 0;\n";
}

template <class F> double BestMs(F&& run) {
    double best = 1e30;
    for (int i = 0; i < RUNS; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void Report(const char* what, double ms, double target) {
    std::printf("%-44s %8.1f ms  (target %.0f ms: %s)\n", what, ms, target,
                ms <= target ? "met" : "NOT met");
}

} // namespace

int main() {
    const auto folder = std::filesystem::temp_directory_path() / "kura_saves_bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    Write("data/setting.kel", "global string app_folder_name = \"bench\";\n");
    for (int scene = 1; scene <= SCENES; ++scene)
        Write("data/bench/scenario/" + SceneName(scene), SceneText(scene));
    Kura::Setting::create();
    {
        Kura::ScenarioPlayer player;
        Kura::PlayTrail all;
        all.beginScript = SceneName(1);
        all.decisions.assign(SCENES * (MESSAGES / MENU_EVERY), "a");
        all.messages = SCENES * MESSAGES;
        // The story ends past its last message: the replay stops at that message.
        Kura::ScenarioReplay::Replay(player, all, all.stops());
        const Kura::PlayTrail atEnd = player.getTrail();
        std::printf("position: %d messages, %zu decisions, in %s\n", atEnd.messages,
                    atEnd.decisions.size(), player.getScriptName().c_str());

        Kura::SaveRecord record;
        record.trail = atEnd;
        record.stops = atEnd.stops();
        record.script = player.getScriptName();
        record.message = player.getMessageText();
        Kura::SlotStore slots("data/bench/save");
        Report("save (trail of the whole game, durable)", BestMs([&] {
                   slots.write({Kura::SlotId::NUMBERED, 1}, record);
               }),
               SAVE_TARGET_MS);
        Report("load at the last message of the last scene", BestMs([&] {
                   Kura::ScenarioReplay::Replay(
                       player, slots.read({Kura::SlotId::NUMBERED, 1}).record.trail, record.stops);
               }),
               LOAD_TARGET_MS);
        Report("roll back one message there",
               BestMs([&] { Kura::ScenarioReplay::Replay(player, atEnd, atEnd.stops() - 1); }),
               ROLLBACK_TARGET_MS);
    }
    Kura::Setting::destroy();
    std::filesystem::current_path(folder.parent_path());
    std::filesystem::remove_all(folder);
    return 0;
}
