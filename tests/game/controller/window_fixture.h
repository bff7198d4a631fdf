// The game controller in a real window, stepped frame by frame as the
// application steps it: each test gets a fresh temporary folder with its own
// data/ (settings, fonts, pictures, sounds, scenario files) and log.txt, and
// every engine service set up as the application sets it up.
#pragma once

#include "game/canvas/InputRouter.h"
#include "game/controller/GameMain.h"
#include "game/player/ScenarioPlayer.h"
#include "game/services/Services.h"

#include "game_fixture.h"
#include "gl_test_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace controller_test {

constexpr int WINDOW_W = 960;
constexpr int WINDOW_H = 640;
// Sound effects 0 to 2 (advance, cancel, cursor) and the typing sounds of the
// two characters (slots 10 and 11) are long tones, so a test sees them play.
constexpr int SE_TYPING_FIRST = 10;

using kura_test::Rgba;

class GameTest : public kura_test::GameFolderTest {
protected:
    void SetUp() override;    // writes the data folder and sets up the services
    void TearDown() override; // tears down what was set up, in reverse

    // A picture of one colour in the game's data folder.
    static void WritePicture(const std::string& path, int w, int h, Rgba color);

    // GameMain with the title up; the player reads the progress file now.
    void ShowTitle() {
        Kura::GameMain::create();
        game().scenarioInit();
    }
    // The title, then "はじめから" decided with Z: the story of 001.kel starts.
    void NewGame(const std::string& script001);

    // One frame: the controller's update, then the router's pending releases.
    void Update() {
        game().update();
        router().AfterUpdate();
    }
    void Updates(int n) {
        for (int i = 0; i < n; ++i)
            Update();
    }
    // The draw of the frame into the back buffer; a frame is update then draw.
    void Draw();
    void Frame() {
        Update();
        Draw();
    }
    // Frames until pred() holds; false after limit frames.
    template <class Pred> bool UpdateUntil(Pred pred, int limit = 600) {
        for (int i = 0; i < limit; ++i) {
            if (pred()) return true;
            Update();
        }
        return pred();
    }
    // Frames until the menu takes input.
    void WaitMenuReady(Kura::SimpleMenu& menu);
    // The story waits at a message shown whole.
    bool MessageShown() {
        return player().getState() == Kura::ScenarioPlayer::STATE_MESSAGE &&
               player().isMessageCompleteAndReported();
    }

    // Input as the window delivers it, through the application's router.
    // Keys go down and up before the next frame; settling runs the frames until
    // the controller reads the key as up again, so it can be pressed anew.
    void Tap(int key) {
        router().KeyPressed(key);
        router().KeyReleased(key);
    }
    void TapAndSettle(int key) {
        Tap(key);
        Updates(4); // pressed, held, released, up
    }
    void MoveMouse(int x, int y) { router().MouseMoved(x, y); } // canvas position
    void PressButton();
    void ReleaseButton();
    void Click() { // press and release where the pointer is
        PressButton();
        ReleaseButton();
    }

    // A canvas position in the 960 x 640 window.
    static Rgba PixelAt(int x, int y) { return kura_test::pixelAt(x, y, WINDOW_H); }
    Kura::InputRouter& router() { return *Kura::Services::Router(); }
    Kura::GameMain& game() { return *Kura::GameMain::get(); }
    Kura::ScenarioPlayer& player() { return game().getPlayer(); }
    std::string SceneFlag(const std::string& name) const;
};

} // namespace controller_test
