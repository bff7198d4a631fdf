// One request at a time: the pixels are read into a buffer kept between
// requests, so a frame read costs no allocation after the first.
#include "ofFrameReadback.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <vector>

namespace {

constexpr int BYTES_PER_PIXEL = 4;

ofFrameReadback g_pending;
std::vector<unsigned char> g_pixels;

} // namespace

void ofReadNextFrame(ofFrameReadback callback) {
    g_pending = std::move(callback);
}

bool ofFrameReadbackPending() {
    return static_cast<bool>(g_pending);
}

void ofRunFrameReadback(int width, int height) {
    if (!g_pending || width <= 0 || height <= 0) return;
    const ofFrameReadback callback = std::move(g_pending);
    g_pending = nullptr;
    g_pixels.resize(static_cast<size_t>(width) * height * BYTES_PER_PIXEL);
    // Rows are packed without padding, as the callback reads them.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, g_pixels.data());
    callback(g_pixels.data(), width, height);
}
