// 2D drawing for the game: textured quads with a source rectangle and flipping,
// and filled rectangles, in one current colour. All state is shared by the whole
// process; a Draw2D object is a cheap handle made on the stack where it is needed.
#pragma once

#include <cstdint>

class ofTexture;

namespace Kura {

class Draw2D {
public:
    static bool Init(); // false (and reported) when already initialised
    static void Term();

    void SetColor(uint32_t rgba); // 0xRRGGBBAA
    void SetColor(int32_t r, int32_t g, int32_t b, int32_t a);
    void SetColors(uint32_t c0, uint32_t c1, uint32_t c2, uint32_t c3); // c0 becomes current

    // Selects the texture for the following draws (null for none); reset makes the
    // colour opaque white. False before Init.
    bool SetTexture(ofTexture* texture, bool reset);
    void EndTexture();

    // Draws the source rectangle (sx, sy, sw, sh), in pixels of the loaded image, of the
    // selected texture into (x, y, w, h); flips mirror the picture inside that rectangle.
    void DrawTexture(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy, int32_t sw,
                     int32_t sh, bool flipX, bool flipY);
    void DrawRect(int32_t x, int32_t y, int32_t w, int32_t h);

private:
    struct Impl;
    static Impl* m_pImpl;
};

} // namespace Kura
