// Icon animation steps and the border drawing.
#include "of/Icon.h"

#include "of/Draw2D.h"
#include "util/AssertReport.h"

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\of\\Icon";

} // namespace

void Icon::UpdateOpening() {
    if (HasGrownPastWidth()) m_State = STATE_OPEN;
}

void Icon::UpdateClosing() {
    if (HasGrownPastWidth()) m_State = STATE_JUST_CLOSED;
}

// "Just closed" lasts one update so a caller can see the close finish.
void Icon::UpdateJustClosed() {
    m_State = STATE_CLOSED;
    m_Counter = 0;
}

void Icon::Open() {
    m_State = STATE_OPENING;
    m_Counter = 0;
}

void Icon::Close() {
    m_State = STATE_CLOSING;
    m_Counter = 0;
}

void Icon::Update() {
    switch (m_State) {
    case STATE_OPENING:
        UpdateOpening();
        break;
    case STATE_OPEN:
        UpdateOpen();
        break;
    case STATE_CLOSING:
        UpdateClosing();
        break;
    case STATE_JUST_CLOSED:
        UpdateJustClosed();
        break;
    default:
        break;
    }
    if (m_State != STATE_CLOSED && m_State != STATE_JUST_CLOSED) ++m_Counter;
}

void Icon::Draw() {
    switch (m_State) {
    case STATE_OPENING:
        DrawOpening();
        break;
    case STATE_OPEN:
        DrawOpen();
        break;
    case STATE_CLOSING:
        DrawClosing();
        break;
    case STATE_JUST_CLOSED:
        DrawJustClosed();
        break;
    default:
        break;
    }
}

void Icon::SetW(int32_t w) {
    KURA_CHECK(w >= 0, "w>=0", SOURCE_NAME, "Kura::Icon::SetW", __LINE__);
    m_W = w;
}

void Icon::SetH(int32_t h) {
    KURA_CHECK(h >= 0, "h>=0", SOURCE_NAME, "Kura::Icon::SetH", __LINE__);
    m_H = h;
}

void Icon::SetRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    m_X = x;
    m_Y = y;
    SetW(w);
    SetH(h);
}

// The four sides overlap nowhere: each takes one corner.
void DrawFrame(int32_t x, int32_t y, int32_t w, int32_t h, int32_t t) {
    Draw2D draw;
    draw.DrawRect(x, y, w - t, t);
    draw.DrawRect(x + w - t, y, t, h - t);
    draw.DrawRect(x + t, y + h - t, w - t, t);
    draw.DrawRect(x, y + t, t, h - t);
}

} // namespace Kura
