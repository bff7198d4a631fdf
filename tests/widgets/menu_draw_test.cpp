// What menus and frames put on screen, read back from a real window: cell
// geometry from a real font, item colours, the highlight, and the border.
#include "menu_fixture.h"

#include "ofGraphics.h"

using Kura::ImageFont;
using Kura::SimpleMenu;
using kura_test::Box;
using kura_test::Rgba;
using namespace widgets_test;

namespace {

using MenuDrawTest = MenuTest;

Box BoundsOf(const Rgba& colour) {
    return kura_test::boundsWhere(
        [&](const Rgba& p) { return p.r == colour.r && p.g == colour.g && p.b == colour.b; });
}

bool Inside(const Box& inner, const Box& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y + inner.h <= outer.y + outer.h;
}

TEST_F(MenuDrawTest, GeometryComesFromTheFontsCharacterAndLine) {
    ImageFont& font = *ImageFont::Get();
    font.SetFontType(MENU_FONT);
    const int charWidth = font.GetWidth(MENU_FONT, L"あ");
    const int lineHeight = font.GetLineHeight();
    ASSERT_GT(charWidth, 10);
    ASSERT_GT(lineHeight, 10);

    SimpleMenu menu(nullptr, 7, 9, 0, 1, 1);
    menu.SetMenuItem(0, 0, L"消える", nullptr, true);
    menu.SetDispStringInfo(MENU_FONT, 3, 2);
    EXPECT_EQ(menu.GetMenuItemName(0), L"") << "a new grid clears the items";
    EXPECT_EQ(menu.GetFontType(), MENU_FONT);
    EXPECT_EQ(menu.GetItemWidth(), charWidth * 6);
    EXPECT_EQ(menu.GetItemHeight(), static_cast<int>(lineHeight * 1.3));
    EXPECT_EQ(menu.GetIcon()->GetX(), 7);
    EXPECT_EQ(menu.GetIcon()->GetW(), charWidth * 6 * 3);
    EXPECT_EQ(menu.GetIcon()->GetH(), static_cast<int>(lineHeight * 1.3) * 4);

    // Item 3 is row 1, column 1; its text starts at its cell's corner.
    menu.SetMenuItem(1, 1, L"永", nullptr, true);
    Show(menu, menu);
    kura_test::beginFrame();
    menu.Draw();
    const Box text = BoundsOf({0x77, 0x88, 0x99, 255});
    const int cellX = 7 + menu.GetItemWidth() + charWidth / 2;
    const int cellY = 9 + menu.GetItemHeight() + menu.GetItemHeight() / 2;
    EXPECT_TRUE(Inside(text, {cellX, cellY, menu.GetItemWidth(), menu.GetItemHeight()}))
        << text.x << "," << text.y << " " << text.w << "x" << text.h;
    EXPECT_LT(text.x - cellX, charWidth / 2);
}

TEST_F(MenuDrawTest, ItemPositionsAndBadGridsAreCheckedAndGoOn) {
    SimpleMenu menu(nullptr, 0, 0, MENU_FONT, 2, 2);
    menu.SetMenuItem(1, 0, L"二", nullptr, true);
    EXPECT_EQ(menu.GetMenuItemName(2), L"二") << "row 1, column 0 of two columns";
    menu.SetMenuItem(2, 0, L"外", nullptr, true);
    menu.SetIsEnableMenu(0, 4, true);
    EXPECT_EQ(menu.GetMenuItemName(-1), L"");
    EXPECT_EQ(menu.GetMenuItemName(4), L"");

    // A refused grid is empty, so nothing is sized from the bad counts.
    menu.SetDispStringInfo(MENU_FONT, -1, 2);
    EXPECT_EQ(menu.GetRow(), 0);
    menu.SetDispStringInfo(MENU_FONT, 3, 1000);
    EXPECT_EQ(menu.GetColumn(), 0);
    menu.SetMenuItem(0, 0, L"無", nullptr, true);
    Show(menu, menu);
    Tap(menu, KEY_DOWN);
    Tap(menu, 'z');
    EXPECT_EQ(menu.GetLastHitItemNo(), SimpleMenu::NO_ITEM);

    const std::string log = ReadFile("log.txt");
    for (const char* report :
         {"Line=", "Func=Kura::SimpleMenu::SetMenuItem\nmes=0\n",
          "Func=Kura::SimpleMenu::SetIsEnableMenu\nmes=0\n",
          "Func=Kura::SimpleMenu::GetMenuItemName\nmes=index<m_Row*m_Column\n",
          "Func=Kura::SimpleMenu::SetDispStringInfo\nmes=col!=-1 && row!=-1\n",
          "Func=Kura::SimpleMenu::SetDispStringInfo\nmes=col<1000 && row<1000\n"})
        EXPECT_NE(log.find(report), std::string::npos) << report;
}

TEST_F(MenuDrawTest, ItemColoursAndTheHighlightOverTheCursorItem) {
    SimpleMenu menu(nullptr, 10, 10, MENU_FONT, 3, 1);
    menu.SetMenuItem(0, 0, L"永永", nullptr, true);
    menu.SetMenuItem(1, 0, L"永永", nullptr, false);
    menu.SetMenuItem(2, 0, L"永永", nullptr, true);

    kura_test::beginFrame();
    menu.Draw();
    EXPECT_EQ(kura_test::boundsWhere([](const Rgba& p) { return p.r || p.g || p.b; }).w, 0)
        << "a closed menu draws nothing";

    Show(menu, menu);
    kura_test::beginFrame();
    ofEnableAlphaBlending();
    menu.Draw();
    // Red at alpha 34 over the black background, and over the white cursor text;
    // below it the disabled item's text, then the enabled one's.
    const Box highlight = BoundsOf({34, 0, 0, 255});
    EXPECT_EQ(highlight.w, menu.GetItemWidth());
    EXPECT_EQ(highlight.h, menu.GetItemHeight());
    EXPECT_TRUE(Inside(BoundsOf({255, 221, 221, 255}), highlight));
    const Box disabled = BoundsOf({0x11, 0x33, 0x55, 255});
    EXPECT_GE(disabled.y, highlight.y + highlight.h);
    EXPECT_GE(BoundsOf({0x77, 0x88, 0x99, 255}).y, disabled.y + disabled.h);
}

TEST_F(MenuDrawTest, FrameBorderHasTheGivenThickness) {
    kura_test::beginFrame();
    Kura::Draw2D draw;
    draw.SetTexture(nullptr, true);
    draw.SetColor(0x00FF00FFu);
    Kura::DrawFrame(10, 20, 100, 50, 3);
    const Rgba green{0, 255, 0, 255}, black{0, 0, 0, 255};
    const Box all = BoundsOf(green);
    EXPECT_EQ(all, (kura_test::Box{10, 20, 100, 50}));
    for (auto [x, y] : {std::pair{10, 20},
                        {109, 20},
                        {10, 69},
                        {109, 69},
                        {12, 40},
                        {107, 40},
                        {60, 22},
                        {60, 67}})
        EXPECT_EQ(kura_test::pixelAt(x, y), green) << x << "," << y;
    for (auto [x, y] : {std::pair{13, 23}, {106, 66}, {60, 40}})
        EXPECT_EQ(kura_test::pixelAt(x, y), black) << x << "," << y;
}

} // namespace
