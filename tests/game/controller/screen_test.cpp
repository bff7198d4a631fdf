// What the screen shows and what window commands do: fades, windows by number
// and by kind, the character's picture name. (The reports a faulty scenario leaves in log.txt are
// read on the real program by the end-to-end faulty game.)
#include "window_fixture.h"

#include "of/TextureManager.h"
#include "of/Window.h"

namespace controller_test {
namespace {

using Screen = GameTest;

TEST_F(Screen, FadeInStartsOpaqueAndClearsOverItsFrames) {
    NewGame("callWindowManagerClearAll(); yield; callEffectFadeIn(255, 0, 0, 1000); yield;");
    for (int frame = 0; frame < 60; ++frame) {
        Frame();
        const int alpha = 255 - frame * 255 / 60;
        ASSERT_EQ(game().fadeInAlpha(), alpha) << frame;
        const Rgba px = PixelAt(480, 320);
        EXPECT_NEAR(px.r, alpha, 1) << frame; // red over black
        EXPECT_EQ(px.g, 0);
    }
    EXPECT_EQ(game().fadeInAlpha(), 5);
    Frame();
    EXPECT_EQ(game().fadeInAlpha(), -1);
    EXPECT_EQ(PixelAt(480, 320).r, 0);
}

TEST_F(Screen, FadeOutGrowsFromClearAndStopsAtItsEnd) {
    NewGame("callWindowManagerClearAll(); callEffectSetBackgroundColor(0, 0, 255); yield;"
            "callEffectFadeOut(255, 255, 255, 500); yield;");
    Frame();
    EXPECT_EQ(game().fadeOutAlpha(), 0);
    EXPECT_EQ(PixelAt(480, 320).b, 255);
    EXPECT_EQ(PixelAt(480, 320).r, 0);
    for (int frame = 1; frame < 30; ++frame)
        Frame();
    EXPECT_EQ(game().fadeOutAlpha(), 29 * 255 / 30);
    EXPECT_GT(PixelAt(480, 320).r, 240);
    Frame();
    EXPECT_EQ(game().fadeOutAlpha(), -1);
    EXPECT_EQ(PixelAt(480, 320).r, 0);
}

TEST_F(Screen, WindowsAreNumberedByListPositionAndDrawByKind) {
    WritePicture("data/game1/image/bg/red.png", 32, 16, {255, 0, 0});
    NewGame(R"(callWindowManagerClearAll();
        callWindowManagerAdd(1); callWindowManagerAdd(5); callWindowManagerAdd(3);
        callWindowManagerAdd(2); callWindowLoad(2, "image/bg", "red.png");
        callWindowSetRect(2, 200, 100, 64, 32); callWindowSetVisible(2, 1);
        callSetSceneFlagInt("video", callImageWindowGetImageWidth(1));
        callSetSceneFlagInt("width", callImageWindowGetImageWidth(2));
        callSetSceneFlagInt("height", callImageWindowGetImageHeight(2));
        yield;
        callWindowManagerClearAll(); callWindowManagerAdd(4); yield;)");
    ASSERT_EQ(game().getWindowCount(), 3u); // kind 5 adds nothing
    EXPECT_EQ(game().getWindow(0)->GetType(), Kura::WINDOW_KIND_TEXT);
    EXPECT_EQ(game().getWindow(1)->GetType(), Kura::WINDOW_KIND_VIDEO);
    EXPECT_EQ(game().getWindow(2)->GetId(), 2);
    EXPECT_EQ(SceneFlag("video"), "0");
    EXPECT_EQ(SceneFlag("width"), "32");
    EXPECT_EQ(SceneFlag("height"), "16");
    Draw();
    const Rgba inside = PixelAt(230, 115);
    EXPECT_EQ(inside.r, 255);
    EXPECT_EQ(inside.g, 0);
    EXPECT_EQ(PixelAt(264, 100).r, 0);

    Frame(); // the script clears every window and adds one
    ASSERT_EQ(game().getWindowCount(), 1u);
    EXPECT_EQ(game().getWindow(0)->GetId(), 0);
    EXPECT_EQ(game().getWindow(0)->GetType(), Kura::WINDOW_KIND_CHARACTER);
    EXPECT_EQ(Kura::CharacterWindow::GetNowIndex(), -1);
    EXPECT_EQ(Kura::TextWindow::GetNowIndex(), -1);
}

// The picture name comes from the settings and is not a format: only its
// "%s" takes the face, any other "%" stays, and its length is not limited.
TEST_F(Screen, CharacterPictureNameTakesTheFaceForItsPlaceholderOnly) {
    std::string folder;
    for (int i = 0; i < 30; ++i)
        folder += "folder" + std::to_string(i) + "/";
    const std::string base = folder + "c%d%x_%s.png";
    ASSERT_GT(base.size(), 255u);
    WritePicture("data/game1/image/chara/" + folder + "c%d%x_7.png", 8, 8, {0, 255, 0});
    NewGame("callWindowManagerClearAll(); gCharaData[2].name = \"C\";"
            "gCharaData[2].baseFilePath = \"" +
            base +
            "\"; gCharaData[2].msgSeIndex = 0;"
            "callSetCharaInfo(2, \"\", \"\"); callWindowManagerAdd(4);"
            "callSetMessageWindowCharacter(2, 7, 0); yield;");
    NewReports();
    auto* chara = dynamic_cast<Kura::CharacterWindow*>(game().getWindow(0));
    ASSERT_NE(chara, nullptr);
    EXPECT_TRUE(chara->IsLoaded());
    EXPECT_EQ(chara->GetTextureIndex(), 200 + 2 * 10 + 7);
    EXPECT_EQ(Kura::TextureManager::Get()->GetWidth(227), 8);
    EXPECT_EQ(chara->GetImageRect().w, 8);
    ASSERT_NE(game().getCharacter(2), nullptr);
    EXPECT_EQ(game().getCharacter(2)->name, "C");
}

} // namespace
} // namespace controller_test
