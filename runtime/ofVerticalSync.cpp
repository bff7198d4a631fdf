// Vertical sync on GLX. The extension string is checked before any entry point is
// used: glXGetProcAddress hands out pointers for extensions the server lacks, and
// calling one of those (seen with the MESA variant under a virtual X server) crashes.
#include "ofVerticalSync.h"

#include "ofLog.h"

#include <GL/glx.h>
#include <cstring>

namespace {

// Whole-word match in the space-separated extension list.
bool hasExtension(const char* list, const char* name) {
    if (list == nullptr) return false;
    const size_t len = std::strlen(name);
    for (const char* p = std::strstr(list, name); p != nullptr; p = std::strstr(p + 1, name)) {
        const bool startsWord = p == list || p[-1] == ' ';
        const bool endsWord = p[len] == ' ' || p[len] == '\0';
        if (startsWord && endsWord) return true;
    }
    return false;
}

template <typename Fn> Fn procAddress(const char* name) {
    return reinterpret_cast<Fn>(glXGetProcAddress(reinterpret_cast<const GLubyte*>(name)));
}

} // namespace

bool ofApplyVerticalSync(bool on) {
    Display* display = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr) return false;
    const char* list = glXQueryExtensionsString(display, DefaultScreen(display));
    const int interval = on ? 1 : 0;

    using SwapEXT = void (*)(Display*, GLXDrawable, int);
    using SwapInt = int (*)(int);
    if (hasExtension(list, "GLX_EXT_swap_control")) {
        if (auto fn = procAddress<SwapEXT>("glXSwapIntervalEXT")) {
            fn(display, drawable, interval);
            return true;
        }
    }
    if (hasExtension(list, "GLX_MESA_swap_control")) {
        if (auto fn = procAddress<SwapInt>("glXSwapIntervalMESA")) return fn(interval) == 0;
    }
    // The SGI form cannot turn syncing off (an interval of 0 is an error there).
    if (on && hasExtension(list, "GLX_SGI_swap_control")) {
        if (auto fn = procAddress<SwapInt>("glXSwapIntervalSGI")) return fn(interval) == 0;
    }
    ofLog(OF_LOG_NOTICE, "vertical sync is not offered by this driver");
    return false;
}
