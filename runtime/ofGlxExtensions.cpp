// Looking up GLX extensions in the display's list.
#include "ofGlxExtensions.h"

#include <GL/glx.h>
#include <cstring>

namespace {

bool listHas(const char* list, const char* name) {
    if (list == nullptr) return false;
    const size_t len = std::strlen(name);
    for (const char* p = std::strstr(list, name); p != nullptr; p = std::strstr(p + 1, name)) {
        const bool startsWord = p == list || p[-1] == ' ';
        const bool endsWord = p[len] == ' ' || p[len] == '\0';
        if (startsWord && endsWord) return true;
    }
    return false;
}

} // namespace

bool ofGlxHasExtension(const char* name) {
    Display* display = glXGetCurrentDisplay();
    if (display == nullptr) return false;
    return listHas(glXQueryExtensionsString(display, DefaultScreen(display)), name);
}

void* ofGlxProcAddress(const char* extension, const char* function) {
    if (!ofGlxHasExtension(extension)) return nullptr;
    return reinterpret_cast<void*>(glXGetProcAddress(reinterpret_cast<const GLubyte*>(function)));
}
