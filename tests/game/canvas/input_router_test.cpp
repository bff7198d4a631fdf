// The input router between the window's events and the input controller:
// pointer positions in canvas units, repeated positions judged in window
// pixels, presses let go again before a frame still read as pressed, and each
// tap counted as one press.
#include "game/canvas/InputRouter.h"
#include "game/services/Services.h"
#include "of/Controller.h"
#include "of/InputState.h"

#include "scratch_dir.h"

#include <gtest/gtest.h>

namespace {

using Kura::Controller;

class InputRouterTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        Kura::g_pInput = new Kura::InputState(Kura::Canvas::WIDTH, Kura::Canvas::HEIGHT);
        Controller::Create(Kura::Services::HOLD_INTERVAL_FRAMES);
        router = std::make_unique<Kura::InputRouter>(*Kura::g_pInput);
    }
    void TearDown() override {
        router.reset();
        Controller::Destroy();
        delete Kura::g_pInput;
        Kura::g_pInput = nullptr;
        ScratchDirTest::TearDown();
    }
    // One frame as the application runs it: the controller samples inside the
    // game's update, then the router applies what waited for it.
    void Frame() {
        Controller::Get()->Update();
        router->AfterUpdate();
    }

    std::unique_ptr<Kura::InputRouter> router;
};

TEST_F(InputRouterTest, PointerArrivesInCanvasUnits) {
    router->SetTransform(Kura::Canvas::Compute(480, 320, false, 0, 0));
    router->MouseMoved(240, 100);
    Frame();
    EXPECT_EQ(Controller::Get()->GetMouseX(), 480);
    EXPECT_EQ(Controller::Get()->GetMouseY(), 200);
    // The canvas is the area the pointer counts as inside of.
    router->MouseMoved(490, 300); // 980 canvas units: past the right edge
    Frame();
    EXPECT_EQ(Controller::Get()->GetMouseX(), Kura::Canvas::WIDTH);
}

// A press let go before the frame still reads as pressed in it; a key let go
// under another code (Shift or Ctrl let go first) does not stay held; pressed
// again before the frame it stays down.
TEST_F(InputRouterTest, PressesWithinOneFrame) {
    router->MouseMoved(100, 100);
    router->MousePressed(100, 100, 0);
    router->MouseReleased(100, 100, 0);
    router->KeyPressed('z');
    router->KeyReleased('z');
    router->KeyPressed(3); // Ctrl+C
    router->KeyReleased('c');
    router->KeyPressed('x');
    router->KeyReleased('x');
    router->KeyPressed('x');
    router->MousePressed(5, 5, 2);
    router->MouseReleased(5, 5, 2);
    router->MousePressed(5, 5, 2);
    Frame();
    EXPECT_TRUE(Controller::Get()->IsLMousePressed());
    EXPECT_TRUE(Controller::Get()->IsPressed(Controller::KEY_Z));
    EXPECT_FALSE(Kura::g_pInput->IsKeyDown(3));
    EXPECT_TRUE(Kura::g_pInput->IsKeyDown('x'));
    EXPECT_TRUE(Kura::g_pInput->IsButtonDown(2));
    router->KeyPressed('Z'); // with Shift
    Frame();
    router->KeyReleased('z');
    Frame();
    EXPECT_FALSE(Controller::Get()->IsLMouseDown());
    EXPECT_FALSE(Kura::g_pInput->IsButtonDown(0));
    EXPECT_FALSE(Controller::Get()->IsDown(Controller::KEY_Z));
    EXPECT_FALSE(Kura::g_pInput->IsKeyDown('Z'));
}

// Presses are events: two taps within one slow frame are two, a held key's
// repeats are none, and a press no frame took is not carried into the next.
TEST_F(InputRouterTest, EachTapIsOnePress) {
    for (int tap = 0; tap < 2; ++tap) {
        router->KeyPressed('n');
        router->KeyReleased('n');
    }
    router->KeyPressed('a');
    router->KeyPressed('a'); // the window repeats a held key
    EXPECT_EQ(Kura::g_pInput->TakePresses('n'), 2);
    EXPECT_EQ(Kura::g_pInput->TakePresses('n'), 0);
    EXPECT_EQ(Kura::g_pInput->TakePresses('a'), 1);
    router->KeyPressed('b');
    Frame();
    EXPECT_EQ(Kura::g_pInput->TakePresses('b'), 0);
}

// Several window pixels share a canvas unit when the canvas is drawn larger: a
// move within that unit is a new position, not a repeated report.
TEST_F(InputRouterTest, RepeatedPositionIsJudgedInWindowPixels) {
    router->SetTransform(Kura::Canvas::Compute(1920, 1280, false, 0, 0)); // 2 pixels a unit
    router->MouseMoved(20, 20);
    router->KeyPressed('w');
    router->MouseMoved(21, 20); // same canvas unit (10, 10)
    EXPECT_TRUE(Kura::g_pInput->IsKeyDown('w'));
    EXPECT_EQ(Kura::g_pInput->GetMousePosition().x, 10.0f);
    router->MouseMoved(21, 20); // the very same report again empties the keys
    EXPECT_FALSE(Kura::g_pInput->IsKeyDown('w'));
    EXPECT_EQ(Kura::g_pInput->GetKeyEntryCount(), 0u);
}

TEST_F(InputRouterTest, DragLetsTheButtonGoOnlyAtTheStoredPosition) {
    router->MouseMoved(30, 40);
    router->MousePressed(30, 40, 0);
    router->MouseDragged(31, 40, 0);
    EXPECT_TRUE(Kura::g_pInput->IsButtonDown(0));
    EXPECT_EQ(Kura::g_pInput->GetMousePosition().x, 30.0f);
    router->MouseDragged(30, 40, 0);
    EXPECT_FALSE(Kura::g_pInput->IsButtonDown(0));
}

} // namespace
