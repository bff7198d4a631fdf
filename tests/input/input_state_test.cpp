// The raw input state as the window callbacks write it: key entries, releases
// that arrive with another case or control code, and the mouse writers.
#include "of/InputState.h"

#include <gtest/gtest.h>

namespace {

constexpr int SHIFT_A = 'A', LOWER_A = 'a', CTRL_C = 3, LOWER_C = 'c';

TEST(InputStateKeys, PressAndReleaseOfOneKey) {
    Kura::InputState input(960, 640);
    EXPECT_FALSE(input.IsKeyDown('z'));
    EXPECT_EQ(input.GetKeyEntryCount(), 0u);
    input.OnKeyPressed('z');
    EXPECT_TRUE(input.IsKeyDown('z'));
    EXPECT_FALSE(input.IsKeyDown('x'));
    input.OnKeyReleased('z');
    EXPECT_FALSE(input.IsKeyDown('z'));
    EXPECT_EQ(input.GetKeyEntryCount(), 1u);
}

TEST(InputStateKeys, ReleaseOfAKeyNeverPressedLeavesAFalseEntry) {
    Kura::InputState input(960, 640);
    input.OnKeyReleased(357);
    EXPECT_EQ(input.GetKeyEntryCount(), 1u);
    EXPECT_FALSE(input.IsKeyDown(357));
}

TEST(InputStateKeys, ShiftLetterReleasedAsLowerCaseIsNotHeld) {
    Kura::InputState input(960, 640);
    input.OnKeyPressed(SHIFT_A);
    input.OnKeyReleased(LOWER_A);
    EXPECT_FALSE(input.IsKeyDown(SHIFT_A));
    EXPECT_FALSE(input.IsKeyDown(LOWER_A));
}

TEST(InputStateKeys, ControlLetterReleasedAsPlainLetterIsNotHeld) {
    Kura::InputState input(960, 640);
    input.OnKeyPressed(CTRL_C);
    input.OnKeyReleased(LOWER_C);
    EXPECT_FALSE(input.IsKeyDown(CTRL_C));
    input.OnKeyPressed(LOWER_C);
    input.OnKeyReleased(CTRL_C);
    EXPECT_FALSE(input.IsKeyDown(LOWER_C));
    input.OnKeyPressed('Z');
    input.OnKeyReleased('z');
    EXPECT_FALSE(input.IsKeyDown('Z'));
}

TEST(InputStateKeys, ReleaseLeavesOtherKeysAndAddsNoEntriesForUnseenForms) {
    Kura::InputState input(960, 640);
    input.OnKeyPressed('b');
    input.OnKeyPressed(357);
    input.OnKeyPressed(13);
    input.OnKeyReleased('a');
    EXPECT_TRUE(input.IsKeyDown('b'));
    EXPECT_TRUE(input.IsKeyDown(357));
    EXPECT_TRUE(input.IsKeyDown(13));
    EXPECT_EQ(input.GetKeyEntryCount(), 4u);
}

TEST(InputStateMouse, MoveStoresThePositionAndAStillMoveClearsEveryKey) {
    Kura::InputState input(960, 640);
    input.OnKeyPressed('z');
    input.OnMouseMoved(10, 20);
    EXPECT_EQ(input.GetMousePosition().x, 10.0f);
    EXPECT_EQ(input.GetMousePosition().y, 20.0f);
    EXPECT_TRUE(input.IsKeyDown('z'));
    input.OnMouseMoved(10, 20);
    EXPECT_FALSE(input.IsKeyDown('z'));
    EXPECT_EQ(input.GetKeyEntryCount(), 0u);
}

TEST(InputStateMouse, ButtonsFollowPressAndReleaseAndIgnoreOthers) {
    Kura::InputState input(960, 640);
    input.OnMousePressed(5, 5, 0);
    input.OnMousePressed(5, 5, 2);
    input.OnMousePressed(5, 5, 3);
    input.OnMousePressed(5, 5, -1);
    EXPECT_TRUE(input.IsButtonDown(0));
    EXPECT_FALSE(input.IsButtonDown(1));
    EXPECT_TRUE(input.IsButtonDown(2));
    EXPECT_FALSE(input.IsButtonDown(3));
    input.OnMouseReleased(5, 5, 2);
    EXPECT_FALSE(input.IsButtonDown(2));
    EXPECT_EQ(input.GetMousePosition().x, 0.0f); // presses do not move the pointer
}

TEST(InputStateMouse, DragAtTheStoredPositionLetsGoAndElsewhereChangesNothing) {
    Kura::InputState input(960, 640);
    input.OnMouseMoved(30, 40);
    input.OnMousePressed(30, 40, 0);
    input.OnMouseDragged(31, 40, 0);
    EXPECT_TRUE(input.IsButtonDown(0));
    EXPECT_EQ(input.GetMousePosition().x, 30.0f);
    input.OnMouseDragged(30, 40, 0);
    EXPECT_FALSE(input.IsButtonDown(0));
}

} // namespace
