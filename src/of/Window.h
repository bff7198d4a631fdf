// The on-screen objects a scenario creates by number: text, image, video and
// character windows. Only image and character windows draw; their pictures live
// in texture slots computed from the settings. Text and character windows keep
// class registries with a current index. Needs the texture table and 2D drawer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Kura {

class WindowSettings;

// The number a script passes to add a window, and what GetType answers.
enum WindowKind : int32_t {
    WINDOW_KIND_TEXT = 1,
    WINDOW_KIND_IMAGE = 2,
    WINDOW_KIND_VIDEO = 3,
    WINDOW_KIND_CHARACTER = 4,
};

struct WindowRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
};

class Window {
public:
    explicit Window(int32_t id) : m_Id(id) {}
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Every kind accepts every operation; the base ones do nothing, so the
    // script commands that reach them keep working.
    virtual void Init() {}
    virtual void Update() {}
    virtual void Draw() {}
    virtual void Load(const std::string& /*path*/) {}
    virtual void Load(const std::string& /*folder*/, const std::string& /*file*/) {}
    virtual bool IsLoaded() const { return false; }
    virtual void Open() {}
    virtual void Close() {}
    virtual void MovePos(int32_t /*x*/, int32_t /*y*/) {}
    virtual void Play(int32_t /*n*/) {}
    virtual void Stop() {}
    virtual int32_t GetType() const = 0;

    // The settings every window reads; set once by the game before windows are used.
    static void SetSettings(const WindowSettings* settings) { m_pSettings = settings; }
    static const WindowSettings* GetSettings() { return m_pSettings; }

    int32_t GetId() const { return m_Id; }
    bool IsVisible() const { return m_Visible; }
    void SetVisible(int32_t visible) { m_Visible = visible != 0; }
    void SetPos(int32_t x, int32_t y);
    void SetSize(int32_t w, int32_t h);
    void SetRect(int32_t x, int32_t y, int32_t w, int32_t h);
    const WindowRect& GetRect() const { return m_Rect; }
    void SetFlip(int32_t flipX, int32_t flipY);
    bool GetFlipX() const { return m_FlipX; }
    bool GetFlipY() const { return m_FlipY; }
    void SetDepth(int32_t depth) { m_Depth = depth; } // kept; windows draw in list order
    int32_t GetDepth() const { return m_Depth; }

protected:
    // The settings, reported when the game has not set them.
    static const WindowSettings* Settings(const char* function, int32_t line);

    const int32_t m_Id; // index in the game's window list when added
    int32_t m_Depth = 0;
    bool m_Visible = false;
    WindowRect m_Rect;
    bool m_FlipX = false;
    bool m_FlipY = false;

private:
    static inline const WindowSettings* m_pSettings = nullptr;
};

// Draws nothing: the game draws the message text itself.
class TextWindow : public Window {
public:
    using Window::Window;
    int32_t GetType() const override { return WINDOW_KIND_TEXT; }

    static void AddToRegistry(TextWindow* window);
    static void ClearRegistry(); // the windows belong to the game, which deletes them
    static int32_t GetNowIndex() { return m_NowIndex; }
    static void SetNowIndex(int32_t index) { m_NowIndex = index; }
    static TextWindow* getNowWnd(); // null, reported, when the index names no window

private:
    static inline std::vector<TextWindow*> m_Registry;
    static inline int32_t m_NowIndex = -1;
};

// Accepts every operation and does nothing with it.
class VideoWindow : public Window {
public:
    using Window::Window;
    int32_t GetType() const override { return WINDOW_KIND_VIDEO; }
};

// Shows part of the picture in its texture slot; the slot keeps the picture
// when the window is deleted.
class ImageWindow : public Window {
public:
    using Window::Window;
    void Draw() override;
    void Load(const std::string& path) override; // sets the size to the picture's
    void Load(const std::string& folder, const std::string& file) override;
    bool IsLoaded() const override;
    int32_t GetType() const override { return WINDOW_KIND_IMAGE; }
    virtual int32_t GetTextureIndex() const; // "ImageWindowBaseIndex" + id

    void SetImageRect(int32_t x, int32_t y, int32_t w, int32_t h);
    const WindowRect& GetImageRect() const { return m_ImageRect; }

protected:
    WindowRect m_ImageRect; // in pixels of the loaded picture
};

// A character's face: every character has a block of slots, one per face, so
// two windows showing the same character and face share one picture.
class CharacterWindow : public ImageWindow {
public:
    using ImageWindow::ImageWindow;
    int32_t GetType() const override { return WINDOW_KIND_CHARACTER; }
    // "CharacterWindowBaseIndex" + charaIndex * "CharacterHaveIndexNum" + faceIndex
    int32_t GetTextureIndex() const override;

    void SetCharaIndex(int32_t index) { m_CharaIndex = index; }
    int32_t GetCharaIndex() const { return m_CharaIndex; }
    void SetFace(int32_t face) { m_FaceIndex = face == -1 ? 0 : face; } // -1: the first face
    int32_t GetFace() const { return m_FaceIndex; }
    void ResetImageRect(); // the whole picture of the current slot
    void SetName(const std::string& name) { m_Name = name; }
    const std::string& GetName() const { return m_Name; }
    void SetVisibleName(int32_t visible) { m_NameVisible = visible != 0; }
    bool IsVisibleName() const { return m_NameVisible; }
    void Appearance() {}
    void Exit() {}

    static void AddToRegistry(CharacterWindow* window);
    static void ClearRegistry();
    static int32_t GetNowIndex() { return m_NowIndex; }
    static void SetNowIndex(int32_t index) { m_NowIndex = index; }
    static CharacterWindow* getNowWnd();

private:
    std::string m_Name; // kept for the script; drawing does not use it
    bool m_NameVisible = true;
    int32_t m_CharaIndex = 0;
    int32_t m_FaceIndex = 0;

    static inline std::vector<CharacterWindow*> m_Registry;
    static inline int32_t m_NowIndex = -1;
};

} // namespace Kura
