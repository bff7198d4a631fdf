// The title: the contents script and title picture, "はじめから" and the
// "つづきから" sub-menu of every reached scene, and what each choice starts,
// chosen with keys and with the mouse in a window of another size.
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
    // The centre of item index of a menu, in canvas units.
    static void CellCentre(Kura::SimpleMenu& menu, int index, int& x, int& y) {
        const int charWidth = Kura::ImageFont::Get()->GetWidth(menu.GetFontType(), L"あ");
        x = menu.GetIcon()->GetX() + (index % menu.GetColumn()) * menu.GetItemWidth() +
            charWidth / 2 + menu.GetItemWidth() / 2;
        y = menu.GetIcon()->GetY() + (index / menu.GetColumn()) * menu.GetItemHeight() +
            menu.GetItemHeight() / 2 + menu.GetItemHeight() / 2;
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

TEST_F(Title, ChoosingASceneStartsItsFileWithEmptyFlags) {
    WriteSave("002", "003");
    ShowTitle();
    OpenScenes();
    for (int i = 0; i < 3; ++i)
        TapAndSettle(KEY_DOWN);
    TapAndSettle('z');
    EXPECT_FALSE(game().isTitleMode());
    EXPECT_EQ(player().getScriptName(), "003.kel");
    EXPECT_EQ(SceneFlag("scene"), "003");
    EXPECT_EQ(SceneFlag("title"), ""); // set by the title script, cleared by the start
    EXPECT_EQ(player().getSceneFlags().size(), 1u);
}

TEST_F(Title, ContinueStartsTheSceneLastPlayed) {
    WriteSave("002", "003");
    ShowTitle();
    OpenScenes();
    TapAndSettle(KEY_DOWN);
    TapAndSettle(KEY_UP);
    TapAndSettle('z');
    EXPECT_EQ(player().getScriptName(), "002.kel");
    EXPECT_EQ(SceneFlag("scene"), "002");
}

TEST_F(Title, NewGameStartsTheFirstScenario) {
    WriteSave("002", "003");
    NewGame("callSetSceneFlagInt(\"first\", 1); callDispMessage(\"x\", -1); yield;");
    EXPECT_EQ(player().getScriptName(), "001.kel");
    EXPECT_EQ(SceneFlag("first"), "1");
}

// The window is half the canvas here: the pointer is taken into canvas units,
// so clicks land on the items under them.
TEST_F(Title, MouseChoosesInAWindowOfAnotherSize) {
    WriteSave("002", "003");
    ShowTitle();
    router().SetTransform(Kura::Canvas::Compute(480, 320, false, 0, 0));
    Kura::SimpleMenu& menu = game().getCommandMenu();
    WaitMenuReady(menu);
    int x = 0, y = 0;
    CellCentre(menu, CONTINUE_ITEM, x, y);
    MoveMouse(x / 2, y / 2);
    Update();
    EXPECT_EQ(menu.GetCursor(), CONTINUE_ITEM);
    Click();
    Updates(2);
    WaitMenuReady(Scenes());
    CellCentre(Scenes(), 0, x, y);
    MoveMouse(x / 2, y / 2);
    Update();
    Click();
    Updates(3);
    EXPECT_FALSE(game().isTitleMode());
    EXPECT_EQ(player().getScriptName(), "002.kel");
}

} // namespace
} // namespace controller_test
