// The window base: placement, visibility and flips, and the settings lookup the
// picture windows share.
#include "of/Window.h"

#include "util/AssertReport.h"

namespace Kura {

const WindowSettings* Window::Settings(const char* function, int32_t line) {
    KURA_CHECK(m_pSettings != nullptr, "m_pSettings", "src\\of\\Window", function, line);
    return m_pSettings;
}

void Window::SetPos(int32_t x, int32_t y) {
    m_Rect.x = x;
    m_Rect.y = y;
}

void Window::SetSize(int32_t w, int32_t h) {
    m_Rect.w = w;
    m_Rect.h = h;
}

void Window::SetRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    m_Rect = {x, y, w, h};
}

void Window::SetFlip(int32_t flipX, int32_t flipY) {
    m_FlipX = flipX != 0;
    m_FlipY = flipY != 0;
}

} // namespace Kura
