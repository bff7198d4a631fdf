// The keys of reading comfort, as the window reports them. None is one the
// story's own input reads: Z, X, the arrows and Escape keep their meaning.
#pragma once

#include <cstdint>

namespace Kura::ReadingKeys {

inline constexpr int32_t TAB = 9;                 // skip mode on or off
inline constexpr int32_t CTRL_LEFT = 0x100 + 114; // skips while held
inline constexpr int32_t CTRL_RIGHT = 0x100 + 115;
inline constexpr int32_t AUTO_LOWER = 'a'; // auto mode on or off
inline constexpr int32_t AUTO_UPPER = 'A';
inline constexpr int32_t HIDE_LOWER = 'h'; // hides the message until the next key or click
inline constexpr int32_t HIDE_UPPER = 'H';
inline constexpr int32_t MIDDLE_BUTTON = 1; // the mouse button that hides the message too

} // namespace Kura::ReadingKeys
