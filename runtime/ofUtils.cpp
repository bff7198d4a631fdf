// Data paths, power-of-two arithmetic and the process clock.
#include "ofUtils.h"

#include <chrono>

namespace {

std::string g_dataRoot = "data/";

std::chrono::steady_clock::time_point startTime() {
    static const auto start = std::chrono::steady_clock::now();
    return start;
}

} // namespace

void ofSetDataPathRoot(const std::string& root) {
    g_dataRoot = root;
}

std::string ofToDataPath(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    return g_dataRoot + path;
}

// Smears the highest set bit of v - 1 downwards, so adding one gives the next
// power of two; sizes above 2^30 have none in an int and are left as they are.
int ofNextPow2(int v) {
    if (v <= 0 || v > (1 << 30)) return v <= 0 ? 0 : v;
    unsigned u = static_cast<unsigned>(v) - 1;
    u |= u >> 1;
    u |= u >> 2;
    u |= u >> 4;
    u |= u >> 8;
    u |= u >> 16;
    return static_cast<int>(u + 1);
}

bool ofIsPow2(int v) {
    return v >= 0 && (v & (v - 1)) == 0;
}

float ofGetElapsedTimef() {
    std::chrono::duration<float> since = std::chrono::steady_clock::now() - startTime();
    return since.count();
}
