// Frames drawn only where they change, on a real window: a changed one reaches
// the window in the frame it happens, the next draws nothing, and whatever was
// drawn only in part is, pixel for pixel, the frame drawn whole from scratch.
// (Idle frames that touch neither the back buffer nor the window, and a window
// that gets back its lost content: the idle program's own test.)
#include "gl_test_window.h"
#include "of/Draw2D.h"
#include "of/ImageFont.h"
#include "shown_on_window.h"

#include "ofAppRunner.h"
#include "ofBaseApp.h"
#include "ofFrameDrawer.h"
#include "ofGraphics.h"
#include "ofTexture.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using kura_test::Rgba;
using kura_test::WINDOW_H;
using kura_test::WINDOW_W;

constexpr int PICTURE_SIZE = 64;
constexpr int WINDOW_X = 20;
constexpr int WINDOW_Y = 20;
constexpr int SETTLE_EVENTS = 10;
// A marker drawn straight into the back buffer between frames: a frame that is
// not drawn leaves it there.
constexpr int MARKER_X = 300;
constexpr int MARKER_Y = 220;

// What the scene shows; each test changes one thing between frames.
struct Scene {
    Rgba background{20, 30, 60, 255};
    int boxX = 40;
    Rgba boxColor{200, 60, 40, 255};
    std::wstring text = L"あいう";
    int fadeAlpha = 0;
};

// Draws the scene as the game draws: a clear, a picture, a box, text, a fade.
class SceneApp : public ofBaseApp {
public:
    Scene scene;
    ofTexture picture;

    void draw() override {
        const Scene& s = scene;
        ofClear(s.background.r, s.background.g, s.background.b, s.background.a);
        Kura::Draw2D d;
        d.SetTexture(&picture, true);
        d.DrawTexture(150, 20, 96, 96, 0, 0, PICTURE_SIZE, PICTURE_SIZE, false, false);
        d.EndTexture();
        d.SetTexture(nullptr, true);
        d.SetColor(s.boxColor.r, s.boxColor.g, s.boxColor.b, s.boxColor.a);
        d.DrawRect(s.boxX, 140, 30, 20);
        Kura::ImageFont* font = Kura::ImageFont::Get();
        font->SetFontType(0);
        font->SetColor(0xFFFFFFFFu);
        font->Draw(20, 180, s.text.c_str());
        if (s.fadeAlpha > 0) {
            d.SetColor(0, 0, 0, s.fadeAlpha);
            d.DrawRect(0, 0, WINDOW_W, WINDOW_H);
        }
    }
};

std::vector<uint8_t> picturePixels(uint8_t shade) {
    std::vector<uint8_t> px(PICTURE_SIZE * PICTURE_SIZE * 3);
    for (int y = 0; y < PICTURE_SIZE; ++y)
        for (int x = 0; x < PICTURE_SIZE; ++x) {
            uint8_t* p = &px[(y * PICTURE_SIZE + x) * 3];
            p[0] = static_cast<uint8_t>(x * 4), p[1] = static_cast<uint8_t>(y * 4), p[2] = shade;
        }
    return px;
}

class FrameDrawerTest : public testing::Test {
protected:
    void SetUp() override {
        kura_test::openWindowOnce();
        // Whole on the screen, so that what it shows can be read there.
        ofSetWindowPosition(WINDOW_X, WINDOW_Y);
        for (int i = 0; i < SETTLE_EVENTS; ++i)
            glutMainLoopEvent();
        Kura::Draw2D::Init();
        Kura::ImageFont::Create();
        Kura::ImageFont::Get()->AddFont(kura_test::MINCHO, 16);
        app.picture.allocate(PICTURE_SIZE, PICTURE_SIZE, GL_RGB);
        app.picture.loadData(picturePixels(0).data(), PICTURE_SIZE, PICTURE_SIZE, GL_RGB);
        ofEnableAlphaBlending();
        ASSERT_TRUE(drawer.drawFrame(app, WINDOW_W, WINDOW_H, false, true));
    }
    void TearDown() override {
        app.picture.clear();
        Kura::ImageFont::Destroy();
        Kura::Draw2D::Term();
    }

    bool frame() { return drawer.drawFrame(app, WINDOW_W, WINDOW_H, false, false); }

    // The scene drawn whole from scratch into the back buffer, as drawing at
    // once would draw it; the drawer's next frame then starts anew.
    std::vector<Rgba> drawnWhole() {
        glViewport(0, 0, WINDOW_W, WINDOW_H);
        ofSetupScreenPerspective(WINDOW_W, WINDOW_H);
        app.draw();
        std::vector<Rgba> px = kura_test::drawnOpaque();
        drawer.drawFrame(app, WINDOW_W, WINDOW_H, false, true);
        return px;
    }

    void drawMarker() {
        glViewport(0, 0, WINDOW_W, WINDOW_H);
        ofSetupScreenPerspective(WINDOW_W, WINDOW_H);
        ofSetColor(0, 255, 0);
        ofRect(MARKER_X, MARKER_Y, 4, 4);
    }

    // The window shows the frame as drawing it whole from scratch would.
    void expectShownAsDrawnWhole(const char* what) {
        const std::vector<Rgba> shown = kura_test::shownOnWindow();
        EXPECT_EQ(kura_test::differing(shown, drawnWhole()), 0) << what;
    }

    SceneApp app;
    ofFrameDrawer drawer;
};

TEST_F(FrameDrawerTest, MovedBoxIsDrawnInItsFrameOverItsOldAndNewPlaceOnly) {
    drawMarker();
    app.scene.boxX = 60;
    ASSERT_TRUE(frame());
    const ofPixelArea a = drawer.getLastArea();
    EXPECT_LE(a.x, 40);
    EXPECT_GE(a.x + a.w, 90);
    EXPECT_LE(a.y, 140);
    EXPECT_GE(a.y + a.h, 160);
    EXPECT_LT(a.w * a.h, 80 * 40) << "redrawn " << a.w << " x " << a.h;
    EXPECT_EQ(kura_test::pixelAt(MARKER_X, MARKER_Y), (Rgba{0, 255, 0, 255}))
        << "drawn outside the change";
    EXPECT_EQ(kura_test::shownOnWindow()[145 * WINDOW_W + 85], (Rgba{200, 60, 40, 255}))
        << "the box's new place is not on the window";
    expectShownAsDrawnWhole("box moved");
}

// A new picture under the same commands counts as a change too.
TEST_F(FrameDrawerTest, EveryKindOfChangeEndsAsTheWholeFrame) {
    const std::vector<uint8_t> newPicture = picturePixels(255);
    const std::pair<const char*, std::function<void(SceneApp&)>> steps[] = {
        {"colour",
         [](SceneApp& a) {
             a.scene.boxColor = {40, 200, 90, 160};
         }},
        {"typed character", [](SceneApp& a) { a.scene.text += L"え"; }},
        {"shorter text", [](SceneApp& a) { a.scene.text = L"あ"; }},
        {"fade", [](SceneApp& a) { a.scene.fadeAlpha = 128; }},
        {"fade gone", [](SceneApp& a) { a.scene.fadeAlpha = 0; }},
        {"background",
         [](SceneApp& a) {
             a.scene.background = {90, 90, 90, 255};
         }},
        {"picture replaced",
         [&](SceneApp& a) {
             a.picture.loadData(newPicture.data(), PICTURE_SIZE, PICTURE_SIZE, GL_RGB);
         }},
    };
    for (const auto& [what, change] : steps) {
        change(app);
        EXPECT_TRUE(frame()) << what;
        expectShownAsDrawnWhole(what);
        EXPECT_FALSE(frame()) << what << " drawn again";
    }
}

} // namespace
