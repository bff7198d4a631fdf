// Routes the window's key and mouse events to the input state, which the input
// controller samples once per frame. Pointer positions go in canvas units, so
// menus hit-test in the units they draw in. A press let go again before the
// controller sampled it would be lost; its release waits until after the
// frame's update instead.
#pragma once

#include "game/canvas/Canvas.h"

#include <vector>

namespace Kura {

class InputState;

class InputRouter {
public:
    static constexpr int MOUSE_BUTTON_NUM = 3;

    explicit InputRouter(InputState& input) : m_Input(input) {}

    void SetTransform(const Canvas::Transform& transform) { m_Transform = transform; }

    void KeyPressed(int key);
    void KeyReleased(int key);
    void MouseMoved(int x, int y);
    void MouseDragged(int x, int y, int button);
    void MousePressed(int x, int y, int button);
    void MouseReleased(int x, int y, int button);
    void MouseScrolled(int steps);

    // After the frame's update, in which the controller saw every press.
    void AfterUpdate();

private:
    InputState& m_Input;
    Canvas::Transform m_Transform;
    int m_LastX = 0; // window pixels of the position the input state holds
    int m_LastY = 0;
    bool m_KeyPressedSinceUpdate = false;
    std::vector<int> m_PendingKeyReleases; // in the order they came
    bool m_ButtonPressedSinceUpdate[MOUSE_BUTTON_NUM] = {};
    bool m_PendingButtonRelease[MOUSE_BUTTON_NUM] = {};
};

} // namespace Kura
