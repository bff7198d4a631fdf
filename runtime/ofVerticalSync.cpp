// Vertical sync through whichever GLX swap-control extension the driver lists.
#include "ofVerticalSync.h"

#include "ofGlxExtensions.h"
#include "ofLog.h"

#include <GL/glx.h>

bool ofApplyVerticalSync(bool on) {
    Display* display = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr) return false;
    const int interval = on ? 1 : 0;

    using SwapEXT = void (*)(Display*, GLXDrawable, int);
    using SwapInt = int (*)(int);
    if (auto fn = reinterpret_cast<SwapEXT>(
            ofGlxProcAddress("GLX_EXT_swap_control", "glXSwapIntervalEXT"))) {
        fn(display, drawable, interval);
        return true;
    }
    if (auto fn = reinterpret_cast<SwapInt>(
            ofGlxProcAddress("GLX_MESA_swap_control", "glXSwapIntervalMESA")))
        return fn(interval) == 0;
    // The SGI form cannot turn syncing off (an interval of 0 is an error there).
    if (on) {
        if (auto fn = reinterpret_cast<SwapInt>(
                ofGlxProcAddress("GLX_SGI_swap_control", "glXSwapIntervalSGI")))
            return fn(interval) == 0;
    }
    ofLog(OF_LOG_NOTICE, "vertical sync is not offered by this driver");
    return false;
}
