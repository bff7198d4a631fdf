// Rolling back starts the replay from the change of scene file before the
// target, or from the play's beginning: the stage reached (windows, pictures in their slots,
// background, music, flags, globals, random numbers) must be the one the play showed there, and the
// one a replay from the beginning rebuilds.
#include "window_fixture.h"

#include "game/player/PlayCheckpoints.h"
#include "of/Audio.h"
#include "of/SimpleMenu.h"
#include "of/TextureManager.h"
#include "of/Window.h"

#include "recording.h"

#include <filesystem>

namespace controller_test {
namespace {

// Window 1's picture goes red, green, blue; the music stops at the last
// message; a counter, a random draw and a flag cross the change of file.
constexpr const char* SCENE_1 = R"(
callWindowManagerClearAll();
global count = 1;
callWindowManagerAdd(2); callWindowManagerAdd(2); callWindowManagerAdd(4);
callWindowLoad(1, "image", "red.png"); callWindowSetVisible(1, 1);
callSetCharaInfo(0, "", ""); callSetMessageWindowCharacter(0, 0, 0);
callEffectSetBackgroundColor(10, 20, 30);
callSoundLoadBGM(1, "tune.wav"); callSoundPlayBGM(1, 80, 100);
callSetSceneFlagInt("seen", 1);
callDispMessage("one " + random.int(1, 1000), -1); yield; callClearMessage();
callGotoNextScript("002.kel");
return 1;
)";
constexpr const char* SCENE_2 = R"(
count += 10;
callWindowLoad(1, "image", "green.png"); callWindowSetRect(1, 5, 6, 70, 80);
callDispMessage("two " + count + " " + callGetSceneFlag("seen"), -1); yield; callClearMessage();
callSetCommand("go", 1); callSetCommand("stay", 1); callWaitSelectCommand(); yield;
callWindowLoad(1, "image", "blue.png"); callSoundStopBGM();
callEffectSetBackgroundColor(40, 50, 60);
callDispMessage("three " + random.int(1, 1000) + " " + callGetSelectCommand(), -1); yield;
callClearMessage(); callDispMessage("end", -1); yield;
return 0;
)";
constexpr int32_t FIRST_STOP_OF_SCENE_2 = 1;
constexpr int32_t LAST_STOP = 4;

class Rollback : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        for (const auto& [name, color] : {std::pair<const char*, Rgba>{"red", {255, 0, 0}},
                                          {"green", {0, 255, 0}},
                                          {"blue", {0, 0, 255}}})
            WritePicture(Data("image/") + name + ".png", 8, 8, color);
        WritePicture(Data("image/chara/aoi_0.png"), 4, 4, {9, 9, 9});
        std::filesystem::create_directories(Data("sound/bgm"));
        kura_test::writeTone(Data("sound/bgm/tune.wav"), 440.0, 3.0, 0.25);
        WriteScenario("002.kel", SCENE_2);
    }
    static std::string Data(const std::string& rest) {
        return std::string("data/") + kura_test::GAME_FOLDER + "/" + rest;
    }
    // Everything the story set that the screen or the speakers show.
    std::string Stage() {
        const Kura::TextureManager& textures = *Kura::TextureManager::Get();
        std::string text = player().getMessageText() + " flag " + SceneFlag("seen");
        for (size_t i = 0; i < game().getWindowCount(); ++i) {
            const auto* window = dynamic_cast<Kura::ImageWindow*>(game().getWindow(int32_t(i)));
            const Kura::WindowRect& r = window->GetRect();
            const Kura::WindowRect& part = window->GetImageRect();
            text += "\nwindow " + std::to_string(window->GetType()) + " " +
                    std::to_string(window->IsVisible()) + " " + std::to_string(r.x) + "," +
                    std::to_string(r.y) + "," + std::to_string(r.w) + "," + std::to_string(r.h) +
                    " part " + std::to_string(part.w) + "," + std::to_string(part.h) + " " +
                    textures.GetFilePath(window->GetTextureIndex());
        }
        const Kura::ColorRgba& bg = game().getBackgroundColor();
        return text + "\nbackground " + std::to_string(bg.r) + "," + std::to_string(bg.g) + "," +
               std::to_string(bg.b) + " music " +
               std::to_string(Kura::Audio::IsPlayingBgm(Kura::Audio::GetNowBgm()));
    }
    // Frames until the story waits at a message shown whole or at a menu.
    void Settle() {
        ASSERT_TRUE(UpdateUntil([&] {
            return MessageShown() ||
                   (player().isChoiceOpen() && game().getCommandMenu().IsActive());
        }));
    }
};

TEST_F(Rollback, StartsAtTheSceneChangeAndRebuildsThePlayedStage) {
    NewGame(SCENE_1);
    std::vector<std::string> played;
    for (int32_t stop = 0; stop <= LAST_STOP; ++stop) {
        Settle();
        ASSERT_EQ(player().getTrail().stops(), stop);
        played.push_back(Stage());
        if (player().isChoiceOpen()) WaitMenuReady(game().getCommandMenu());
        if (stop < LAST_STOP) TapAndSettle('z');
    }
    const Kura::PlayTrail trail = player().getTrail();
    for (int32_t stop = LAST_STOP - 1; stop >= 0; --stop) {
        SCOPED_TRACE(stop);
        ASSERT_TRUE(game().rollBack());
        EXPECT_EQ(Stage(), played[stop]);
        const auto from = player().lastCheckpoint();
        ASSERT_NE(from, nullptr);
        EXPECT_EQ(from->trail.stops(), stop >= FIRST_STOP_OF_SCENE_2 ? FIRST_STOP_OF_SCENE_2 : 0);
    }
    // At the next start no checkpoint is kept: a load replays from the beginning.
    Kura::GameMain::destroy();
    Kura::Services::Stop();
    Kura::Services::Start();
    ShowTitle();
    Kura::SaveRecord record;
    record.trail = trail;
    record.stops = LAST_STOP - 1;
    game().loadRecord(record);
    EXPECT_EQ(Stage(), played[LAST_STOP - 1]);
}

} // namespace
} // namespace controller_test
