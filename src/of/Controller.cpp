// Per-frame button states computed from the raw input state (g_pInput).
// Keys run up -> pressed -> held -> released -> up; mouse buttons skip released
// and drop to up at once when the pointer leaves the window.
#include "of/Controller.h"

#include "of/InputState.h"
#include "util/AssertReport.h"

#include <algorithm>
#include <cstdint>

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\of\\Controller";

// Input-state key codes of device 0's logical buttons, in Key order.
constexpr uint16_t DEVICE0_KEY_CODES[Controller::KEY_NUM] = {
    13, 'w', 357, 359, 356, 358, 'z', 'x', 's', ' ', ',', '.', 'b', 'k', '/', '\\', 'q'};

// A code of 0 binds no key. Ctrl+Space does arrive as key 0, so it must never be
// looked up, or the unbound device would read down.
constexpr uint16_t NO_KEY = 0;

constexpr int LEFT_MOUSE_BUTTON = 0;
constexpr int RIGHT_MOUSE_BUTTON = 2;

Controller* g_pInstance = nullptr;

struct MouseButton {
    int state = Controller::STATE_UP;
    int holdCount = 0;
    // Set when the pointer was outside with the button down: the button must come
    // up before it can be pressed again, or re-entering the window while holding
    // it would read as a fresh click.
    bool mustLetGo = false;
};

} // namespace

struct Controller::Impl {
    const InputState* m_pID;
    int m_HoldInterval;
    int m_KeyState[DEVICE_NUM][KEY_NUM] = {};
    int m_KeyHoldCount[DEVICE_NUM][KEY_NUM] = {};
    uint16_t m_KeyCode[DEVICE_NUM][KEY_NUM] = {};
    MouseButton m_LMouse;
    MouseButton m_RMouse;
    int m_MouseX = 0;
    int m_MouseY = 0;
    bool m_MouseMoved = false;

    explicit Impl(int holdInterval) : m_pID(g_pInput), m_HoldInterval(holdInterval) {
        KURA_CHECK(m_pID != nullptr, "g_pInput", SOURCE_NAME, "Kura::Controller::Impl::Impl",
                   __LINE__);
        std::copy(std::begin(DEVICE0_KEY_CODES), std::end(DEVICE0_KEY_CODES), m_KeyCode[0]);
    }

    bool IsKeyCodeDown(int key, int device) const {
        uint16_t code = m_KeyCode[device][key];
        return m_pID != nullptr && code != NO_KEY && m_pID->IsKeyDown(code);
    }

    bool IsPointerInside() const {
        if (m_pID == nullptr) return false;
        int x = static_cast<int>(m_pID->GetMousePosition().x);
        int y = static_cast<int>(m_pID->GetMousePosition().y);
        return x >= 0 && x <= m_pID->GetWindowWidth() && y >= 0 && y <= m_pID->GetWindowHeight();
    }

    void UpdateKey(int key, int device) {
        int& state = m_KeyState[device][key];
        int& count = m_KeyHoldCount[device][key];
        switch (state) {
        case STATE_UP:
            if (IsKeyCodeDown(key, device)) state = STATE_PRESSED;
            break;
        case STATE_PRESSED: // held from the next frame even after a one-frame tap
            state = STATE_HELD;
            count = 1;
            break;
        case STATE_HELD:
            ++count;
            if (!IsKeyCodeDown(key, device)) {
                state = STATE_RELEASED;
                count = 0;
            }
            break;
        default:
            state = STATE_UP;
            break;
        }
    }

    void UpdateMousePosition() {
        if (m_pID == nullptr) return;
        int oldX = m_MouseX, oldY = m_MouseY;
        int width = static_cast<int16_t>(m_pID->GetWindowWidth());
        int height = static_cast<int16_t>(m_pID->GetWindowHeight());
        m_MouseX = std::min(std::max(0, static_cast<int>(m_pID->GetMousePosition().x)), width);
        m_MouseY = std::min(std::max(0, static_cast<int>(m_pID->GetMousePosition().y)), height);
        m_MouseMoved = m_MouseX != oldX || m_MouseY != oldY;
    }

    bool IsMouseButtonDown(int inputButton) const {
        return m_pID != nullptr && m_pID->IsButtonDown(inputButton);
    }

    void LetGoOutside(MouseButton& button, int inputButton) {
        button.state = STATE_UP;
        if (IsMouseButtonDown(inputButton)) button.mustLetGo = true;
    }

    void UpdateMouseButton(MouseButton& button, int inputButton, bool inside) {
        bool down = IsMouseButtonDown(inputButton);
        if (!down) button.mustLetGo = false;
        switch (button.state) {
        case STATE_UP:
            if (down && inside && !button.mustLetGo) button.state = STATE_PRESSED;
            break;
        case STATE_PRESSED:
            button.state = down ? STATE_HELD : STATE_UP;
            if (down) button.holdCount = 1;
            break;
        case STATE_HELD:
            ++button.holdCount;
            if (!down) button.state = STATE_UP;
            break;
        default:
            button.state = STATE_UP;
            break;
        }
    }

    bool CheckButton(int key, int device, const char* function) const {
        return KURA_CHECK(key >= 0 && key < KEY_NUM && device >= 0 && device < DEVICE_NUM,
                          "key>=0 && key<KEY_NUM && device>=0 && device<DEVICE_NUM", SOURCE_NAME,
                          function, __LINE__);
    }

    bool CheckInterval(const char* function) const {
        return KURA_CHECK(m_HoldInterval > 0, "m_HoldInterval>0", SOURCE_NAME, function, __LINE__);
    }

    bool IsHoldOf(int state, int count, const char* function) const {
        return CheckInterval(function) && state == STATE_HELD && count % m_HoldInterval == 0;
    }

    int HoldCountOf(int count, const char* function) const {
        return CheckInterval(function) ? count / m_HoldInterval : 0;
    }
};

Controller::Controller(int holdInterval) : m_pImpl(std::make_unique<Impl>(holdInterval)) {}

Controller::~Controller() = default;

void Controller::Create(int holdInterval) {
    if (g_pInstance == nullptr) g_pInstance = new Controller(holdInterval);
}

void Controller::Destroy() {
    delete g_pInstance;
    g_pInstance = nullptr;
}

Controller* Controller::Get() {
    KURA_CHECK(g_pInstance != nullptr, "g_pInstance", SOURCE_NAME, "Kura::Controller::Get",
               __LINE__);
    return g_pInstance;
}

// Pointer first: a pointer outside the window lets go of both mouse buttons
// before they are stepped, so a press outside never registers.
void Controller::Update() {
    Impl& impl = *m_pImpl;
    bool inside = impl.IsPointerInside();
    if (!inside) {
        impl.LetGoOutside(impl.m_LMouse, LEFT_MOUSE_BUTTON);
        impl.LetGoOutside(impl.m_RMouse, RIGHT_MOUSE_BUTTON);
    }
    for (int device = 0; device < DEVICE_NUM; ++device)
        for (int key = 0; key < KEY_NUM; ++key)
            impl.UpdateKey(key, device);
    impl.UpdateMousePosition();
    impl.UpdateMouseButton(impl.m_LMouse, LEFT_MOUSE_BUTTON, inside);
    impl.UpdateMouseButton(impl.m_RMouse, RIGHT_MOUSE_BUTTON, inside);
}

bool Controller::IsDeviceInput(int key, int device) const {
    if (!m_pImpl->CheckButton(key, device, "Kura::Controller::IsDeviceInput")) return false;
    if (!KURA_CHECK(m_pImpl->m_pID != nullptr, "m_pID", SOURCE_NAME,
                    "Kura::Controller::IsDeviceInput", __LINE__))
        return false;
    return m_pImpl->IsKeyCodeDown(key, device);
}

bool Controller::IsDown(int key, int device) const {
    if (!m_pImpl->CheckButton(key, device, "Kura::Controller::IsDown")) return false;
    int state = m_pImpl->m_KeyState[device][key];
    return state == STATE_PRESSED || state == STATE_HELD;
}

bool Controller::IsPressed(int key, int device) const {
    return m_pImpl->CheckButton(key, device, "Kura::Controller::IsPressed") &&
           m_pImpl->m_KeyState[device][key] == STATE_PRESSED;
}

bool Controller::IsReleased(int key, int device) const {
    return m_pImpl->CheckButton(key, device, "Kura::Controller::IsReleased") &&
           m_pImpl->m_KeyState[device][key] == STATE_RELEASED;
}

bool Controller::IsHold(int key, int device) const {
    const char* function = "Kura::Controller::IsHold";
    return m_pImpl->CheckButton(key, device, function) &&
           m_pImpl->IsHoldOf(m_pImpl->m_KeyState[device][key], m_pImpl->m_KeyHoldCount[device][key],
                             function);
}

int Controller::GetHoldCount(int key, int device) const {
    const char* function = "Kura::Controller::GetHoldCount";
    if (!m_pImpl->CheckButton(key, device, function)) return 0;
    return m_pImpl->HoldCountOf(m_pImpl->m_KeyHoldCount[device][key], function);
}

bool Controller::IsRepeat(int key, int n, int device) const {
    if (!m_pImpl->CheckButton(key, device, "Kura::Controller::IsRepeat")) return false;
    return IsPressed(key, device) || (IsHold(key, device) && GetHoldCount(key, device) > n);
}

bool Controller::IsLMouseDown() const {
    return m_pImpl->m_LMouse.state == STATE_PRESSED || m_pImpl->m_LMouse.state == STATE_HELD;
}

bool Controller::IsLMousePressed() const {
    return m_pImpl->m_LMouse.state == STATE_PRESSED;
}

bool Controller::IsLMouseReleased() const {
    return m_pImpl->m_LMouse.state == STATE_RELEASED;
}

bool Controller::IsLMouseHold() const {
    return m_pImpl->IsHoldOf(m_pImpl->m_LMouse.state, m_pImpl->m_LMouse.holdCount,
                             "Kura::Controller::IsLMouseHold");
}

int Controller::GetLMouseHoldCount() const {
    return m_pImpl->HoldCountOf(m_pImpl->m_LMouse.holdCount,
                                "Kura::Controller::GetLMouseHoldCount");
}

bool Controller::IsLMouseRepeat(int n) const {
    return IsLMousePressed() || (IsLMouseHold() && GetLMouseHoldCount() > n);
}

bool Controller::IsRMouseDown() const {
    return m_pImpl->m_RMouse.state == STATE_PRESSED || m_pImpl->m_RMouse.state == STATE_HELD;
}

bool Controller::IsRMousePressed() const {
    return m_pImpl->m_RMouse.state == STATE_PRESSED;
}

bool Controller::IsRMouseReleased() const {
    return m_pImpl->m_RMouse.state == STATE_RELEASED;
}

bool Controller::IsRMouseHold() const {
    return m_pImpl->IsHoldOf(m_pImpl->m_RMouse.state, m_pImpl->m_RMouse.holdCount,
                             "Kura::Controller::IsRMouseHold");
}

int Controller::GetRMouseHoldCount() const {
    return m_pImpl->HoldCountOf(m_pImpl->m_RMouse.holdCount,
                                "Kura::Controller::GetRMouseHoldCount");
}

bool Controller::IsRMouseRepeat(int n) const {
    return IsRMousePressed() || (IsRMouseHold() && GetRMouseHoldCount() > n);
}

int Controller::GetMouseX() const {
    return m_pImpl->m_MouseX;
}

int Controller::GetMouseY() const {
    return m_pImpl->m_MouseY;
}

bool Controller::IsMouseMoved() const {
    return m_pImpl->m_MouseMoved;
}

} // namespace Kura
