// The runtime log. One line per message on standard output, flushed at once so
// that the lines keep their place among other programs' output.
#include "ofLog.h"

#include <cstdarg>
#include <cstdio>

namespace {

ofLogLevel g_threshold = OF_LOG_WARNING;

const char* prefixOf(ofLogLevel level) {
    switch (level) {
    case OF_LOG_VERBOSE:
        return "OF_VERBOSE: ";
    case OF_LOG_NOTICE:
        return "OF_NOTICE: ";
    case OF_LOG_WARNING:
        return "OF_WARNING: ";
    case OF_LOG_ERROR:
        return "OF_ERROR: ";
    case OF_LOG_FATAL_ERROR:
        return "OF_FATAL_ERROR: ";
    }
    return "";
}

} // namespace

void ofSetLogLevel(ofLogLevel threshold) {
    g_threshold = threshold;
}

ofLogLevel ofGetLogLevel() {
    return g_threshold;
}

void ofLog(ofLogLevel level, const char* format, ...) {
    if (level < g_threshold) return;
    std::fputs(prefixOf(level), stdout);
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
