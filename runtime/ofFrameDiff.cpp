// Placing a list's draws by following the state its commands set, and the area
// where two placed lists differ. The matrix is followed in the plane z = 0, where
// the screen projection maps one unit to one window pixel.
#include "ofFrameDiff.h"

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

using Matrix = std::array<float, 16>;

constexpr Matrix IDENTITY = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
constexpr double PI = 3.14159265358979323846;
// Pixels added around a changed draw: its edge pixels are covered by the rule
// of pixel centres, so one pixel of margin holds everything it can touch.
constexpr float MARGIN = 1.0f;

void translate(Matrix& m, float x, float y, float z) {
    for (int row = 0; row < 4; ++row)
        m[12 + row] += m[row] * x + m[4 + row] * y + m[8 + row] * z;
}

void scale(Matrix& m, float x, float y, float z) {
    for (int row = 0; row < 4; ++row) {
        m[row] *= x;
        m[4 + row] *= y;
        m[8 + row] *= z;
    }
}

void rotate(Matrix& m, float degrees, float ax, float ay, float az) {
    const float length = std::sqrt(ax * ax + ay * ay + az * az);
    if (length == 0.0f) return;
    const float x = ax / length, y = ay / length, z = az / length;
    const float c = static_cast<float>(std::cos(degrees * PI / 180.0));
    const float s = static_cast<float>(std::sin(degrees * PI / 180.0));
    const float t = 1.0f - c;
    const float r[9] = {t * x * x + c,     t * x * y + s * z, t * x * z - s * y,
                        t * x * y - s * z, t * y * y + c,     t * y * z + s * x,
                        t * x * z + s * y, t * y * z - s * x, t * z * z + c};
    const Matrix m0 = m;
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 4; ++row)
            m[col * 4 + row] =
                m0[row] * r[col * 3] + m0[4 + row] * r[col * 3 + 1] + m0[8 + row] * r[col * 3 + 2];
}

struct Tracker {
    ofDrawState state;
    Matrix matrix = IDENTITY;
    std::vector<Matrix> matrices;
    std::vector<ofDrawState> saved; // blending saved by PushBlending

    ofPlacedDraw place(const ofDrawCommand& c) const {
        ofPlacedDraw placed{};
        placed.command = c;
        std::memcpy(placed.matrix, matrix.data(), sizeof placed.matrix);
        placed.state = state;
        // State that this draw does not read must not make it differ.
        if (!state.blending) placed.state.blendSource = placed.state.blendDestination = 0;
        if (!state.texturing || c.op == ofDrawOp::Clear) placed.state.texture = 0;
        if (c.op == ofDrawOp::Clear) placed.state = ofDrawState{};
        return placed;
    }

    void enable(uint32_t capability, bool on) {
        if (capability == GL_BLEND) state.blending = on;
        if (capability == GL_TEXTURE_2D) state.texturing = on;
    }

    void popBlending() {
        if (saved.empty()) return;
        state.blending = saved.back().blending;
        state.blendSource = saved.back().blendSource;
        state.blendDestination = saved.back().blendDestination;
        saved.pop_back();
    }

    void apply(const ofDrawCommand& c, std::vector<ofPlacedDraw>& placed) {
        const float* v = c.value;
        switch (c.op) {
        case ofDrawOp::SetColor:
            state.color = c.arg[0];
            break;
        case ofDrawOp::PushMatrix:
            matrices.push_back(matrix);
            break;
        case ofDrawOp::PopMatrix:
            if (!matrices.empty()) {
                matrix = matrices.back();
                matrices.pop_back();
            }
            break;
        case ofDrawOp::Translate:
            translate(matrix, v[0], v[1], v[2]);
            break;
        case ofDrawOp::Scale:
            scale(matrix, v[0], v[1], v[2]);
            break;
        case ofDrawOp::Rotate:
            rotate(matrix, v[0], v[1], v[2], v[3]);
            break;
        case ofDrawOp::Enable:
            enable(c.arg[0], true);
            break;
        case ofDrawOp::Disable:
            enable(c.arg[0], false);
            break;
        case ofDrawOp::BlendFunc:
            state.blendSource = c.arg[0];
            state.blendDestination = c.arg[1];
            break;
        case ofDrawOp::PushBlending:
            saved.push_back(state);
            break;
        case ofDrawOp::PopBlending:
            popBlending();
            break;
        case ofDrawOp::BindTexture:
            state.texture = c.arg[0];
            break;
        case ofDrawOp::LinearFilter:
            break;
        case ofDrawOp::Rect:
        case ofDrawOp::TexturedStrip:
        case ofDrawOp::GlyphQuad:
        case ofDrawOp::Clear:
            placed.push_back(place(c));
            break;
        }
    }
};

struct Box {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool whole = false; // the whole window
    bool any = false;

    void add(float x, float y) {
        if (!any) {
            x0 = x1 = x, y0 = y1 = y, any = true;
            return;
        }
        x0 = std::min(x0, x), x1 = std::max(x1, x);
        y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
};

// Only a matrix that keeps the plane z = 0 flat and unscaled in depth maps
// points one to one onto window pixels.
bool isPlanar(const float* m) {
    return m[2] == 0.0f && m[6] == 0.0f && m[14] == 0.0f && m[3] == 0.0f && m[7] == 0.0f &&
           m[15] == 1.0f;
}

void addCorner(Box& box, const float* m, float x, float y) {
    box.add(m[0] * x + m[4] * y + m[12], m[1] * x + m[5] * y + m[13]);
}

void addDraw(Box& box, const ofPlacedDraw& d) {
    const float* v = d.command.value;
    const float* m = d.matrix;
    if (d.command.op == ofDrawOp::Clear || !isPlanar(m)) {
        box.whole = true;
        return;
    }
    switch (d.command.op) {
    case ofDrawOp::TexturedStrip:
        for (int corner = 0; corner < 4; ++corner)
            addCorner(box, m, v[2 * corner], v[2 * corner + 1]);
        break;
    case ofDrawOp::Rect:
    case ofDrawOp::GlyphQuad:
        addCorner(box, m, v[0], v[1]);
        addCorner(box, m, v[2], v[1]);
        addCorner(box, m, v[0], v[3]);
        addCorner(box, m, v[2], v[3]);
        break;
    default:
        box.whole = true;
        break;
    }
}

bool samePlaced(const ofPlacedDraw& a, const ofPlacedDraw& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool drawsChanged(const ofPlacedDraw& d, const std::vector<unsigned int>& changedTextures) {
    return d.state.texture != 0 && std::find(changedTextures.begin(), changedTextures.end(),
                                             d.state.texture) != changedTextures.end();
}

} // namespace

ofDrawState ofQueryDrawState() {
    ofDrawState s;
    GLfloat color[4] = {1, 1, 1, 1};
    glGetFloatv(GL_CURRENT_COLOR, color);
    s.color = 0;
    for (int i = 0; i < 4; ++i)
        s.color |= static_cast<uint32_t>(std::lround(std::clamp(color[i], 0.0f, 1.0f) * 255.0f))
                   << (8 * i);
    s.blending = glIsEnabled(GL_BLEND);
    GLint value = 0;
    glGetIntegerv(GL_BLEND_SRC, &value);
    s.blendSource = static_cast<uint32_t>(value);
    glGetIntegerv(GL_BLEND_DST, &value);
    s.blendDestination = static_cast<uint32_t>(value);
    s.texturing = glIsEnabled(GL_TEXTURE_2D);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    s.texture = static_cast<uint32_t>(value);
    return s;
}

std::vector<ofPlacedDraw> ofPlaceDraws(const ofDrawList& list, const ofDrawState& start,
                                       ofDrawState* end) {
    Tracker tracker;
    tracker.state = start;
    std::vector<ofPlacedDraw> placed;
    for (const ofDrawCommand& c : list)
        tracker.apply(c, placed);
    if (end != nullptr) *end = tracker.state;
    return placed;
}

ofPixelArea ofChangedArea(const std::vector<ofPlacedDraw>& before,
                          const std::vector<ofPlacedDraw>& after,
                          const std::vector<unsigned int>& changedTextures, int width, int height) {
    const size_t shorter = std::min(before.size(), after.size());
    size_t prefix = 0;
    while (prefix < shorter && samePlaced(before[prefix], after[prefix]))
        ++prefix;
    size_t suffix = 0;
    while (suffix < shorter - prefix &&
           samePlaced(before[before.size() - 1 - suffix], after[after.size() - 1 - suffix]))
        ++suffix;

    Box box;
    for (size_t i = prefix; i < before.size() - suffix; ++i)
        addDraw(box, before[i]);
    for (size_t i = prefix; i < after.size() - suffix; ++i)
        addDraw(box, after[i]);
    if (!changedTextures.empty()) {
        for (const auto* list : {&before, &after})
            for (const ofPlacedDraw& d : *list)
                if (drawsChanged(d, changedTextures)) addDraw(box, d);
    }
    if (box.whole) return {0, 0, width, height};
    if (!box.any) return {};
    const int x0 = std::max(0, static_cast<int>(std::floor(box.x0 - MARGIN)));
    const int y0 = std::max(0, static_cast<int>(std::floor(box.y0 - MARGIN)));
    const int x1 = std::min(width, static_cast<int>(std::ceil(box.x1 + MARGIN)));
    const int y1 = std::min(height, static_cast<int>(std::ceil(box.y1 + MARGIN)));
    return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}
