// A decoded picture in memory: top row first, one byte per channel, grey, RGB or
// RGBA. Decoding goes through FreeImage; the picture has no texture of its own.
#pragma once

#include "ofConstants.h"

#include <string>
#include <vector>

class ofImage {
public:
    // Pictures larger than this are refused before decoding: they would not fit
    // a texture, and a forged header must not make the decoder allocate gigabytes.
    static constexpr int MAX_SIDE = 16384;
    static constexpr long long MAX_PIXELS = 8192LL * 8192LL;

    bool loadImage(const std::string& fileName); // relative names resolve under the data path
    void clear();

    bool isAllocated() const { return !m_pixels.empty(); }
    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }
    ofImageType getType() const { return m_type; }
    int getBytesPerPixel() const;
    const unsigned char* getPixels() const { return m_pixels.data(); }

private:
    std::vector<unsigned char> m_pixels;
    int m_width = 0;
    int m_height = 0;
    ofImageType m_type = OF_IMAGE_COLOR;
};
