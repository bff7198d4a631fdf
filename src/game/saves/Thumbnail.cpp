// Shrinking averages whole boxes of frame pixels: the frame is up to a few
// times larger than the thumbnail, so nearest pixels would drop text strokes.
#include "game/saves/Thumbnail.h"

#include "util/DurableFile.h"

#include <FreeImage.h>

#include <algorithm>

namespace Kura {

namespace {

constexpr unsigned char OPAQUE = 255;
constexpr int32_t BITS_PER_PIXEL = 32;
constexpr int32_t COLOUR_CHANNELS = 3; // blue, green, red; alpha is set, not averaged

// Frame columns (or rows) [first, last) that thumbnail column (or row) i covers.
std::pair<int32_t, int32_t> Span(int32_t i, int32_t frameSide, int32_t thumbSide) {
    const int32_t first = static_cast<int32_t>(static_cast<int64_t>(i) * frameSide / thumbSide);
    const int32_t last = static_cast<int32_t>(static_cast<int64_t>(i + 1) * frameSide / thumbSide);
    return {first, std::max(first + 1, last)};
}

} // namespace

Thumbnail Thumbnail::Shrink(const unsigned char* frame, int32_t width, int32_t height) {
    Thumbnail result;
    if (frame == nullptr || width <= 0 || height <= 0) return result;
    result.bgra.resize(static_cast<size_t>(WIDTH) * HEIGHT * BYTES_PER_PIXEL);
    unsigned char* out = result.bgra.data();
    for (int32_t ty = 0; ty < HEIGHT; ++ty) {
        const auto [y0, y1] = Span(ty, height, HEIGHT);
        for (int32_t tx = 0; tx < WIDTH; ++tx) {
            const auto [x0, x1] = Span(tx, width, WIDTH);
            uint32_t sum[COLOUR_CHANNELS] = {};
            for (int32_t y = y0; y < y1; ++y) {
                const unsigned char* row =
                    frame + (static_cast<size_t>(y) * width + x0) * BYTES_PER_PIXEL;
                for (int32_t x = x0; x < x1; ++x, row += BYTES_PER_PIXEL)
                    for (int32_t c = 0; c < COLOUR_CHANNELS; ++c)
                        sum[c] += row[c];
            }
            const uint32_t count = static_cast<uint32_t>((y1 - y0) * (x1 - x0));
            for (int32_t c = 0; c < COLOUR_CHANNELS; ++c)
                *out++ = static_cast<unsigned char>(sum[c] / count);
            // Blending lowers the frame's alpha; the picture itself is opaque.
            *out++ = OPAQUE;
        }
    }
    return result;
}

std::string Thumbnail::encodePng() const {
    if (empty()) return std::string();
    FIBITMAP* bitmap = FreeImage_ConvertFromRawBits(
        const_cast<BYTE*>(bgra.data()), WIDTH, HEIGHT, WIDTH * BYTES_PER_PIXEL, BITS_PER_PIXEL,
        FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    if (bitmap == nullptr) return std::string();
    FIMEMORY* memory = FreeImage_OpenMemory();
    std::string png;
    // The fastest compression: a thumbnail is small either way, a save must be quick.
    if (FreeImage_SaveToMemory(FIF_PNG, bitmap, memory, PNG_Z_BEST_SPEED)) {
        BYTE* bytes = nullptr;
        DWORD size = 0;
        if (FreeImage_AcquireMemory(memory, &bytes, &size))
            png.assign(reinterpret_cast<const char*>(bytes), size);
    }
    FreeImage_CloseMemory(memory);
    FreeImage_Unload(bitmap);
    return png;
}

bool Thumbnail::write(const std::string& path) const {
    const std::string png = encodePng();
    return !png.empty() && DurableFile::Replace(path, png);
}

} // namespace Kura
