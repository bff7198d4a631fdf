// Window state that needs no picture: slots from the settings, faces,
// the operations that must change nothing, and the class registries.
#include "of/Window.h"

#include "scratch_dir.h"
#include "test_window_settings.h"

#include <memory>
#include <tuple>

using namespace Kura;

namespace {

class WindowStateTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        Window::SetSettings(&m_Settings);
    }
    void TearDown() override {
        Window::SetSettings(nullptr);
        TextWindow::ClearRegistry();
        CharacterWindow::ClearRegistry();
        TextWindow::SetNowIndex(-1);
        CharacterWindow::SetNowIndex(-1);
        ScratchDirTest::TearDown();
    }
    widgets_test::TestWindowSettings m_Settings;
};

// (Which number makes which kind is read through the scenario's window list in
// the game controller's screen tests.)
TEST_F(WindowStateTest, SlotsFromTheSettings) {
    ImageWindow image(5);
    CharacterWindow chara(3);
    EXPECT_EQ(image.GetTextureIndex(), 105);
    chara.SetCharaIndex(2);
    chara.SetFace(3);
    EXPECT_EQ(chara.GetTextureIndex(), 223);
    // The settings are read at each call.
    m_Settings.facesPerCharacter = 4;
    m_Settings.imageBase = 300;
    EXPECT_EQ(chara.GetTextureIndex(), 211);
    EXPECT_EQ(image.GetTextureIndex(), 305);
    // Face -1 means the first face; other values are kept.
    chara.SetFace(-1);
    EXPECT_EQ(chara.GetFace(), 0);
    chara.SetFace(-2);
    EXPECT_EQ(chara.GetFace(), -2);
    // Without settings the window number is the slot, with a report.
    Window::SetSettings(nullptr);
    EXPECT_EQ(image.GetTextureIndex(), 5);
    EXPECT_NE(
        ReadFile("log.txt").find("Func=Kura::ImageWindow::GetTextureIndex\nmes=m_pSettings\n"),
        std::string::npos);
}

TEST_F(WindowStateTest, ScriptOperationsWithoutEffectChangeNothing) {
    std::unique_ptr<Window> windows[] = {
        std::make_unique<TextWindow>(0), std::make_unique<ImageWindow>(1),
        std::make_unique<VideoWindow>(2), std::make_unique<CharacterWindow>(3)};
    for (auto& w : windows) {
        w->SetRect(1, 2, 3, 4);
        w->SetVisible(7);
        w->SetFlip(0, 5);
        w->Init();
        w->Open();
        w->Close();
        w->MovePos(50, 60);
        w->Play(1);
        w->Stop();
        w->Update();
        const auto& r = w->GetRect();
        EXPECT_EQ(std::tie(r.x, r.y, r.w, r.h), std::make_tuple(1, 2, 3, 4));
        EXPECT_TRUE(w->IsVisible());
        EXPECT_FALSE(w->GetFlipX());
        EXPECT_TRUE(w->GetFlipY());
    }
}

TEST_F(WindowStateTest, RegistriesAnswerNullForIndexesWithoutWindow) {
    TextWindow t0(0), t1(1);
    CharacterWindow c0(2);
    TextWindow::AddToRegistry(&t0);
    TextWindow::AddToRegistry(&t1);
    CharacterWindow::AddToRegistry(&c0);

    TextWindow::SetNowIndex(1);
    CharacterWindow::SetNowIndex(0);
    EXPECT_EQ(TextWindow::getNowWnd(), &t1);
    EXPECT_EQ(CharacterWindow::getNowWnd(), &c0);
    EXPECT_FALSE(std::filesystem::exists("log.txt"));

    CharacterWindow::SetNowIndex(1);
    EXPECT_EQ(CharacterWindow::getNowWnd(), nullptr) << "past the end";
    // The game's clear: windows deleted, registries emptied, indexes -1.
    TextWindow::ClearRegistry();
    CharacterWindow::ClearRegistry();
    TextWindow::SetNowIndex(-1);
    CharacterWindow::SetNowIndex(-1);
    EXPECT_EQ(TextWindow::getNowWnd(), nullptr);
    EXPECT_EQ(CharacterWindow::getNowWnd(), nullptr);
    TextWindow::SetNowIndex(0);
    EXPECT_EQ(TextWindow::getNowWnd(), nullptr) << "an index set into an empty registry";

    EXPECT_EQ(ReadFile("log.txt"),
              "File=src\\of\\Window\nLine=323\nFunc=Kura::CharacterWindow::getNowWnd\nmes=0\n"
              "File=src\\of\\Window\nLine=175\nFunc=Kura::TextWindow::getNowWnd\nmes=0\n"
              "File=src\\of\\Window\nLine=323\nFunc=Kura::CharacterWindow::getNowWnd\nmes=0\n"
              "File=src\\of\\Window\nLine=175\nFunc=Kura::TextWindow::getNowWnd\nmes=0\n");
}

} // namespace
