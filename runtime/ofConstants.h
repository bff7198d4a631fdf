// Numbers shared by the runtime and its callers: window modes, log levels, image
// pixel types, key codes and mouse buttons. No platform headers come in here.
#pragma once

enum ofWindowMode { OF_WINDOW = 0, OF_FULLSCREEN = 1, OF_GAME_MODE = 2 };

enum ofLogLevel {
    OF_LOG_VERBOSE = 0,
    OF_LOG_NOTICE = 1,
    OF_LOG_WARNING = 2,
    OF_LOG_ERROR = 3,
    OF_LOG_FATAL_ERROR = 4,
};

enum ofImageType { OF_IMAGE_GRAYSCALE = 0, OF_IMAGE_COLOR = 1, OF_IMAGE_COLOR_ALPHA = 2 };

// Special keys arrive as the window system's special-key code plus this offset,
// so they never collide with character codes 0 to 255.
constexpr int OF_KEY_MODIFIER = 0x100;
constexpr int OF_KEY_ESC = 27;
constexpr int OF_KEY_RETURN = 13;
constexpr int OF_KEY_F1 = 1 + OF_KEY_MODIFIER;
constexpr int OF_KEY_LEFT = 100 + OF_KEY_MODIFIER;
constexpr int OF_KEY_UP = 101 + OF_KEY_MODIFIER;
constexpr int OF_KEY_RIGHT = 102 + OF_KEY_MODIFIER;
constexpr int OF_KEY_DOWN = 103 + OF_KEY_MODIFIER;
constexpr int OF_KEY_PAGE_UP = 104 + OF_KEY_MODIFIER;
constexpr int OF_KEY_PAGE_DOWN = 105 + OF_KEY_MODIFIER;
constexpr int OF_KEY_HOME = 106 + OF_KEY_MODIFIER;
constexpr int OF_KEY_END = 107 + OF_KEY_MODIFIER;

constexpr int OF_MOUSE_LEFT = 0;
constexpr int OF_MOUSE_MIDDLE = 1;
constexpr int OF_MOUSE_RIGHT = 2;
