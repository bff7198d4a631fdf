// Records key and mouse events. The window system may report a key's release
// with another code than its press (a letter pressed with Shift and let go after
// it: 65 then 97; Ctrl+C: 3 then 99), so a release clears every case and
// control form of the key; otherwise the key would read as held for ever.
#include "of/InputState.h"

#include <array>

namespace Kura {

InputState* g_pInput = nullptr;

namespace {

constexpr int LETTER_NUM = 26;
constexpr int FIRST_CONTROL_CODE = 1; // Ctrl+A; Ctrl+Z is 26

// The codes one letter key can arrive as: lower case, upper case, control code.
// Any other key has only its own code (the rest of the array is -1).
std::array<int, 3> KeyForms(int key) {
    int letter = -1;
    if (key >= 'a' && key < 'a' + LETTER_NUM)
        letter = key - 'a';
    else if (key >= 'A' && key < 'A' + LETTER_NUM)
        letter = key - 'A';
    else if (key >= FIRST_CONTROL_CODE && key < FIRST_CONTROL_CODE + LETTER_NUM)
        letter = key - FIRST_CONTROL_CODE;
    if (letter < 0) return {key, -1, -1};
    return {'a' + letter, 'A' + letter, FIRST_CONTROL_CODE + letter};
}

bool IsMouseButton(int button) {
    return button >= 0 && button < InputState::MOUSE_BUTTON_NUM;
}

bool IsAt(const MousePoint& point, int x, int y) {
    return point.x == static_cast<float>(x) && point.y == static_cast<float>(y);
}

} // namespace

InputState::InputState(int windowWidth, int windowHeight)
    : m_WindowWidth(windowWidth), m_WindowHeight(windowHeight) {}

void InputState::OnKeyPressed(int key) {
    if (!IsKeyDown(key)) ++m_Presses[key];
    m_Keys[key] = true;
}

void InputState::OnKeyPressedAgain(int key) {
    ++m_Presses[key];
    m_Keys[key] = true;
}

int InputState::TakePresses(int key) {
    auto entry = m_Presses.find(key);
    if (entry == m_Presses.end()) return 0;
    const int presses = entry->second;
    m_Presses.erase(entry);
    return presses;
}

void InputState::OnKeyReleased(int key) {
    m_Keys[key] = false;
    for (int form : KeyForms(key)) {
        auto entry = m_Keys.find(form);
        if (entry != m_Keys.end()) entry->second = false;
    }
}

// A move report at the position already stored empties the key map, so no key
// that reads as held survives it.
void InputState::OnMouseMoved(int x, int y) {
    if (IsAt(m_MousePos, x, y)) {
        m_Keys.clear();
        return;
    }
    m_MousePos.x = static_cast<float>(x);
    m_MousePos.y = static_cast<float>(y);
}

void InputState::OnMouseDragged(int x, int y, int button) {
    if (IsMouseButton(button) && IsAt(m_MousePos, x, y)) m_ButtonDown[button] = false;
}

void InputState::OnMousePressed(int, int, int button) {
    if (IsMouseButton(button)) m_ButtonDown[button] = true;
}

void InputState::OnMouseReleased(int, int, int button) {
    if (IsMouseButton(button)) m_ButtonDown[button] = false;
}

void InputState::OnMouseScrolled(int steps) {
    m_WheelSteps += steps;
}

int InputState::TakeWheelSteps() {
    const int steps = m_WheelSteps;
    m_WheelSteps = 0;
    return steps;
}

void InputState::SetWindowSize(int width, int height) {
    m_WindowWidth = width;
    m_WindowHeight = height;
}

bool InputState::IsKeyDown(int key) const {
    auto entry = m_Keys.find(key);
    return entry != m_Keys.end() && entry->second;
}

bool InputState::IsButtonDown(int button) const {
    return IsMouseButton(button) && m_ButtonDown[button];
}

} // namespace Kura
