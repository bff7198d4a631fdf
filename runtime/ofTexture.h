// A GL texture allocated at power-of-two sizes, of which the picture uses the
// top-left width x height part. Not copyable: it owns its GL name.
#pragma once

#include "ofGeometry.h"

class ofTexture {
public:
    ofTexture() = default;
    ~ofTexture();
    ofTexture(const ofTexture&) = delete;
    ofTexture& operator=(const ofTexture&) = delete;

    // glInternalFormat is GL_RGB, GL_RGBA, GL_LUMINANCE or GL_LUMINANCE_ALPHA.
    // Fails (logged, nothing allocated) when the driver cannot hold that size.
    bool allocate(int w, int h, int glInternalFormat);
    // glFormat tells the layout of data: rows top first, tightly packed.
    void loadData(const unsigned char* data, int w, int h, int glFormat);
    void clear(); // frees the GL texture

    void bind() const;
    void unbind() const;
    ofPoint getCoordFromPoint(float xPos, float yPos) const; // image pixels to 0..1 texture space

    bool isAllocated() const { return m_textureId != 0; }
    float getWidth() const { return static_cast<float>(m_width); }
    float getHeight() const { return static_cast<float>(m_height); }
    int getTextureWidth() const { return m_texWidth; } // the allocated power-of-two size
    int getTextureHeight() const { return m_texHeight; }
    unsigned int getTextureId() const { return m_textureId; }

private:
    unsigned int m_textureId = 0;
    int m_width = 0;
    int m_height = 0;
    int m_texWidth = 0;
    int m_texHeight = 0;
    float m_usedX = 0.0f; // fraction of the allocated texture the last upload covers
    float m_usedY = 0.0f;
};
