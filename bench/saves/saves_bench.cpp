// Times a save with its thumbnail, a load of a save made at the last message
// of the last scene, and one message of rollback there, in a generated game of
// SCENES files of MESSAGES messages with a menu every MENU_EVERY messages. A
// load is timed on a player that has played nothing, as at the next start,
// and on one that has compiled the scenes but keeps no checkpoint of the
// play loaded; a rollback on the player that played there. Works in a fresh temporary
// folder; prints one line per figure with its target.
//
// usage: saves_bench [--write-game FOLDER]
//   --write-game  only writes the generated game into FOLDER (which then
//                 holds data/), for the route checker's benchmark
#include "game/player/ScenarioPlayer.h"
#include "game/player/ScenarioReplay.h"
#include "game/saves/SlotStore.h"
#include "game/saves/Thumbnail.h"
#include "game/settings/Setting.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int SCENES = 100;
constexpr int MESSAGES = 1000;
constexpr int MENU_EVERY = 20;
constexpr double SAVE_TARGET_MS = 50;
constexpr double LOAD_TARGET_MS = 300;
constexpr double ROLLBACK_TARGET_MS = 100;
constexpr int RUNS = 5; // the best of these is reported
// The font the settings name; the checker's benchmark puts the demo's fonts
// beside the game.
constexpr const char* FONT = "ipag.ttf";
// The frame a thumbnail is shrunk from: the canvas at twice its size, as a
// high-density screen reads it back.
constexpr int FRAME_W = 1920;
constexpr int FRAME_H = 1280;

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

// The settings and the scene files, in data/ of the current folder.
void WriteGame() {
    std::string settings = "global string app_folder_name = \"bench\";\n"
                           "global string start_scenario_file = \"" +
                           SceneName(1) + "\";\n";
    for (const char* font : {"fontPathS", "fontPathM", "fontPathL"})
        settings += std::string("global string ") + font + " = \"" + FONT + "\";\n";
    Write("data/setting.kel", settings);
    Write("data/bench/scenario/empty.kel", "return 0;\n");
    Write("data/bench/scenario/contents.kel", "return 0;\n");
    for (int scene = 1; scene <= SCENES; ++scene)
        Write("data/bench/scenario/" + SceneName(scene), SceneText(scene));
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write-game") {
        std::filesystem::create_directories(argv[2]);
        std::filesystem::current_path(argv[2]);
        WriteGame();
        return 0;
    }
    if (argc != 1) {
        std::fprintf(stderr, "usage: saves_bench [--write-game FOLDER]\n");
        return 2;
    }
    const auto folder = std::filesystem::temp_directory_path() / "kura_saves_bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    WriteGame();
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
        const std::vector<unsigned char> frame(
            size_t{FRAME_W} * FRAME_H * Kura::Thumbnail::BYTES_PER_PIXEL, 0x80);
        Report("save with its thumbnail (trail of the whole game)", BestMs([&] {
                   const Kura::SlotId slot{Kura::SlotId::NUMBERED, 1};
                   slots.write(slot, record);
                   Kura::Thumbnail::Shrink(frame.data(), FRAME_W, FRAME_H)
                       .write(slots.thumbnailPath(slot));
               }),
               SAVE_TARGET_MS);
        // A play that began with other random numbers shares no checkpoint
        // with this one; each run's is new.
        uint64_t otherBeginning = atEnd.randomState;
        Report("load there, scenes compiled, no checkpoint", BestMs([&] {
                   Kura::PlayTrail other = atEnd;
                   other.randomState = ++otherBeginning;
                   Kura::ScenarioReplay::Replay(player, other, record.stops);
               }),
               LOAD_TARGET_MS);
        Report("load there at the next start (compiling)", BestMs([&] {
                   Kura::ScenarioPlayer fresh;
                   Kura::ScenarioReplay::Replay(
                       fresh, slots.read({Kura::SlotId::NUMBERED, 1}).record.trail, record.stops);
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
