// The title: the contents script and title picture, "はじめから" and the
// "つづきから" sub-menu of every reached scene, and what each choice starts.
// (Pointer positions in a window of another size: the input router's tests.)
#include "window_fixture.h"

#include "game/settings/Setting.h"
#include "of/Icon.h"
#include "of/ImageFont.h"
#include "of/SimpleMenu.h"
#include "of/Window.h"

#include "string_value.h"

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

TEST_F(Title, NewPlayerGetsTheTitlePictureAndOnlyANewGame) {
    WriteScenario("contents.kel", "global string contentsMark = \"title\";");
    Kura::Setting::get()->setGlobal(
        "contentsMark", Kel::Ref(new Kel::variable::Variable::vString(Kel::SharedString("none"))));
    ShowTitle();
    EXPECT_EQ(Kura::Setting::get()->getString("contentsMark"), "title");
    ASSERT_EQ(game().getWindowCount(), 1u);
    Kura::Window* picture = game().getWindow(0);
    EXPECT_EQ(picture->GetType(), Kura::WINDOW_KIND_IMAGE);
    EXPECT_TRUE(picture->IsLoaded());
    EXPECT_TRUE(picture->IsVisible());
    Kura::SimpleMenu& menu = game().getCommandMenu();
    EXPECT_EQ(menu.GetRow(), 1);
    EXPECT_EQ(menu.GetMenuItemName(0), L"はじめから");
    EXPECT_TRUE(game().isTitleMode());
    // Centred across the window, a quarter of the way down (250 of 640 here).
    const int w = Kura::ImageFont::Get()->GetWidth(1, L"はじめから");
    EXPECT_EQ(menu.GetIcon()->GetX(), (960 - w) / 2);
    EXPECT_EQ(menu.GetIcon()->GetY(), 250);
}

TEST_F(Title, ReachedScenesAreOfferedUnderContinue) {
    WriteSave("002", "003");
    ShowTitle();
    Kura::SimpleMenu& menu = game().getCommandMenu();
    ASSERT_EQ(menu.GetRow(), 2);
    EXPECT_EQ(menu.GetMenuItemName(0), L"はじめから");
    EXPECT_EQ(menu.GetMenuItemName(1), L"つづきから");
    Kura::SimpleMenu& scenes = Scenes();
    EXPECT_EQ(scenes.GetRow(), 1);
    EXPECT_EQ(scenes.GetColumn(), 10);
    const wchar_t* labels[] = {L"つづき", L"1", L"2", L"3", L""};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(scenes.GetMenuItemName(i), labels[i]) << i;
    EXPECT_EQ(scenes.GetIcon()->GetX(), 40);
    EXPECT_EQ(scenes.GetIcon()->GetY(), 200);
    EXPECT_EQ(scenes.GetItemWidth(), 4 * Kura::ImageFont::Get()->GetWidth(1, L"あ"));
}

TEST_F(Title, EveryReachedSceneIsOfferedPastThirtyFour) {
    WriteSave("040", "040");
    ShowTitle();
    Kura::SimpleMenu& scenes = Scenes();
    EXPECT_EQ(scenes.GetRow(), 5); // "つづき" and 40 scenes, ten a row
    EXPECT_EQ(scenes.GetMenuItemName(35), L"35");
    EXPECT_EQ(scenes.GetMenuItemName(40), L"40");
}

// A scene chosen starts its file with empty flags ("title" was set by the
// title script); "つづき" starts the scene last played.
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
    NewGame("callSetSceneFlagInt(\"first\", 1); callDispMessage(\"x\", -1); yield;");
    EXPECT_EQ(player().getScriptName(), "001.kel");
    EXPECT_EQ(SceneFlag("first"), "1");
}

} // namespace
} // namespace controller_test
