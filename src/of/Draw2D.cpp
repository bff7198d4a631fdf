// The shared 2D drawer. Quads go out as commands of the runtime's 2D layer;
// nothing is cached between frames.
#include "of/Draw2D.h"

#include "ofGraphics.h"
#include "ofTexture.h"
#include "util/AssertReport.h"

#include <algorithm>

namespace Kura {

namespace {

constexpr const char* SOURCE = "src\\of\\Draw2D";

struct Color {
    uint8_t r = 255, g = 255, b = 255, a = 255;
};

Color unpackRgba(uint32_t rgba) {
    return {static_cast<uint8_t>(rgba >> 24), static_cast<uint8_t>(rgba >> 16),
            static_cast<uint8_t>(rgba >> 8), static_cast<uint8_t>(rgba)};
}

uint8_t component(int32_t v) {
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

} // namespace

struct Draw2D::Impl {
    ofTexture* texture = nullptr; // not owned
    Color color;
};

Draw2D::Impl* Draw2D::m_pImpl = nullptr;

bool Draw2D::Init() {
    if (!KURA_CHECK(m_pImpl == nullptr, "m_pImpl==NULL", SOURCE, "Kura::Draw2D::Init", __LINE__))
        return false;
    m_pImpl = new Impl;
    return true;
}

void Draw2D::Term() {
    delete m_pImpl;
    m_pImpl = nullptr;
}

void Draw2D::SetColor(uint32_t rgba) {
    if (!KURA_CHECK(m_pImpl, "m_pImpl", SOURCE, "Kura::Draw2D::SetColor", __LINE__)) return;
    m_pImpl->color = unpackRgba(rgba);
}

void Draw2D::SetColor(int32_t r, int32_t g, int32_t b, int32_t a) {
    if (!KURA_CHECK(m_pImpl, "m_pImpl", SOURCE, "Kura::Draw2D::SetColor", __LINE__)) return;
    m_pImpl->color = {component(r), component(g), component(b), component(a)};
}

void Draw2D::SetColors(uint32_t c0, uint32_t, uint32_t, uint32_t) {
    SetColor(c0);
}

bool Draw2D::SetTexture(ofTexture* texture, bool reset) {
    if (m_pImpl == nullptr) return false;
    if (reset) m_pImpl->color = Color{};
    m_pImpl->texture = texture;
    if (texture != nullptr) {
        texture->bind();
        ofSetLinearFiltering();
    }
    return true;
}

void Draw2D::EndTexture() {
    if (m_pImpl != nullptr && m_pImpl->texture != nullptr) m_pImpl->texture->unbind();
}

// Flipping swaps the source corners, so the destination keeps its place and the
// picture is mirrored inside it.
void Draw2D::DrawTexture(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy,
                         int32_t sw, int32_t sh, bool flipX, bool flipY) {
    if (!KURA_CHECK(m_pImpl && m_pImpl->texture, "m_pImpl && m_pImpl->texture", SOURCE,
                    "Kura::Draw2D::DrawTexture", __LINE__))
        return;
    const ofTexture& tex = *m_pImpl->texture;
    const float left = static_cast<float>(flipX ? sx + sw : sx);
    const float right = static_cast<float>(flipX ? sx : sx + sw);
    const float top = static_cast<float>(flipY ? sy + sh : sy);
    const float bottom = static_cast<float>(flipY ? sy : sy + sh);
    const ofPoint t1 = tex.getCoordFromPoint(left, top);
    const ofPoint t2 = tex.getCoordFromPoint(right, bottom);

    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    const float corners[] = {0, 0, fw, 0, 0, fh, fw, fh};
    const float texCoords[] = {t1.x, t1.y, t2.x, t1.y, t1.x, t2.y, t2.x, t2.y};

    ofPushMatrix();
    ofTranslate(static_cast<float>(x), static_cast<float>(y));
    const Color& c = m_pImpl->color;
    ofSetColor(c.r, c.g, c.b, c.a);
    tex.bind(); // text drawn since the selection may have bound its own textures
    ofEnableTexturing();
    ofDrawTexturedQuad(corners, texCoords);
    ofDisableTexturing();
    ofPopMatrix();
}

void Draw2D::DrawRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!KURA_CHECK(m_pImpl, "m_pImpl", SOURCE, "Kura::Draw2D::DrawRect", __LINE__)) return;
    const Color& c = m_pImpl->color;
    ofSetColor(c.r, c.g, c.b, c.a);
    ofPushMatrix();
    ofTranslate(static_cast<float>(x), static_cast<float>(y));
    ofRect(0, 0, static_cast<float>(w), static_cast<float>(h));
    ofPopMatrix();
}

} // namespace Kura
