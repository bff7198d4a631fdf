// What picture windows put on screen, read back from a real window: nothing
// until visible and loaded, part of a picture, shared faces, flips mirroring in
// place, and missing pictures. (A whole picture at its own size in its window:
// the title picture of the end-to-end demo run.)
#include "of/Draw2D.h"
#include "of/TextureManager.h"
#include "of/Window.h"

#include "gl_test_window.h"
#include "scratch_dir.h"
#include "test_window_settings.h"

#include <filesystem>

using namespace Kura;
using kura_test::Rgba;

namespace {

constexpr Rgba RED{255, 0, 0, 255}, GREEN{0, 255, 0, 255}, BLUE{0, 0, 255, 255},
    WHITE{255, 255, 255, 255}, BLACK{0, 0, 0, 255}, GREY{128, 128, 128, 255};

// Red, green / blue, white quarters, so any mirroring shows.
Rgba Quarters(int x, int y) {
    const bool right = x >= 150, bottom = y >= 100;
    return bottom ? (right ? WHITE : BLUE) : (right ? GREEN : RED);
}

class WindowDrawTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        kura_test::openWindowOnce();
        TextureManager::Create();
        Draw2D::Init();
        Window::SetSettings(&m_Settings);
        std::filesystem::create_directories("data/game1/image/chara");
        kura_test::writePng("data/game1/image/quarters.png", 300, 200, Quarters);
        kura_test::writePng("data/game1/image/chara/grey.png", 40, 30,
                            [](int, int) { return GREY; });
    }
    void TearDown() override {
        Window::SetSettings(nullptr);
        Draw2D::Term();
        TextureManager::Destroy();
        ScratchDirTest::TearDown();
    }

    static kura_test::Box Drawn() {
        return kura_test::boundsWhere([](const Rgba& p) { return p.r || p.g || p.b; });
    }
    static Rgba At(int x, int y) { return kura_test::pixelAt(x, y); }

    widgets_test::TestWindowSettings m_Settings;
};

TEST_F(WindowDrawTest, NothingIsDrawnUntilVisibleAndLoaded) {
    TextWindow text(0);
    VideoWindow video(1);
    ImageWindow image(5);
    CharacterWindow chara(6);
    for (Window* w : std::initializer_list<Window*>{&text, &video, &image, &chara}) {
        w->SetRect(0, 0, 100, 100);
        w->SetVisible(1);
    }
    kura_test::beginFrame();
    for (Window* w : std::initializer_list<Window*>{&text, &video, &image, &chara})
        w->Draw();
    EXPECT_EQ(Drawn().w, 0) << "visible but nothing loaded";

    image.SetVisible(0);
    image.Load("image", "quarters.png");
    EXPECT_TRUE(image.IsLoaded());
    kura_test::beginFrame();
    image.Draw();
    EXPECT_EQ(Drawn().w, 0) << "loaded but not visible";

    image.SetVisible(1);
    kura_test::beginFrame();
    image.Draw();
    EXPECT_EQ(Drawn().w, 300);
}

TEST_F(WindowDrawTest, ImageRectSelectsPartOfThePicture) {
    ImageWindow image(0);
    image.Load("image", "quarters.png");
    image.SetImageRect(150, 100, 150, 100); // the white quarter
    image.SetRect(50, 60, 40, 20);
    image.SetVisible(1);
    kura_test::beginFrame();
    image.Draw();
    EXPECT_EQ(At(52, 62), WHITE);
    EXPECT_EQ(At(88, 78), WHITE);
    EXPECT_EQ(Drawn().w, 40);
}

TEST_F(WindowDrawTest, CharacterWindowsWithTheSameFaceShareOnePicture) {
    CharacterWindow a(0), b(1);
    for (CharacterWindow* w : {&a, &b}) {
        w->SetCharaIndex(2);
        w->SetFace(3);
        w->SetVisible(1);
    }
    a.Load("image/chara", "grey.png");
    EXPECT_NE(TextureManager::Get()->GetTexture(223), nullptr);
    EXPECT_TRUE(b.IsLoaded());
    b.ResetImageRect();
    b.SetRect(200, 150, 40, 30);
    kura_test::beginFrame();
    b.Draw();
    EXPECT_EQ(At(220, 160), GREY);

    // Loading through one changes what the other draws.
    b.Load("image", "quarters.png");
    a.SetRect(0, 0, 300, 200);
    a.ResetImageRect();
    kura_test::beginFrame();
    a.Draw();
    EXPECT_EQ(At(250, 150), WHITE);
    EXPECT_EQ(At(20, 20), RED);
}

TEST_F(WindowDrawTest, FlipsMirrorInPlace) {
    ImageWindow image(0);
    image.Load("image", "quarters.png");
    image.SetPos(10, 20);
    image.SetVisible(1);
    struct Case {
        int flipX, flipY;
        Rgba topLeft, bottomRight;
    } cases[] = {{1, 0, GREEN, BLUE}, {0, 1, BLUE, GREEN}, {1, 1, WHITE, RED}};
    for (const Case& c : cases) {
        image.SetFlip(c.flipX, c.flipY);
        kura_test::beginFrame();
        image.Draw();
        EXPECT_EQ(Drawn(), (kura_test::Box{10, 20, 300, 200}));
        EXPECT_EQ(At(20, 30), c.topLeft) << c.flipX << c.flipY;
        EXPECT_EQ(At(300, 210), c.bottomRight) << c.flipX << c.flipY;
    }
}

// A missing picture, and a slot past the texture table (window 1000 is slot
// 1100), which must not show the picture in slot 0, the one the table answers
// for numbers past its end.
TEST_F(WindowDrawTest, MissingPictureOrSlotPastTheTableIsReportedAndDrawsNothing) {
    ImageWindow title(-100); // slot 0
    title.Load("image", "quarters.png");
    const struct {
        int number;
        std::string file;
    } cases[] = {{0, "gone.png"}, {1000, "chara/grey.png"}};
    for (const auto& c : cases) {
        ImageWindow image(c.number);
        image.Load("image", "quarters.png");
        image.SetVisible(1);
        image.Load("image", c.file);
        EXPECT_FALSE(image.IsLoaded()) << c.number;
        EXPECT_EQ(image.GetRect().w, 0);
        EXPECT_EQ(image.GetRect().h, 0);
        EXPECT_EQ(image.GetImageRect().w, 0);
        kura_test::beginFrame();
        image.Draw();
        EXPECT_EQ(Drawn().w, 0) << c.number;
        EXPECT_NE(ReadFile("log.txt").find("Func=Kura::ImageWindow::Load\nmes=picture not loaded: "
                                           "game1/image/" +
                                           c.file + "\n"),
                  std::string::npos);
    }
}

} // namespace
