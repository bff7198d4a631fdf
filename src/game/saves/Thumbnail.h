// A save's thumbnail: the screen as it was when saved, shrunk and kept as a
// PNG file beside the slot's file, replaced durably like the slot itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Kura {

struct Thumbnail {
    // Small enough to write well inside a save's time budget, large enough to
    // recognise the scene; the canvas's 3:2 shape.
    static constexpr int32_t WIDTH = 160;
    static constexpr int32_t HEIGHT = 107;
    static constexpr int32_t BYTES_PER_PIXEL = 4;

    std::vector<unsigned char> bgra; // WIDTH x HEIGHT, rows bottom first; empty for none

    // Each thumbnail pixel the average of the frame pixels it covers; the
    // frame as read back from the GL (blue, green, red, alpha; rows bottom first).
    static Thumbnail Shrink(const unsigned char* frame, int32_t width, int32_t height);
    bool empty() const { return bgra.empty(); }
    // The PNG file's bytes; empty when it cannot be encoded.
    std::string encodePng() const;
    // Durably, or not at all; false when the file could not be written.
    bool write(const std::string& path) const;
};

} // namespace Kura
