// Menus driven by real frames: the raw input state is fed as the window's
// callbacks would, the input controller updates, then the menu runs its frame,
// in the game's order. Sound effects 0, 1 and 2 are long tones, so a test can
// ask which one a frame started. Needs a GL window for the real fonts.
#pragma once

#include "of/Audio.h"
#include "of/Controller.h"
#include "of/Draw2D.h"
#include "of/Icon.h"
#include "of/ImageFont.h"
#include "of/InputState.h"
#include "of/SimpleMenu.h"

#include "gl_test_window.h"
#include "recording.h"
#include "scratch_dir.h"

#include <filesystem>
#include <initializer_list>

namespace widgets_test {

constexpr int MENU_FONT = 1;
constexpr int KEY_UP = 357;
constexpr int KEY_DOWN = 359;
constexpr int LEFT_BUTTON = 0;
constexpr int RIGHT_BUTTON = 2;

class MenuTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        kura_test::openWindowOnce();
        Kura::g_pInput = new Kura::InputState(kura_test::WINDOW_W, kura_test::WINDOW_H);
        Kura::Controller::Create(10);
        Kura::ImageFont::Create();
        Kura::ImageFont::Get()->AddFont(kura_test::GOTHIC, 14);
        Kura::ImageFont::Get()->AddFont(kura_test::GOTHIC, 16);
        Kura::Draw2D::Init();
        std::filesystem::create_directories("data/sound/se");
        Kura::Audio::Create(nullptr);
        for (int se : {0, 1, 2}) {
            const std::string file = "se" + std::to_string(se) + ".wav";
            kura_test::writeTone("data/sound/se/" + file, 440.0 + 110.0 * se, 3.0, 0.1);
            Kura::Audio::LoadSe(file, se);
        }
    }
    void TearDown() override {
        Kura::Audio::Destroy();
        Kura::Draw2D::Term();
        Kura::ImageFont::Destroy();
        Kura::Controller::Destroy();
        delete Kura::g_pInput;
        Kura::g_pInput = nullptr;
        ScratchDirTest::TearDown();
    }

    // One game frame for the menu tree of root.
    static void Step(Kura::SimpleMenu& root) {
        Kura::Controller::Get()->Update();
        root.Proc();
    }

    // As the game shows a menu; then frames until it takes input.
    static void Show(Kura::SimpleMenu& menu, Kura::SimpleMenu& root) {
        menu.Activate();
        menu.SetActive(true);
        menu.Open();
        WaitReady(menu, root);
    }
    static void WaitReady(Kura::SimpleMenu& menu, Kura::SimpleMenu& root) {
        for (int frames = 1; frames <= 100; ++frames) {
            Step(root);
            if (menu.GetIcon()->GetState() == Kura::Icon::STATE_OPEN && !menu.IsLocked()) return;
        }
        ADD_FAILURE() << "the menu never became ready";
    }

    // A key that goes down for one frame, then is let go until it reads up again
    // (held, released, up), so the next press reads pressed.
    static void Tap(Kura::SimpleMenu& root, int key) {
        Press(root, key);
        Release(root, key);
    }
    static void Press(Kura::SimpleMenu& root, int key) {
        Kura::g_pInput->OnKeyPressed(key);
        Step(root);
    }
    static void Release(Kura::SimpleMenu& root, int key) {
        Kura::g_pInput->OnKeyReleased(key);
        for (int frame = 0; frame < 3; ++frame)
            Step(root);
    }
    static void MoveMouse(Kura::SimpleMenu& root, int x, int y) {
        Kura::g_pInput->OnMouseMoved(x, y);
        Step(root);
    }
    // Pressed where the pointer is, without moving it; the release comes later.
    static void PressButton(Kura::SimpleMenu& root, int button) {
        const Kura::MousePoint& at = Kura::g_pInput->GetMousePosition();
        Kura::g_pInput->OnMousePressed(static_cast<int>(at.x), static_cast<int>(at.y), button);
        Step(root);
    }
    static void ReleaseButton(Kura::SimpleMenu& root, int button) {
        const Kura::MousePoint& at = Kura::g_pInput->GetMousePosition();
        Kura::g_pInput->OnMouseReleased(static_cast<int>(at.x), static_cast<int>(at.y), button);
        Step(root);
    }

    static void Silence() {
        for (int se : {0, 1, 2})
            Kura::Audio::StopSe(se);
    }
    // Which of the menu's sound effects are playing: "" or e.g. "2".
    static std::string Playing() {
        std::string playing;
        for (int se : {0, 1, 2}) {
            if (Kura::Audio::IsPlayingSe(se)) playing += std::to_string(se);
        }
        return playing;
    }
};

} // namespace widgets_test
