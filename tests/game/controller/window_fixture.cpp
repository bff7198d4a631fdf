// The fixture: one 960 x 640 window per process (the runtime tests' window at
// the game's size); data written fresh for every test.
#include "window_fixture.h"

#include "game/services/Services.h"
#include "game/settings/Setting.h"
#include "of/Audio.h"
#include "of/Icon.h"
#include "of/InputState.h"
#include "of/SimpleMenu.h"

#include "gl_test_window.h"
#include "ofAppRunner.h"
#include "ofGraphics.h"
#include "recording.h"

#include <GL/gl.h>

namespace controller_test {

namespace {

constexpr double TONE_SECONDS = 3.0;
constexpr double TONE_AMPLITUDE = 0.25;

// What a game's settings file adds for the controller; the fonts are the system's.
const char* WINDOW_SETTINGS = R"(global fontSizeS = 12;
global fontSizeM = 16;
global fontSizeL = 24;
global string fontPathS = "ipag.ttf";
global string fontPathM = "ipag.ttf";
global string fontPathL = "ipam.ttf";
global gSoundData;
gSoundData[0].filepath = "se0.wav"; gSoundData[0].volume = 100;
gSoundData[1].filepath = "se1.wav"; gSoundData[1].volume = 80;
gSoundData[2].filepath = "se2.wav"; gSoundData[2].volume = 80;
global gCharaData;
gCharaData[0].name = "Aoi"; gCharaData[0].baseFilePath = "aoi_%s.png"; gCharaData[0].msgSeIndex = 0;
gCharaData[1].name = "Beni"; gCharaData[1].baseFilePath = "beni_%s.png"; gCharaData[1].msgSeIndex = 1;
global string start_scenario_file = "001.kel";
global se_start_idx_msg = 10;
global stg_wind_x = 20;
global stg_wind_y = 20;
global stg_wind_w = 920;
global stg_wind_h = 600;
global cmd_wind_x = 300;
global cmd_wind_y = 200;
global ImageWindowBaseIndex = 100;
global CharacterWindowBaseIndex = 200;
global CharacterHaveIndexNum = 10;
)";

std::string GamePath(const std::string& rest) {
    return std::string("data/") + kura_test::GAME_FOLDER + "/" + rest;
}

} // namespace

void GameTest::SetUp() {
    GameFolderTest::SetUp();
    kura_test::openWindowOnce(WINDOW_W, WINDOW_H);
    WriteSettings(WINDOW_SETTINGS);
    std::filesystem::create_directories("data/font");
    std::filesystem::create_symlink(kura_test::GOTHIC, "data/font/ipag.ttf");
    std::filesystem::create_symlink(kura_test::MINCHO, "data/font/ipam.ttf");
    std::filesystem::create_directories(GamePath("sound/se"));
    const char* tones[] = {"se0.wav", "se1.wav", "se2.wav", "type0.wav", "type1.wav"};
    for (int i = 0; i < 5; ++i)
        kura_test::writeTone(GamePath("sound/se/") + tones[i], 330.0 + 110.0 * i, TONE_SECONDS,
                             TONE_AMPLITUDE);
    WritePicture("data/Default@2x.png", 64, 64, {0, 0, 255});
    WriteScenario("contents.kel", "");
    WriteScenario("empty.kel", "callSetSceneFlagInt(\"title\", 1);\n");

    Kura::Setting::create();
    Kura::Services::Start();
    Kura::Audio::LoadSe("type0.wav", SE_TYPING_FIRST);
    Kura::Audio::LoadSe("type1.wav", SE_TYPING_FIRST + 1);
    ofEnableAlphaBlending();
}

void GameTest::TearDown() {
    Kura::Services::Stop();
    Kura::Setting::destroy();
    GameFolderTest::TearDown();
}

void GameTest::WritePicture(const std::string& path, int w, int h, Rgba color) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent);
    kura_test::writePng(path, w, h, [&](int, int) { return color; });
}

void GameTest::NewGame(const std::string& script001) {
    WriteScenario("001.kel", script001);
    ShowTitle();
    WaitMenuReady(game().getCommandMenu());
    Tap('z');
    ASSERT_TRUE(UpdateUntil([&] { return !game().isTitleMode(); }, 10));
}

void GameTest::Draw() {
    glViewport(0, 0, WINDOW_W, WINDOW_H);
    ofSetupScreenPerspective(WINDOW_W, WINDOW_H);
    game().draw();
}

void GameTest::WaitMenuReady(Kura::SimpleMenu& menu) {
    const bool ready = UpdateUntil(
        [&] { return menu.GetIcon()->GetState() == Kura::Icon::STATE_OPEN && !menu.IsLocked(); },
        100);
    ASSERT_TRUE(ready) << "the menu never took input";
}

void GameTest::PressButton() {
    const Kura::MousePoint& at = Kura::g_pInput->GetMousePosition();
    router().MousePressed(static_cast<int>(at.x), static_cast<int>(at.y), 0);
}

void GameTest::ReleaseButton() {
    const Kura::MousePoint& at = Kura::g_pInput->GetMousePosition();
    router().MouseReleased(static_cast<int>(at.x), static_cast<int>(at.y), 0);
}

std::string GameTest::SceneFlag(const std::string& name) const {
    const Kura::FlagMap& flags = Kura::GameMain::get()->getPlayer().getSceneFlags();
    auto found = flags.find(name);
    return found == flags.end() ? std::string() : found->second;
}

} // namespace controller_test
