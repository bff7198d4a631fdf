// The raw input state as the window callbacks write it: key entries, releases
// that arrive with another case or control code, and the buttons. (Moves and
// drags are read through the input router's tests.)
#include "of/InputState.h"

#include <gtest/gtest.h>

namespace {

constexpr int SHIFT_A = 'A', LOWER_A = 'a', CTRL_C = 3, LOWER_C = 'c', CODE_UP = 357;

struct InputStateTest : testing::Test {
    Kura::InputState input{960, 640};
};

TEST_F(InputStateTest, ReleaseEndsOnlyItsKeyAndAnUnseenOneLeavesAFalseEntry) {
    input.OnKeyPressed('z');
    input.OnKeyPressed(CODE_UP);
    EXPECT_TRUE(input.IsKeyDown('z'));
    EXPECT_FALSE(input.IsKeyDown('x'));
    input.OnKeyReleased('z');
    EXPECT_FALSE(input.IsKeyDown('z'));
    EXPECT_TRUE(input.IsKeyDown(CODE_UP));
    input.OnKeyReleased(13);
    EXPECT_EQ(input.GetKeyEntryCount(), 3u);
    EXPECT_FALSE(input.IsKeyDown(13));
    // A lower-case letter's release adds no entry for the forms never seen.
    input.OnKeyReleased(LOWER_A);
    EXPECT_EQ(input.GetKeyEntryCount(), 4u);
}

TEST_F(InputStateTest, KeyReleasedUnderAnotherCaseOrControlCodeIsNotHeld) {
    const std::pair<int, int> pressedReleased[] = {
        {SHIFT_A, LOWER_A}, {CTRL_C, LOWER_C}, {LOWER_C, CTRL_C}, {'Z', 'z'}};
    for (auto [pressed, released] : pressedReleased) {
        input.OnKeyPressed(pressed);
        input.OnKeyReleased(released);
        EXPECT_FALSE(input.IsKeyDown(pressed)) << pressed;
        EXPECT_FALSE(input.IsKeyDown(released)) << released;
    }
}

TEST_F(InputStateTest, ButtonsFollowPressAndReleaseAndIgnoreOthers) {
    for (int button : {0, 2, 3, -1})
        input.OnMousePressed(5, 5, button);
    EXPECT_TRUE(input.IsButtonDown(0));
    EXPECT_FALSE(input.IsButtonDown(1));
    EXPECT_TRUE(input.IsButtonDown(2));
    EXPECT_FALSE(input.IsButtonDown(3));
    input.OnMouseReleased(5, 5, 2);
    EXPECT_FALSE(input.IsButtonDown(2));
    EXPECT_EQ(input.GetMousePosition().x, 0.0f); // presses do not move the pointer
}

} // namespace
