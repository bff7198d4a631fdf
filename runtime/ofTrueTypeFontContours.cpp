// Glyph outlines for drawing text as filled shapes: the FreeType outline of the
// rendered glyph flattened into point lists, and a GLU tessellation to fill them.
#include "ofTrueTypeFont.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <array>
#include <cmath>
#include <deque>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace {

// Each curve piece is cut into this many straight segments.
constexpr int CURVE_SEGMENTS = 8;
// Points nearer than this (in pixels) to the previous one are merged into it.
constexpr float MERGE_TOLERANCE = 0.3f;
constexpr float FIXED_26_6 = 64.0f;

struct OutlineBuilder {
    ofTTFCharacter character;
    ofPoint pen;

    // FreeType's y axis points up; the screen's points down.
    static ofPoint toPoint(const FT_Vector* v) {
        return {v->x / FIXED_26_6, -v->y / FIXED_26_6, 0.0f};
    }

    void add(const ofPoint& p) {
        ofTTFContour& contour = character.back();
        if (!contour.empty()) {
            const ofPoint& last = contour.back();
            if (std::hypot(p.x - last.x, p.y - last.y) < MERGE_TOLERANCE) return;
        }
        contour.push_back(p);
        pen = p;
    }
};

OutlineBuilder& builderOf(void* user) {
    return *static_cast<OutlineBuilder*>(user);
}

int moveTo(const FT_Vector* to, void* user) {
    OutlineBuilder& b = builderOf(user);
    b.character.emplace_back();
    b.add(OutlineBuilder::toPoint(to));
    return 0;
}

int lineTo(const FT_Vector* to, void* user) {
    builderOf(user).add(OutlineBuilder::toPoint(to));
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    OutlineBuilder& b = builderOf(user);
    const ofPoint p0 = b.pen, c = OutlineBuilder::toPoint(control),
                  p1 = OutlineBuilder::toPoint(to);
    for (int i = 1; i <= CURVE_SEGMENTS; ++i) {
        const float t = static_cast<float>(i) / CURVE_SEGMENTS, u = 1.0f - t;
        b.add({u * u * p0.x + 2 * u * t * c.x + t * t * p1.x,
               u * u * p0.y + 2 * u * t * c.y + t * t * p1.y, 0.0f});
    }
    return 0;
}

int cubicTo(const FT_Vector* c1v, const FT_Vector* c2v, const FT_Vector* to, void* user) {
    OutlineBuilder& b = builderOf(user);
    const ofPoint p0 = b.pen, c1 = OutlineBuilder::toPoint(c1v), c2 = OutlineBuilder::toPoint(c2v);
    const ofPoint p1 = OutlineBuilder::toPoint(to);
    for (int i = 1; i <= CURVE_SEGMENTS; ++i) {
        const float t = static_cast<float>(i) / CURVE_SEGMENTS, u = 1.0f - t;
        const float a = u * u * u, bb = 3 * u * u * t, cc = 3 * u * t * t, d = t * t * t;
        b.add({a * p0.x + bb * c1.x + cc * c2.x + d * p1.x,
               a * p0.y + bb * c1.y + cc * c2.y + d * p1.y, 0.0f});
    }
    return 0;
}

// Vertices that the tessellator creates where edges cross; they must live until
// the polygon is finished.
std::deque<std::array<GLdouble, 3>>* g_pCombined = nullptr;

void GLAPIENTRY tessBegin(GLenum mode) {
    glBegin(mode);
}
void GLAPIENTRY tessEnd() {
    glEnd();
}
void GLAPIENTRY tessVertex(void* data) {
    glVertex3dv(static_cast<const GLdouble*>(data));
}
void GLAPIENTRY tessCombine(GLdouble coords[3], void* [4], GLfloat[4], void** out) {
    g_pCombined->push_back({coords[0], coords[1], coords[2]});
    *out = g_pCombined->back().data();
}

} // namespace

ofTTFCharacter ofTrueTypeFont::makeContours() const {
    OutlineBuilder builder;
    if (face == nullptr || face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return {};
    FT_Outline_Funcs funcs{};
    funcs.move_to = moveTo;
    funcs.line_to = lineTo;
    funcs.conic_to = conicTo;
    funcs.cubic_to = cubicTo;
    FT_Outline_Decompose(&face->glyph->outline, &funcs, &builder);
    return builder.character;
}

void ofTrueTypeFont::drawContoursFilled(const ofTTFCharacter& character, float x, float y) {
    std::deque<std::array<GLdouble, 3>> vertices; // a deque keeps addresses stable
    std::deque<std::array<GLdouble, 3>> combined;
    g_pCombined = &combined;
    GLUtesselator* tess = gluNewTess();
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(tessBegin));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(tessEnd));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(tessVertex));
    gluTessCallback(tess, GLU_TESS_COMBINE, reinterpret_cast<_GLUfuncptr>(tessCombine));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessBeginPolygon(tess, nullptr);
    for (const ofTTFContour& contour : character) {
        gluTessBeginContour(tess);
        for (const ofPoint& p : contour) {
            vertices.push_back(
                {p.x + static_cast<GLdouble>(x), p.y + static_cast<GLdouble>(y), 0.0});
            gluTessVertex(tess, vertices.back().data(), vertices.back().data());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    g_pCombined = nullptr;
}
