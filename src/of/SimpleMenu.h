// The choice menu: a grid of text items the player moves through with keys or
// the mouse, decides or cancels. Menus form trees: an item may own a sub-menu,
// and all menus of a tree share a root that keeps the tree's menus and the
// stack of open ones. Needs the input controller, the text service, the 2D
// drawer and the sound slots (effects 0 decide, 1 cancel, 2 cursor move).
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace Kura {

class Icon;

class SimpleMenu {
public:
    // Text colours (0xAABBGGRR) and the highlight over the cursor item (0xRRGGBBAA).
    static constexpr uint32_t CURSOR_ITEM_COLOR = 0xFFFFFFFF;
    static constexpr uint32_t ENABLED_ITEM_COLOR = 0xFF998877;
    static constexpr uint32_t DISABLED_ITEM_COLOR = 0xFF553311;
    static constexpr uint32_t HIGHLIGHT_COLOR = 0xFF000022;
    // Sound-effect slots the menu plays.
    static constexpr int32_t SE_DECIDE = 0;
    static constexpr int32_t SE_CANCEL = 1;
    static constexpr int32_t SE_CURSOR = 2;
    // Input is held back this many frames after a menu opens or closes.
    static constexpr int32_t LOCK_FRAMES = 5;
    // Grids of this many rows or columns or more are refused.
    static constexpr int32_t MAX_GRID_SIDE = 1000;
    // A cell is this many characters wide; a line this many line heights high.
    static constexpr int32_t ITEM_WIDTH_CHARS = 6;
    static constexpr double ITEM_HEIGHT_LINES = 1.3;
    static constexpr int32_t NO_ITEM = -1;
    static constexpr int32_t CANCEL = -2;

    // root null makes this menu a root. Joins the root's list of menus.
    SimpleMenu(SimpleMenu* root, int32_t x, int32_t y, int32_t fontType, uint8_t rows,
               uint8_t columns);
    // Leaves the root's lists; does not delete the children.
    ~SimpleMenu();
    SimpleMenu(const SimpleMenu&) = delete;
    SimpleMenu& operator=(const SimpleMenu&) = delete;

    // Sets font and grid and sizes the frame from the font; all items are cleared.
    void SetDispStringInfo(int32_t fontType, int32_t rows, int32_t columns);
    void SetRowColumn(int32_t rows, int32_t columns);
    void SetWindow(); // copies the frame rectangle into the icon
    void SetIconPos(int32_t x, int32_t y);
    void SetItemWidthByChars(int32_t chars);
    void SetMenuItem(int32_t row, int32_t column, const std::wstring& name, SimpleMenu* child,
                     bool enabled);
    void SetMenuItem(int32_t row, int32_t column, const std::string& name, SimpleMenu* child,
                     bool enabled);
    void SetIsEnableMenu(int32_t row, int32_t column, bool enabled);

    // The open stack, kept by the root.
    void SetActive(bool active) { m_Active = active; }
    void Open();       // pushes this menu; a menu already open first closes what lies above it
    void BringToTop(); // removes this menu from the stack and opens it again
    void RemoveFromStack();
    SimpleMenu* Pop();     // closes the top menu; the new top, or null
    void CloseAll();       // every menu of the tree inactive and off the stack
    void DeleteChildren(); // the whole tree below this menu
    void Activate();       // opens the frame; input waits LOCK_FRAMES frames
    void Deactivate();     // closes the frame, and those of the children

    bool IsDecided() const; // the top menu decided an item in this frame
    std::wstring
    GetResultPath() const; // decided names of the open menus, bottom first, "-" between

    int32_t GetMenuHit() const; // the enabled item under the mouse, or NO_ITEM
    std::wstring GetMenuItemName(int32_t index) const;

    SimpleMenu* GetRoot() const { return m_pRoot; }
    SimpleMenu* GetChild(int32_t index) const;
    Icon* GetIcon() const { return m_pIcon.get(); }
    const std::wstring& GetResultName() const { return m_ResultName; }
    int32_t GetHitItemNo() const { return m_HitItemNo; }
    int32_t GetLastHitItemNo() const { return m_LastHitItemNo; }
    int32_t GetFontType() const { return m_FontType; }
    int32_t GetCursor() const { return m_Cursor; }
    int32_t GetRow() const { return m_Row; }
    int32_t GetColumn() const { return m_Column; }
    int32_t GetItemWidth() const { return m_ItemWidth; }
    int32_t GetItemHeight() const { return m_ItemHeight; }
    int32_t GetWindowW() const { return m_WindowW; }
    int32_t GetWindowH() const { return m_WindowH; }
    bool IsLocked() const { return m_LockFrames != 0; }
    bool IsActive() const { return m_Active; }

    void Proc(); // input, once per frame; then the children's
    void Draw(); // items and highlight while open; then the children's

private:
    struct Cell {
        int32_t x, y, w, h;
    };

    int32_t ItemCount() const { return m_Row * m_Column; }
    bool IsTop() const;
    bool TakesInput() const;
    bool IsEnabledItem(int32_t index) const;
    Cell CellOf(int32_t index, int32_t charWidth) const;
    int32_t CharWidth() const;
    int32_t ReadInput(int32_t hit);
    int32_t EnabledNeighbour(bool forward) const;
    void MoveCursor(bool forward);
    void Cancel();
    void Decide(int32_t item);
    void Detach(); // a root going away leaves each remaining menu its own root

    SimpleMenu* m_pRoot;
    std::deque<SimpleMenu*> m_AllMenus;  // root only: the tree, in construction order
    std::deque<SimpleMenu*> m_OpenStack; // root only: open menus, the top last
    std::unique_ptr<Icon> m_pIcon;
    int32_t m_FontType;
    int32_t m_Row = 0;
    int32_t m_Column = 0;
    std::vector<SimpleMenu*> m_Children; // not owned until DeleteChildren
    std::vector<std::wstring> m_Names;
    std::vector<bool> m_Enabled;
    std::wstring m_ResultName;
    int32_t m_HitItemNo = NO_ITEM; // decided in this frame only
    int32_t m_LastHitItemNo = NO_ITEM;
    int32_t m_Cursor = NO_ITEM;
    int32_t m_ItemWidth = 0;
    int32_t m_ItemHeight = 0;
    int32_t m_LockFrames = 0;
    int32_t m_WindowX;
    int32_t m_WindowY;
    int32_t m_WindowW = 0;
    int32_t m_WindowH = 0;
    bool m_Active = false;
    bool m_ReopenedByMouse = false; // the next activation follows the mouse
    bool m_FollowMouse = false;
};

} // namespace Kura
