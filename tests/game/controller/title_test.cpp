// The title's "つづきから" sub-menu past the first row of reached scenes, and what
// each choice starts. (The title picture and the menus a new and a returning
// player get are read on the real program by the end-to-end demo run.)
#include "window_fixture.h"

#include "of/SimpleMenu.h"

namespace controller_test {
namespace {

constexpr int KEY_UP = 357;
constexpr int KEY_DOWN = 359;
constexpr int CONTINUE_ITEM = 1;

class Title : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        for (const char* scene : {"002", "003"})
            WriteScenario(std::string(scene) + ".kel",
                          std::string("callSetSceneFlagString(\"scene\", \"") + scene +
                              "\"); callDispMessage(\"x\", -1); yield;");
    }
    Kura::SimpleMenu& Scenes() { return *game().getCommandMenu().GetChild(CONTINUE_ITEM); }
    // Opens the "つづきから" sub-menu with the keys.
    void OpenScenes() {
        WaitMenuReady(game().getCommandMenu());
        TapAndSettle(KEY_DOWN);
        TapAndSettle('z');
        WaitMenuReady(Scenes());
    }
};

TEST_F(Title, EveryReachedSceneIsOfferedPastThirtyFour) {
    WriteSave("040", "040");
    ShowTitle();
    Kura::SimpleMenu& scenes = Scenes();
    EXPECT_EQ(scenes.GetRow(), 5); // "つづき" and 40 scenes, ten a row
    EXPECT_EQ(scenes.GetMenuItemName(35), L"35");
    EXPECT_EQ(scenes.GetMenuItemName(40), L"40");
}

// A scene chosen starts its file with empty flags ("title" was set by the title
// script); "つづき" starts the scene last played. (A new game's 001.kel: every test.)
TEST_F(Title, EachChoiceStartsItsFile) {
    const struct {
        int downs, ups;
        const char* script;
    } cases[] = {{3, 0, "003"}, {1, 1, "002"}};
    for (const auto& c : cases) {
        WriteSave("002", "003");
        ShowTitle();
        OpenScenes();
        for (int i = 0; i < c.downs; ++i)
            TapAndSettle(KEY_DOWN);
        for (int i = 0; i < c.ups; ++i)
            TapAndSettle(KEY_UP);
        TapAndSettle('z');
        EXPECT_FALSE(game().isTitleMode());
        EXPECT_EQ(player().getScriptName(), std::string(c.script) + ".kel");
        EXPECT_EQ(SceneFlag("scene"), c.script);
        EXPECT_EQ(player().getSceneFlags().size(), 1u);
        Kura::GameMain::destroy();
    }
}

} // namespace
} // namespace controller_test
