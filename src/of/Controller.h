// Turns the raw input state into per-frame button states for the 17 logical
// buttons of two devices and the left and right mouse buttons: pressed this
// frame, held (counted in hold intervals), released. Reads g_pInput; one instance.
#pragma once

#include <memory>

namespace Kura {

class Controller {
public:
    // Logical buttons; device 1 has no keys bound and always reads up.
    enum Key : int {
        KEY_RETURN,
        KEY_W,
        KEY_UP,
        KEY_DOWN,
        KEY_LEFT,
        KEY_RIGHT,
        KEY_Z,
        KEY_X,
        KEY_S,
        KEY_SPACE,
        KEY_COMMA,
        KEY_PERIOD,
        KEY_B,
        KEY_K,
        KEY_SLASH,
        KEY_BACKSLASH,
        KEY_Q,
        KEY_NUM
    };
    static constexpr int DEVICE_NUM = 2;

    // Per-frame state of a button.
    enum State : int { STATE_UP, STATE_PRESSED, STATE_HELD, STATE_RELEASED };

    static void Create(int holdInterval); // no-op when the instance exists
    static void Destroy();
    static Controller* Get();

    void Update(); // once per frame

    bool IsDeviceInput(int key, int device = 0) const; // raw, right now
    bool IsDown(int key, int device = 0) const;        // pressed or held
    bool IsPressed(int key, int device = 0) const;
    bool IsReleased(int key, int device = 0) const;
    bool IsHold(int key, int device = 0) const;          // on each full hold interval
    int GetHoldCount(int key, int device = 0) const;     // hold intervals so far
    bool IsRepeat(int key, int n, int device = 0) const; // pressed, or hold past n intervals

    // Mouse buttons never read released: they go from held straight to up.
    bool IsLMouseDown() const;
    bool IsLMousePressed() const;
    bool IsLMouseReleased() const;
    bool IsLMouseHold() const;
    int GetLMouseHoldCount() const;
    bool IsLMouseRepeat(int n) const;
    bool IsRMouseDown() const;
    bool IsRMousePressed() const;
    bool IsRMouseReleased() const;
    bool IsRMouseHold() const;
    int GetRMouseHoldCount() const;
    bool IsRMouseRepeat(int n) const;

    int GetMouseX() const; // clamped to the window
    int GetMouseY() const;
    bool IsMouseMoved() const; // the clamped position changed in the last update

private:
    explicit Controller(int holdInterval);
    ~Controller();

    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

} // namespace Kura
