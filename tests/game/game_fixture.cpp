// The game-layer fixture: settings, a player and its headless host in the
// temporary folder of each test.
#include "game_fixture.h"

namespace kura_test {

void GameFolderTest::WriteScenario(const std::string& name, const std::string& text) {
    WriteFile(std::string("data/") + GAME_FOLDER + "/scenario/" + name, text);
}

void GameFolderTest::WriteSettings(const std::string& extraLines) {
    WriteFile("data/setting.kel", std::string("global string app_folder_name = \"") + GAME_FOLDER +
                                      "\";\n"
                                      "global app_width = 960;\n"
                                      "global app_height = 640;\n"
                                      "global is_fullscreen = 2;\n" +
                                      extraLines);
}

void GameFolderTest::WriteSave(const std::string& now, const std::string& max) {
    WriteFile(SavePath(), "global string sd_now_scene=\"" + now +
                              "\";\nglobal string sd_max_scene=\"" + max + "\";\n");
}

void PlayerTest::SetUp() {
    GameFolderTest::SetUp();
    WriteSettings();
    Kura::Setting::create();
    RestartPlayer();
}

void PlayerTest::TearDown() {
    host.reset();
    player.reset();
    Kura::Setting::destroy();
    GameFolderTest::TearDown();
}

void PlayerTest::RestartPlayer() {
    host.reset();
    player.reset();
    player = std::make_unique<Kura::ScenarioPlayer>();
    host = std::make_unique<HeadlessHost>(*player);
}

void PlayerTest::StartAndRun(const std::string& name, int maxFrames) {
    player->start(name);
    host->run(maxFrames);
}

void PlayerTest::RunScript(const std::string& text) {
    WriteScenario("script.kel", text);
    player->start("script.kel");
    host->clearCalls();
    player->resume();
}

std::string PlayerTest::SceneFlag(const std::string& name) const {
    auto flag = player->getSceneFlags().find(name);
    return flag == player->getSceneFlags().end() ? "(unset)" : flag->second;
}

std::string PlayerTest::GlobalFlag(const std::string& name) const {
    auto flag = player->getGlobalFlags().find(name);
    return flag == player->getGlobalFlags().end() ? "(unset)" : flag->second;
}

} // namespace kura_test
