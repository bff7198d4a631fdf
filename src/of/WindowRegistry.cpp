// The class registries of text and character windows: the game appends each
// window it creates and picks the current one by index. The windows are the
// game's; a registry only points at them.
#include "of/Window.h"

#include "util/AssertReport.h"

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\of\\Window";

// The window at index, or null, reported, when the index names none: callers
// must check, since the game may have cleared its windows.
template <typename T>
T* WindowAt(const std::vector<T*>& registry, int32_t index, const char* function, int32_t line) {
    const bool named = index >= 0 && static_cast<size_t>(index) < registry.size();
    if (!KURA_CHECK(named, "0", SOURCE_NAME, function, line)) return nullptr;
    return registry[index];
}

} // namespace

void TextWindow::AddToRegistry(TextWindow* window) {
    m_Registry.push_back(window);
}

void TextWindow::ClearRegistry() {
    m_Registry.clear();
}

TextWindow* TextWindow::getNowWnd() {
    return WindowAt(m_Registry, m_NowIndex, "Kura::TextWindow::getNowWnd", 175);
}

void CharacterWindow::AddToRegistry(CharacterWindow* window) {
    m_Registry.push_back(window);
}

void CharacterWindow::ClearRegistry() {
    m_Registry.clear();
}

CharacterWindow* CharacterWindow::getNowWnd() {
    return WindowAt(m_Registry, m_NowIndex, "Kura::CharacterWindow::getNowWnd", 323);
}

} // namespace Kura
