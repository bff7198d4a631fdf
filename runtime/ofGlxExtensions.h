// GLX extensions of the current context's display. An entry point may be used
// only once its extension is listed: glXGetProcAddress hands out pointers for
// extensions the server lacks, and calling one of those (seen with the MESA
// swap control under a virtual X server) crashes.
#pragma once

// Whole-word match in the extension list; false without a current context.
bool ofGlxHasExtension(const char* name);

// The entry point, or null when its extension is not listed.
void* ofGlxProcAddress(const char* extension, const char* function);
