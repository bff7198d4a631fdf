// Test fixture of the game layer: each test runs in a fresh temporary folder
// holding its own data/ (settings, scenario folder) and log.txt, with the
// settings created from there. Never touches the repository's data/.
#pragma once

#include "game/headless/HeadlessHost.h"
#include "game/player/ScenarioPlayer.h"
#include "game/settings/Setting.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace kura_test {

using Kura::HeadlessHost;

// The game folder every fixture's settings name.
inline constexpr const char* GAME_FOLDER = "game1";

class GameFolderTest : public ScratchDirTest {
protected:
    // A scenario file in data/game1/scenario.
    static void WriteScenario(const std::string& name, const std::string& text);
    // The settings file every test starts from, with extra lines behind it.
    static void WriteSettings(const std::string& extraLines = "");
    static void WriteSave(const std::string& now, const std::string& max);
    static std::string SavePath() { return std::string("data/") + GAME_FOLDER + "/save/save.kel"; }
};

// The same with Setting created from the default settings file, and a scenario
// player with a headless host on it.
class PlayerTest : public GameFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new player (the old one goes first), reading the progress file anew.
    void RestartPlayer();
    // Starts the scenario file as a new game and runs up to maxFrames frames.
    void StartAndRun(const std::string& name, int maxFrames = MAX_FRAMES);
    // Loads source text as a scenario file and runs it to its first yield.
    void RunScript(const std::string& text);
    std::string SceneFlag(const std::string& name) const;
    std::string GlobalFlag(const std::string& name) const;

    static constexpr int MAX_FRAMES = 600;
    std::unique_ptr<Kura::ScenarioPlayer> player;
    std::unique_ptr<HeadlessHost> host;
};

} // namespace kura_test
