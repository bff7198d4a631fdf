// Menu trees: building the grid, the root's open stack, per-frame input and
// drawing. Checks go to the assertion report and the call goes on.
#include "of/SimpleMenu.h"

#include "of/Audio.h"
#include "of/Controller.h"
#include "of/Draw2D.h"
#include "of/Icon.h"
#include "of/ImageFont.h"
#include "util/AssertReport.h"
#include "util/Calc.h"
#include "util/Console.h"
#include "util/ConvString.h"
#include "util/_Template.h"

#include <algorithm>

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\of\\SimpleMenu";
// Cells are measured in this character's width.
constexpr const wchar_t* CELL_CHARACTER = L"あ";
// Hold an arrow key longer than this many hold intervals and the cursor repeats.
constexpr int32_t CURSOR_REPEAT_INTERVALS = 1;

void Erase(std::deque<SimpleMenu*>& menus, SimpleMenu* menu) {
    menus.erase(std::remove(menus.begin(), menus.end(), menu), menus.end());
}

} // namespace

SimpleMenu::SimpleMenu(SimpleMenu* root, int32_t x, int32_t y, int32_t fontType, uint8_t rows,
                       uint8_t columns)
    : m_pRoot(root != nullptr ? root : this), m_pIcon(std::make_unique<Icon>()),
      m_FontType(fontType), m_WindowX(x), m_WindowY(y) {
    m_pIcon->SetX(x);
    m_pIcon->SetY(y);
    SetDispStringInfo(fontType, rows, columns);
    m_pRoot->m_AllMenus.push_back(this);
}

SimpleMenu::~SimpleMenu() {
    if (m_pRoot == this) {
        Detach();
        return;
    }
    auto& all = m_pRoot->m_AllMenus;
    auto it = std::find(all.begin(), all.end(), this);
    if (it != all.end()) all.erase(it);
    Erase(m_pRoot->m_OpenStack, this);
}

// The remaining menus must not point at a root that is gone.
void SimpleMenu::Detach() {
    for (SimpleMenu* menu : m_AllMenus) {
        if (menu == this) continue;
        menu->m_pRoot = menu;
        menu->m_AllMenus = {menu};
        menu->m_OpenStack.clear();
    }
}

// Sizes every cell from the font: six characters wide, 1.3 lines high, with one
// spare cell of margin in each direction of the frame.
void SimpleMenu::SetDispStringInfo(int32_t fontType, int32_t rows, int32_t columns) {
    KURA_CHECK(columns != -1 && rows != -1, "col!=-1 && row!=-1", SOURCE_NAME,
               "Kura::SimpleMenu::SetDispStringInfo", __LINE__);
    const bool inRange = static_cast<uint32_t>(columns) < MAX_GRID_SIDE &&
                         static_cast<uint32_t>(rows) < MAX_GRID_SIDE;
    KURA_CHECK(inRange, "col<1000 && row<1000", SOURCE_NAME, "Kura::SimpleMenu::SetDispStringInfo",
               __LINE__);
    int32_t charWidth = 0, lineHeight = 0;
    if (ImageFont* font = ImageFont::Get()) {
        font->SetFontType(fontType);
        charWidth = font->GetWidth(fontType, CELL_CHARACTER);
        lineHeight = font->GetLineHeight();
    }
    m_FontType = fontType;
    // A refused grid is empty rather than sized from a negative or huge count.
    m_Row = inRange ? rows : 0;
    m_Column = inRange ? columns : 0;
    m_Cursor = std::min(m_Cursor, ItemCount() - 1);
    m_Names.assign(ItemCount(), std::wstring());
    m_Enabled.assign(ItemCount(), false);
    m_Children.assign(ItemCount(), nullptr);
    m_ItemWidth = charWidth * ITEM_WIDTH_CHARS;
    m_ItemHeight = static_cast<int32_t>(lineHeight * ITEM_HEIGHT_LINES);
    m_WindowW = m_ItemWidth * m_Column + m_ItemWidth;
    m_WindowH = m_ItemHeight * m_Row + m_ItemHeight;
    SetWindow();
}

void SimpleMenu::SetRowColumn(int32_t rows, int32_t columns) {
    SetDispStringInfo(m_FontType, rows, columns);
}

void SimpleMenu::SetWindow() {
    m_pIcon->SetRect(m_WindowX, m_WindowY, m_WindowW, m_WindowH);
}

void SimpleMenu::SetIconPos(int32_t x, int32_t y) {
    m_pIcon->SetX(x);
    m_pIcon->SetY(y);
}

void SimpleMenu::SetItemWidthByChars(int32_t chars) {
    ImageFont* font = ImageFont::Get();
    m_ItemWidth = chars * (font != nullptr ? font->GetWidth(m_FontType, CELL_CHARACTER) : 0);
}

void SimpleMenu::SetMenuItem(int32_t row, int32_t column, const std::wstring& name,
                             SimpleMenu* child, bool enabled) {
    const uint32_t index = Calc::Get1dIndexFrom2dIndex(row, column, m_Column);
    if (!KURA_CHECK(index < static_cast<uint32_t>(ItemCount()), "0", SOURCE_NAME,
                    "Kura::SimpleMenu::SetMenuItem", __LINE__))
        return;
    m_Names[index] = name;
    m_Enabled[index] = enabled;
    m_Children[index] = child;
}

void SimpleMenu::SetMenuItem(int32_t row, int32_t column, const std::string& name,
                             SimpleMenu* child, bool enabled) {
    SetMenuItem(row, column, ConvString::AnsiToWide(name), child, enabled);
}

void SimpleMenu::SetIsEnableMenu(int32_t row, int32_t column, bool enabled) {
    const uint32_t index = Calc::Get1dIndexFrom2dIndex(row, column, m_Column);
    if (!KURA_CHECK(index < static_cast<uint32_t>(ItemCount()), "0", SOURCE_NAME,
                    "Kura::SimpleMenu::SetIsEnableMenu", __LINE__))
        return;
    m_Enabled[index] = enabled;
}

// A menu opened again while it is still on the stack (the game rebuilds its
// menus in place) must not appear twice, or the decided path would name it
// twice; what was opened from it is closed.
void SimpleMenu::Open() {
    auto& stack = m_pRoot->m_OpenStack;
    auto it = std::find(stack.begin(), stack.end(), this);
    if (it != stack.end()) {
        while (stack.back() != this)
            m_pRoot->Pop();
        stack.pop_back();
    }
    stack.push_back(this);
    m_Active = true;
    if (m_Cursor == NO_ITEM) m_Cursor = 0;
}

void SimpleMenu::BringToTop() {
    RemoveFromStack();
    Open();
}

void SimpleMenu::RemoveFromStack() {
    auto& stack = m_pRoot->m_OpenStack;
    auto it = std::find(stack.begin(), stack.end(), this);
    if (it != stack.end()) stack.erase(it);
}

SimpleMenu* SimpleMenu::Pop() {
    auto& stack = m_pRoot->m_OpenStack;
    if (stack.empty()) return nullptr;
    SimpleMenu* top = stack.back();
    top->Deactivate();
    top->m_Active = false;
    stack.pop_back();
    return stack.empty() ? nullptr : stack.back();
}

void SimpleMenu::CloseAll() {
    for (SimpleMenu* menu : m_pRoot->m_AllMenus) {
        menu->m_Active = false;
        menu->RemoveFromStack();
    }
}

// Deeper sub-menus go too: nothing else points at them, and a game that
// rebuilds its menus for every choice would otherwise lose them each time.
void SimpleMenu::DeleteChildren() {
    for (SimpleMenu*& child : m_Children) {
        if (child == nullptr) continue;
        child->DeleteChildren();
        delete child;
        child = nullptr;
    }
}

void SimpleMenu::Activate() {
    m_pIcon->Open();
    m_LockFrames = LOCK_FRAMES;
    if (m_ReopenedByMouse) {
        m_FollowMouse = true;
        m_ReopenedByMouse = false;
    }
}

void SimpleMenu::Deactivate() {
    m_pIcon->Close();
    for (SimpleMenu* child : m_Children) {
        if (child != nullptr) child->Deactivate();
    }
    m_LockFrames = LOCK_FRAMES;
}

bool SimpleMenu::IsDecided() const {
    const auto& stack = m_pRoot->m_OpenStack;
    return !stack.empty() && stack.back()->m_HitItemNo >= 0;
}

std::wstring SimpleMenu::GetResultPath() const {
    std::wstring path;
    for (const SimpleMenu* menu : m_pRoot->m_OpenStack) {
        if (!path.empty()) path += L"-";
        path += menu->m_ResultName;
    }
    PrintWide(path);
    return path;
}

// Cells include their left and top edges, not their right and bottom ones.
int32_t SimpleMenu::GetMenuHit() const {
    if (!TakesInput()) return NO_ITEM;
    const Controller* input = Controller::Get();
    if (input == nullptr) return NO_ITEM;
    const int32_t mx = input->GetMouseX(), my = input->GetMouseY();
    const int32_t charWidth = CharWidth();
    for (int32_t i = 0; i < ItemCount(); ++i) {
        const Cell c = CellOf(i, charWidth);
        if (mx >= c.x && mx < c.x + c.w && my >= c.y && my < c.y + c.h)
            return m_Enabled[i] ? i : NO_ITEM;
    }
    return NO_ITEM;
}

std::wstring SimpleMenu::GetMenuItemName(int32_t index) const {
    if (!KURA_CHECK(index >= 0 && index < ItemCount(), "index<m_Row*m_Column", SOURCE_NAME,
                    "Kura::SimpleMenu::GetMenuItemName", __LINE__))
        return std::wstring();
    return m_Names[index];
}

SimpleMenu* SimpleMenu::GetChild(int32_t index) const {
    return index >= 0 && index < ItemCount() ? m_Children[index] : nullptr;
}

bool SimpleMenu::IsTop() const {
    const auto& stack = m_pRoot->m_OpenStack;
    return !stack.empty() && stack.back() == this;
}

// A menu opened with no items or a disabled first item still has its cursor on
// item 0, which must not be decided.
bool SimpleMenu::IsEnabledItem(int32_t index) const {
    return index >= 0 && index < ItemCount() && m_Enabled[index];
}

bool SimpleMenu::TakesInput() const {
    return m_Active && m_LockFrames == 0 && m_pIcon->GetState() == Icon::STATE_OPEN;
}

int32_t SimpleMenu::CharWidth() const {
    ImageFont* font = ImageFont::Get();
    if (font == nullptr) return 0;
    font->SetLetterSpacing(0);
    return font->GetWidth(m_FontType, CELL_CHARACTER);
}

// Item i sits in column i mod columns and row i / columns, half a character
// and half a line in from the frame's corner.
SimpleMenu::Cell SimpleMenu::CellOf(int32_t index, int32_t charWidth) const {
    return {m_pIcon->GetX() + (index % m_Column) * m_ItemWidth + charWidth / 2,
            m_pIcon->GetY() + (index / m_Column) * m_ItemHeight + m_ItemHeight / 2, m_ItemWidth,
            m_ItemHeight};
}

// The next (or previous) enabled item from the cursor, wrapping at both ends;
// NO_ITEM when no item is enabled, so the search always ends.
int32_t SimpleMenu::EnabledNeighbour(bool forward) const {
    const int32_t count = ItemCount();
    int32_t item = std::max(m_Cursor, 0);
    for (int32_t step = 0; step < count; ++step) {
        item = forward ? EnumPlusplusLoop(item, 0, count) : EnumMinusminusLoop(item, 0, count);
        if (m_Enabled[item]) return item;
    }
    return NO_ITEM;
}

void SimpleMenu::MoveCursor(bool forward) {
    const int32_t item = EnabledNeighbour(forward);
    if (item == NO_ITEM) return;
    m_Cursor = item;
    Audio::PlaySe(SE_CURSOR);
}

// The first matching rule wins. Answers the decided item, CANCEL or NO_ITEM.
// A click carries its own position, so it often arrives in the very frame the
// pointer moved: the cursor follows the pointer and the click still counts,
// or the player's click would be lost.
int32_t SimpleMenu::ReadInput(int32_t hit) {
    const Controller* input = Controller::Get();
    if (input == nullptr) return NO_ITEM;
    const bool top = IsTop();
    if (input->IsMouseMoved() || m_FollowMouse) {
        if (top || hit >= 0) m_Cursor = hit;
        m_FollowMouse = false;
        if (!input->IsLMousePressed() && !input->IsRMousePressed()) return NO_ITEM;
    }
    if (input->IsLMousePressed() && hit >= 0) {
        // The item under the pointer, even when the keys moved the cursor elsewhere.
        m_ReopenedByMouse = true;
        return hit;
    } else if (input->IsRMousePressed()) {
        m_ReopenedByMouse = true;
        return CANCEL;
    } else if (top && input->IsPressed(Controller::KEY_X)) {
        return CANCEL;
    } else if (top && input->IsPressed(Controller::KEY_Z)) {
        return IsEnabledItem(m_Cursor) ? m_Cursor : NO_ITEM;
    } else if (top && input->IsRepeat(Controller::KEY_UP, CURSOR_REPEAT_INTERVALS)) {
        MoveCursor(false);
    } else if (top && input->IsRepeat(Controller::KEY_DOWN, CURSOR_REPEAT_INTERVALS)) {
        MoveCursor(true);
    }
    return NO_ITEM;
}

// Cancel closes the top menu and returns to the one below; the bottom menu stays.
void SimpleMenu::Cancel() {
    if (m_pRoot->m_OpenStack.size() <= 1) return;
    SimpleMenu* below = Pop();
    below->m_Active = true;
    below->Activate();
    Audio::PlaySe(SE_CANCEL);
}

void SimpleMenu::Decide(int32_t item) {
    Audio::PlaySe(SE_DECIDE);
    m_Cursor = item;
    PrintWide(L"m_HitItemNo=" + ConvString::IntToWString(m_Cursor));
    m_ResultName = m_Names[item];
    m_HitItemNo = m_LastHitItemNo = item;
    PrintWide(L"result=" + ConvString::IntToWString(m_Cursor) + L" " + m_ResultName);
    SimpleMenu* child = m_Children[item];
    if (child == nullptr || child->ItemCount() == 0) return;
    Deactivate();
    child->m_ReopenedByMouse = true;
    child->Activate();
    child->m_Active = true;
    child->Open();
}

void SimpleMenu::Proc() {
    if (!KURA_CHECK(m_pIcon, "m_pIcon", SOURCE_NAME, "Kura::SimpleMenu::Proc", __LINE__)) return;
    m_HitItemNo = NO_ITEM;
    m_pIcon->Update();
    if (TakesInput()) {
        const int32_t result = ReadInput(GetMenuHit());
        if (result == CANCEL)
            Cancel();
        else if (result >= 0)
            Decide(result);
    }
    if (m_LockFrames > 0) --m_LockFrames;
    for (SimpleMenu* child : m_Children) {
        if (child != nullptr) child->Proc();
    }
}

// The highlight is drawn after the children, over the text.
void SimpleMenu::Draw() {
    if (!KURA_CHECK(m_pIcon, "m_pIcon", SOURCE_NAME, "Kura::SimpleMenu::Draw", __LINE__)) return;
    m_pIcon->Draw();
    const bool open = m_pIcon->GetState() == Icon::STATE_OPEN;
    ImageFont* font = ImageFont::Get();
    const int32_t charWidth = CharWidth();
    if (open && font != nullptr) {
        font->SetFontType(m_FontType);
        for (int32_t i = 0; i < ItemCount(); ++i) {
            const uint32_t color = i == m_Cursor  ? CURSOR_ITEM_COLOR
                                   : m_Enabled[i] ? ENABLED_ITEM_COLOR
                                                  : DISABLED_ITEM_COLOR;
            font->SetColor(color);
            const Cell c = CellOf(i, charWidth);
            font->Draw(c.x, c.y, m_Names[i].c_str());
        }
    }
    for (SimpleMenu* child : m_Children) {
        if (child != nullptr) child->Draw();
    }
    if (open && m_Cursor != NO_ITEM && m_Cursor < ItemCount()) {
        Draw2D draw;
        draw.SetTexture(nullptr, true);
        draw.SetColor(HIGHLIGHT_COLOR);
        const Cell c = CellOf(m_Cursor, charWidth);
        draw.DrawRect(c.x, c.y, c.w, c.h);
    }
}

} // namespace Kura
