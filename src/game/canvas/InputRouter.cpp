// Key releases wait while any press of the frame is unsampled: a key may be
// let go under another code than it was pressed with (Shift+A goes down as 65
// and up as 97), so a release cannot be matched to its press by code.
#include "game/canvas/InputRouter.h"

#include "of/InputState.h"

#include <algorithm>

namespace Kura {

namespace {

bool IsButton(int button) {
    return button >= 0 && button < InputRouter::MOUSE_BUTTON_NUM;
}

} // namespace

void InputRouter::KeyPressed(int key) {
    // Pressed again before the update: the key is down, whatever came before,
    // and this is a press of its own.
    const bool again = std::erase(m_PendingKeyReleases, key) > 0;
    m_KeyPressedSinceUpdate = true;
    if (again)
        m_Input.OnKeyPressedAgain(key);
    else
        m_Input.OnKeyPressed(key);
}

void InputRouter::KeyReleased(int key) {
    if (m_KeyPressedSinceUpdate)
        m_PendingKeyReleases.push_back(key);
    else
        m_Input.OnKeyReleased(key);
}

// A report at the position last stored empties the key map (the input state
// does that when given its own stored position). A new pixel on the stored
// canvas unit changes nothing, as the position stays the same.
void InputRouter::MouseMoved(int x, int y) {
    const MousePoint& stored = m_Input.GetMousePosition();
    if (x == m_LastX && y == m_LastY) {
        m_Input.OnMouseMoved(static_cast<int>(stored.x), static_cast<int>(stored.y));
        return;
    }
    m_LastX = x;
    m_LastY = y;
    const int cx = Canvas::ToCanvasX(m_Transform, x);
    const int cy = Canvas::ToCanvasY(m_Transform, y);
    if (cx == static_cast<int>(stored.x) && cy == static_cast<int>(stored.y)) return;
    m_Input.OnMouseMoved(cx, cy);
}

// A drag at the stored position lets the button go; drags never move it.
void InputRouter::MouseDragged(int x, int y, int button) {
    if (x != m_LastX || y != m_LastY) return;
    const MousePoint& stored = m_Input.GetMousePosition();
    m_Input.OnMouseDragged(static_cast<int>(stored.x), static_cast<int>(stored.y), button);
}

void InputRouter::MousePressed(int x, int y, int button) {
    if (IsButton(button)) {
        m_ButtonPressedSinceUpdate[button] = true;
        m_PendingButtonRelease[button] = false;
    }
    m_Input.OnMousePressed(Canvas::ToCanvasX(m_Transform, x), Canvas::ToCanvasY(m_Transform, y),
                           button);
}

void InputRouter::MouseReleased(int x, int y, int button) {
    if (IsButton(button) && m_ButtonPressedSinceUpdate[button]) {
        m_PendingButtonRelease[button] = true;
        return;
    }
    m_Input.OnMouseReleased(Canvas::ToCanvasX(m_Transform, x), Canvas::ToCanvasY(m_Transform, y),
                            button);
}

void InputRouter::MouseScrolled(int steps) {
    m_Input.OnMouseScrolled(steps);
}

void InputRouter::AfterUpdate() {
    m_Input.ForgetPresses();
    m_KeyPressedSinceUpdate = false;
    for (int key : m_PendingKeyReleases)
        m_Input.OnKeyReleased(key);
    m_PendingKeyReleases.clear();
    const MousePoint& at = m_Input.GetMousePosition();
    for (int button = 0; button < MOUSE_BUTTON_NUM; ++button) {
        m_ButtonPressedSinceUpdate[button] = false;
        if (!m_PendingButtonRelease[button]) continue;
        m_PendingButtonRelease[button] = false;
        m_Input.OnMouseReleased(static_cast<int>(at.x), static_cast<int>(at.y), button);
    }
}

} // namespace Kura
