// Menu input frame by frame: the cursor keys with wrap, skip and hold repeat,
// the mouse, decisions, sub-menus and cancel. (Decided paths are followed through
// the game's menus in the controller's story tests.)
#include "menu_fixture.h"

#include "ofGraphics.h"

using Kura::Icon;
using Kura::SimpleMenu;
using namespace widgets_test;

namespace {

using MenuInputTest = MenuTest;

// The on-screen cell of the cursor item, found from the highlight drawn over it:
// the only place where red outweighs green.
kura_test::Box CursorCell(SimpleMenu& root) {
    kura_test::beginFrame();
    ofEnableAlphaBlending();
    root.Draw();
    return kura_test::boundsWhere([](const kura_test::Rgba& p) { return p.r > p.g; });
}

void FillRow(SimpleMenu& menu, std::initializer_list<bool> enabled) {
    int column = 0;
    for (bool on : enabled) {
        menu.SetMenuItem(0, column, L"項目" + std::to_wstring(column), nullptr, on);
        ++column;
    }
}

TEST_F(MenuInputTest, DisabledMiddleItemIsSkippedAndTheCursorWraps) {
    SimpleMenu menu(nullptr, 10, 10, MENU_FONT, 1, 3);
    FillRow(menu, {true, false, true});
    Show(menu, menu);
    ASSERT_EQ(menu.GetCursor(), 0);

    Silence();
    Tap(menu, KEY_DOWN);
    EXPECT_EQ(menu.GetCursor(), 2);
    EXPECT_EQ(Playing(), "2");
    Silence();
    Tap(menu, KEY_DOWN);
    EXPECT_EQ(menu.GetCursor(), 0) << "from the last item to the first";
    Tap(menu, KEY_UP);
    EXPECT_EQ(menu.GetCursor(), 2) << "from the first item to the last";
    Tap(menu, KEY_UP);
    EXPECT_EQ(menu.GetCursor(), 0);
}

TEST_F(MenuInputTest, HeldArrowRepeatsAfterMoreThanOneHoldInterval) {
    SimpleMenu menu(nullptr, 10, 10, MENU_FONT, 1, 3);
    FillRow(menu, {true, true, true});
    Show(menu, menu);
    std::vector<int> moves;
    int cursor = menu.GetCursor();
    Kura::g_pInput->OnKeyPressed(KEY_DOWN);
    for (int frame = 0; frame <= 35; ++frame) {
        Step(menu);
        if (menu.GetCursor() != cursor) moves.push_back(frame);
        cursor = menu.GetCursor();
    }
    // Pressed in frame 0, then held with counts 1, 2, ...: repeats at 20 and 30.
    EXPECT_EQ(moves, (std::vector<int>{0, 20, 30}));
    EXPECT_EQ(menu.GetCursor(), 0) << "three steps down a three-item menu";
}

TEST_F(MenuInputTest, CellsHoldTheirLeftAndTopEdgesOnly) {
    SimpleMenu menu(nullptr, 10, 10, MENU_FONT, 2, 2);
    for (int i = 0; i < 4; ++i)
        menu.SetMenuItem(i / 2, i % 2, L"あ", nullptr, true);
    Show(menu, menu);
    const kura_test::Box cell = CursorCell(menu); // item 0
    ASSERT_GT(cell.w, 0);
    struct Probe {
        int x, y, item;
    } probes[] = {
        {cell.x, cell.y, 0},
        {cell.x + cell.w - 1, cell.y + cell.h - 1, 0},
        {cell.x + cell.w, cell.y, 1}, // right edge: the next column
        {cell.x, cell.y + cell.h, 2}, // bottom edge: the next row
        {cell.x - 1, cell.y, SimpleMenu::NO_ITEM},
        {cell.x, cell.y - 1, SimpleMenu::NO_ITEM},
    };
    for (const Probe& p : probes) {
        MoveMouse(menu, p.x, p.y);
        EXPECT_EQ(menu.GetCursor(), p.item) << p.x << "," << p.y;
    }
    // A click on the pixel just right of the last column's cell misses it.
    MoveMouse(menu, cell.x + 2 * cell.w, cell.y);
    Silence();
    PressButton(menu, LEFT_BUTTON);
    EXPECT_EQ(menu.GetHitItemNo(), SimpleMenu::NO_ITEM);
    EXPECT_EQ(Playing(), "");
    ReleaseButton(menu, LEFT_BUTTON);
    MoveMouse(menu, cell.x + 2 * cell.w - 1, cell.y + 2 * cell.h - 1);
    PressButton(menu, LEFT_BUTTON);
    EXPECT_EQ(menu.GetHitItemNo(), 3);
    EXPECT_EQ(Playing(), "0");
}

// A quick player moves and clicks within one frame: the cursor follows the
// pointer and the click decides there, instead of being lost.
TEST_F(MenuInputTest, AClickInTheFrameThePointerArrivedDecides) {
    SimpleMenu menu(nullptr, 10, 10, MENU_FONT, 3, 1);
    for (int row = 0; row < 3; ++row)
        menu.SetMenuItem(row, 0, L"案" + std::to_wstring(row), nullptr, true);
    Show(menu, menu);
    const kura_test::Box first = CursorCell(menu);
    const int x = first.x + 2;
    const int y = first.y + first.h + 2; // inside the second item
    Kura::g_pInput->OnMouseMoved(x, y);
    Kura::g_pInput->OnMousePressed(x, y, LEFT_BUTTON);
    Step(menu);
    EXPECT_EQ(menu.GetCursor(), 1);
    EXPECT_EQ(menu.GetHitItemNo(), 1);
    EXPECT_EQ(menu.GetResultName(), L"案1");
}

TEST_F(MenuInputTest, MenusWithoutChoosableItemsIgnoreKeysAndClicks) {
    SimpleMenu disabled(nullptr, 10, 10, MENU_FONT, 1, 3);
    FillRow(disabled, {false, false, false});
    SimpleMenu empty(nullptr, 10, 10, MENU_FONT, 0, 1);
    for (SimpleMenu* menu : {&disabled, &empty}) {
        Show(*menu, *menu);
        const int cursor = menu->GetCursor();
        Silence();
        for (int key : {KEY_DOWN, KEY_UP, int('z')}) {
            Press(*menu, key);
            EXPECT_EQ(menu->GetHitItemNo(), SimpleMenu::NO_ITEM);
            Release(*menu, key);
        }
        MoveMouse(*menu, 40, 30);
        PressButton(*menu, LEFT_BUTTON);
        EXPECT_EQ(menu->GetHitItemNo(), SimpleMenu::NO_ITEM);
        ReleaseButton(*menu, LEFT_BUTTON);
        EXPECT_EQ(Playing(), "");
        EXPECT_FALSE(menu->IsDecided());
        EXPECT_LE(menu->GetCursor(), std::max(cursor, 0));
    }
}

// Parent (with a child of two items) and Other.
struct Tree {
    SimpleMenu root{nullptr, 10, 10, MENU_FONT, 0, 1};
    SimpleMenu* child = nullptr;

    void Build() {
        root.DeleteChildren();
        root.SetRowColumn(2, 1);
        child = new SimpleMenu(&root, 10, 10, MENU_FONT, 0, 1);
        child->SetRowColumn(2, 1);
        child->SetMenuItem(0, 0, L"ChildA", nullptr, true);
        child->SetMenuItem(1, 0, L"ChildB", nullptr, true);
        root.SetMenuItem(0, 0, L"Parent", child, true);
        root.SetMenuItem(1, 0, L"Other", nullptr, true);
    }
    ~Tree() { root.DeleteChildren(); }
};

TEST_F(MenuInputTest, DecidingOpensTheSubMenuAndRightClickReturnsToItsParent) {
    Tree tree;
    tree.Build();
    Show(tree.root, tree.root);
    Silence();
    Press(tree.root, 'z');
    EXPECT_EQ(tree.root.GetHitItemNo(), 0);
    EXPECT_FALSE(tree.root.IsDecided()) << "an item with a sub-menu is not a decision";
    EXPECT_EQ(Playing(), "0");
    EXPECT_TRUE(tree.child->IsActive());
    EXPECT_EQ(tree.root.GetIcon()->GetState(), Icon::STATE_CLOSING);
    Release(tree.root, 'z');
    EXPECT_EQ(tree.root.GetHitItemNo(), SimpleMenu::NO_ITEM) << "visible for one frame";
    EXPECT_EQ(tree.root.GetLastHitItemNo(), 0);

    // A decision opens the sub-menu following the mouse, which is on no item.
    WaitReady(*tree.child, tree.root);
    Step(tree.root);
    EXPECT_EQ(tree.child->GetCursor(), SimpleMenu::NO_ITEM);
    Tap(tree.root, 'z');
    EXPECT_EQ(tree.child->GetLastHitItemNo(), SimpleMenu::NO_ITEM) << "no cursor, no decision";
    Tap(tree.root, KEY_DOWN);
    EXPECT_EQ(tree.child->GetCursor(), 1) << "from no cursor, down goes to item 1";
    Silence();
    PressButton(tree.root, RIGHT_BUTTON);
    EXPECT_EQ(Playing(), "1");
    EXPECT_FALSE(tree.child->IsActive());
    EXPECT_EQ(tree.child->GetIcon()->GetState(), Icon::STATE_CLOSING);
    EXPECT_TRUE(tree.root.IsActive());
    EXPECT_EQ(tree.root.GetIcon()->GetState(), Icon::STATE_OPENING);
    ReleaseButton(tree.root, RIGHT_BUTTON);

    // In the bottom menu, cancel does nothing.
    WaitReady(tree.root, tree.root);
    Silence();
    PressButton(tree.root, RIGHT_BUTTON);
    ReleaseButton(tree.root, RIGHT_BUTTON);
    Tap(tree.root, 'x');
    EXPECT_EQ(Playing(), "");
    EXPECT_EQ(tree.root.GetIcon()->GetState(), Icon::STATE_OPEN);
    EXPECT_TRUE(tree.root.IsActive());
}

TEST_F(MenuInputTest, DeletingChildrenTakesTheWholeSubtreeOffTheStack) {
    Tree tree;
    tree.Build();
    auto* grandchild = new SimpleMenu(&tree.root, 10, 10, MENU_FONT, 1, 1);
    grandchild->SetMenuItem(0, 0, L"Deep", nullptr, true);
    tree.child->SetMenuItem(0, 0, L"ChildA", grandchild, true);
    Show(tree.root, tree.root);
    Tap(tree.root, 'z');
    WaitReady(*tree.child, tree.root);
    Tap(tree.root, KEY_DOWN);
    Tap(tree.root, KEY_DOWN);
    Tap(tree.root, 'z');
    WaitReady(*grandchild, tree.root);
    Step(tree.root);
    ASSERT_EQ(tree.root.GetResultPath(), L"Parent-ChildA-");

    tree.root.DeleteChildren(); // the grandchild is deleted with its parent
    EXPECT_EQ(tree.root.GetResultPath(), L"Parent");
}

TEST_F(MenuInputTest, InputWaitsFiveFramesAfterActivation) {
    SimpleMenu menu(nullptr, 10, 10, MENU_FONT, 1, 1);
    menu.SetMenuItem(0, 0, L"あ", nullptr, true);
    menu.GetIcon()->SetW(0); // open after two frames, so only the lock holds input back
    menu.Activate();
    menu.SetActive(true);
    menu.Open();
    for (int frame = 1; frame <= 4; ++frame)
        Step(menu);
    EXPECT_EQ(menu.GetIcon()->GetState(), Icon::STATE_OPEN);
    EXPECT_TRUE(menu.IsLocked());
    Press(menu, 'z'); // the fifth frame
    EXPECT_EQ(menu.GetHitItemNo(), SimpleMenu::NO_ITEM);
    EXPECT_FALSE(menu.IsLocked());
    Release(menu, 'z');
    Press(menu, 'z');
    EXPECT_EQ(menu.GetHitItemNo(), 0);
}

} // namespace
