// The frame each menu owns: a rectangle with an open/close animation state. A
// menu takes input only while its icon is open. Also the border drawing the
// game uses for its stage frame. Needs the 2D drawer and the assertion report.
#pragma once

#include <cstdint>

namespace Kura {

class Icon {
public:
    enum State : int32_t {
        STATE_CLOSED,
        STATE_OPENING,
        STATE_OPEN,
        STATE_CLOSING,
        STATE_JUST_CLOSED,
    };
    // Opening and closing last until the frame would have grown this much per
    // frame past its width.
    static constexpr int32_t GROW_PER_FRAME = 30;

    Icon() = default;
    virtual ~Icon() = default;
    virtual void Release() {}

    // One per animated state, called by Update; they decide when the state ends.
    virtual void UpdateOpening();
    virtual void UpdateOpen() {}
    virtual void UpdateClosing();
    virtual void UpdateJustClosed();
    // This frame draws nothing itself; a derived frame may.
    virtual void DrawOpening() {}
    virtual void DrawOpen() {}
    virtual void DrawClosing() {}
    virtual void DrawJustClosed() {}

    void Open();   // starts opening
    void Close();  // starts closing
    void Update(); // once per frame
    void Draw();

    void SetX(int32_t x) { m_X = x; }
    void SetY(int32_t y) { m_Y = y; }
    void SetW(int32_t w); // a negative size is reported and kept
    void SetH(int32_t h);
    void SetRect(int32_t x, int32_t y, int32_t w, int32_t h);

    int32_t GetState() const { return m_State; }
    int32_t GetCounter() const { return m_Counter; }
    int32_t GetX() const { return m_X; }
    int32_t GetY() const { return m_Y; }
    int32_t GetW() const { return m_W; }
    int32_t GetH() const { return m_H; }

protected:
    bool HasGrownPastWidth() const { return m_Counter * GROW_PER_FRAME > m_W; }

    int32_t m_State = STATE_CLOSED;
    int32_t m_Counter = 0; // updates since the last open or close began
    int32_t m_X = 0;
    int32_t m_Y = 0;
    int32_t m_W = 0;
    int32_t m_H = 0;
};

// A border of thickness t inside (x, y, w, h), as four filled rectangles in the
// 2D drawer's current colour.
void DrawFrame(int32_t x, int32_t y, int32_t w, int32_t h, int32_t t);

} // namespace Kura
