// The game-layer fixture: a temporary working folder per test.
#include "game_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kura_test {

void GameFolderTest::SetUp() {
    m_Previous = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "kura-game-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_Folder = pattern;
    std::filesystem::current_path(m_Folder);
}

void GameFolderTest::TearDown() {
    std::filesystem::current_path(m_Previous);
    std::filesystem::remove_all(m_Folder);
}

void GameFolderTest::WriteFile(const std::string& path, const std::string& text) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent);
    std::ofstream(path, std::ios::binary) << text;
}

std::string GameFolderTest::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

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

std::string GameFolderTest::NewReports() {
    std::string log = ReadFile("log.txt");
    std::string added = log.size() > m_LogRead ? log.substr(m_LogRead) : std::string();
    m_LogRead = log.size();
    return added;
}

void SettingsTest::SetUp() {
    GameFolderTest::SetUp();
    WriteSettings();
    Kura::Setting::create();
}

void SettingsTest::TearDown() {
    Kura::Setting::destroy();
    GameFolderTest::TearDown();
}

void PlayerTest::SetUp() {
    SettingsTest::SetUp();
    RestartPlayer();
}

void PlayerTest::TearDown() {
    host.reset();
    player.reset();
    SettingsTest::TearDown();
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
