// The raw keyboard and mouse state: the window's event callbacks write it as
// events arrive, the input controller reads it once per frame. Also holds the
// window size the pointer position is measured against. Needs nothing else.
#pragma once

#include <cstddef>
#include <map>

namespace Kura {

struct MousePoint {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

class InputState {
public:
    // Left, middle and right; other button numbers are ignored.
    static constexpr int MOUSE_BUTTON_NUM = 3;

    InputState(int windowWidth, int windowHeight);

    // One writer per window callback.
    void OnKeyPressed(int key);
    void OnKeyReleased(int key);
    void OnMouseMoved(int x, int y);
    void OnMouseDragged(int x, int y, int button);
    void OnMousePressed(int x, int y, int button);
    void OnMouseReleased(int x, int y, int button);
    void OnMouseScrolled(int steps); // above 0 away from the player
    void SetWindowSize(int width, int height);

    bool IsKeyDown(int key) const; // a key never seen reads false
    bool IsButtonDown(int button) const;
    // The wheel steps since the last call, each taken once: a step is an
    // event, not a state, so no frame may see it twice.
    int TakeWheelSteps();
    // A press of a key that the router holds down for the frame because its
    // release came first: the key stays down, and the press still counts.
    void OnKeyPressedAgain(int key);
    // The presses of key (from up, or again after a release) since the last
    // call or the last ForgetPresses, each taken once: two taps within one
    // slow frame are two presses, and a held key's repeats are none.
    int TakePresses(int key);
    // Presses no one took in the frame they came in are not carried into
    // the next.
    void ForgetPresses() { m_Presses.clear(); }
    const MousePoint& GetMousePosition() const { return m_MousePos; }
    int GetWindowWidth() const { return m_WindowWidth; }
    int GetWindowHeight() const { return m_WindowHeight; }
    size_t GetKeyEntryCount() const { return m_Keys.size(); }

private:
    bool m_ButtonDown[MOUSE_BUTTON_NUM] = {};
    MousePoint m_MousePos;
    std::map<int, bool> m_Keys; // an entry stays, false, after its key is let go
    int m_WheelSteps = 0;
    std::map<int, int> m_Presses;
    int m_WindowWidth;
    int m_WindowHeight;
};

// The one input state of the process; created and deleted by the application.
extern InputState* g_pInput;

} // namespace Kura
