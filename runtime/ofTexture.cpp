// GL textures at power-of-two sizes, uploaded once and drawn many times.
// Needs a current GL context.
#include "ofTexture.h"

#include "ofDrawCommand.h"
#include "ofGraphics.h"
#include "ofLog.h"
#include "ofUtils.h"

#include <GL/gl.h>

ofTexture::~ofTexture() {
    clear();
}

bool ofTexture::allocate(int w, int h, int glInternalFormat) {
    clear();
    const int texW = ofIsPow2(w) ? w : ofNextPow2(w);
    const int texH = ofIsPow2(h) ? h : ofNextPow2(h);
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (w <= 0 || h <= 0 || texW > maxSize || texH > maxSize) {
        ofLog(OF_LOG_ERROR, "ofTexture: cannot allocate %d x %d (largest side %d)", w, h,
              static_cast<int>(maxSize));
        return false;
    }
    GLuint id = 0;
    glGenTextures(1, &id);
    if (id == 0) {
        ofLog(OF_LOG_ERROR, "ofTexture: no texture name available");
        return false;
    }
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, glInternalFormat, texW, texH, 0,
                 static_cast<GLenum>(glInternalFormat), GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    ofNoteTextureChanged(id);

    m_textureId = id;
    m_width = w;
    m_height = h;
    m_texWidth = texW;
    m_texHeight = texH;
    return true;
}

void ofTexture::loadData(const unsigned char* data, int w, int h, int glFormat) {
    if (!isAllocated() || data == nullptr || w > m_texWidth || h > m_texHeight) return;
    glBindTexture(GL_TEXTURE_2D, m_textureId);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, static_cast<GLenum>(glFormat), GL_UNSIGNED_BYTE,
                    data);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
    ofNoteTextureChanged(m_textureId);
    m_usedX = static_cast<float>(w) / m_texWidth;
    m_usedY = static_cast<float>(h) / m_texHeight;
}

void ofTexture::clear() {
    if (m_textureId != 0) {
        glDeleteTextures(1, &m_textureId);
        ofNoteTextureChanged(m_textureId);
    }
    m_textureId = 0;
    m_width = m_height = m_texWidth = m_texHeight = 0;
    m_usedX = m_usedY = 0.0f;
}

void ofTexture::bind() const {
    if (isAllocated()) ofBindTexture(m_textureId);
}

void ofTexture::unbind() const {
    ofBindTexture(0);
}

ofPoint ofTexture::getCoordFromPoint(float xPos, float yPos) const {
    if (m_width == 0 || m_height == 0) return {};
    return {m_usedX * xPos / m_width, m_usedY * yPos / m_height, 0.0f};
}
