// The game controller's frames drawn as the program draws them, only where they
// change: a change on screen (a typed character, the menu cursor, a fade)
// reaches the window in the very frame it happens, exactly as drawing the whole
// frame from scratch would show it. (That an idle frame draws nothing is seen
// on the program itself, in idle_program_test.py.)
#include "shown_on_window.h"
#include "window_fixture.h"

#include "of/SimpleMenu.h"

#include "ofAppRunner.h"
#include "ofBaseApp.h"
#include "ofFrameDrawer.h"
#include "ofGraphics.h"

#include <GL/freeglut.h>

#include <vector>

namespace controller_test {
namespace {

constexpr int KEY_DOWN = 359;
constexpr int FRAME_LIMIT = 300;
// The game's window is put where the screen shows it whole.
constexpr int WINDOW_X = 10;
constexpr int WINDOW_Y = 10;
constexpr int SETTLE_EVENTS = 10;

// The game's draw as the application calls it; the window is the canvas's size.
class GameApp : public ofBaseApp {
public:
    void draw() override { Kura::GameMain::get()->draw(); }
};

class GameFrames : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ofSetWindowPosition(WINDOW_X, WINDOW_Y);
        for (int i = 0; i < SETTLE_EVENTS; ++i)
            glutMainLoopEvent();
    }

    // One frame as the program runs it: update, then drawing what changed.
    bool DrawnFrame() {
        Update();
        return m_drawer.drawFrame(m_app, WINDOW_W, WINDOW_H, true, false);
    }
    void WholeFrame() { m_drawer.drawFrame(m_app, WINDOW_W, WINDOW_H, true, true); }

    // Frames until one draws nothing.
    bool Settle() {
        for (int i = 0; i < FRAME_LIMIT; ++i)
            if (!DrawnFrame()) return true;
        return false;
    }

    std::vector<Rgba> Shown() { return kura_test::shownOnWindow(WINDOW_W, WINDOW_H); }

    // The frame drawn whole from scratch, at once, as drawing without the
    // frame drawer would; the back buffer is then drawn whole again.
    std::vector<Rgba> DrawnWhole() {
        glViewport(0, 0, WINDOW_W, WINDOW_H);
        ofSetupScreenPerspective(WINDOW_W, WINDOW_H);
        ofClear(0, 0, 0);
        game().draw();
        std::vector<Rgba> px = kura_test::drawnOpaque(WINDOW_W, WINDOW_H);
        WholeFrame();
        return px;
    }

    GameApp m_app;
    ofFrameDrawer m_drawer;
};

// Every frame that changes what is typed or the fade is drawn, and shown as the
// whole frame would be.
TEST_F(GameFrames, EachTypedCharacterAndEveryFrameOfAFadeIsShown) {
    WritePicture("data/game1/image/sky.png", 200, 100, {200, 120, 40});
    NewGame("callDispMessage(\"あいうえおかきくけこ\", -1);\nyield;\n"
            "callWindowManagerClearAll();\ncallWindowManagerAdd(2);\n"
            "callWindowLoad(0, \"image\", \"sky.png\");\ncallWindowSetVisible(0, 1);\n"
            "callEffectFadeOut(255, 255, 255, 500);\ncallEffectWait(2000, 1);\nyield;\n"
            "return 0;\n");
    WholeFrame();
    int typedFrames = 0, fadeFrames = 0;
    for (int i = 0; i < FRAME_LIMIT; ++i) {
        if (MessageShown()) Tap('z');
        const std::string typed = player().getShownText();
        const int alpha = game().fadeOutAlpha();
        const bool drawn = DrawnFrame();
        const bool newText = player().getShownText() != typed && !player().getShownText().empty();
        const bool newAlpha = game().fadeOutAlpha() != alpha && game().fadeOutAlpha() >= 0;
        if (!newText && !newAlpha) continue;
        typedFrames += newText;
        fadeFrames += newAlpha;
        ASSERT_TRUE(drawn) << "\"" << player().getShownText() << "\", alpha "
                           << game().fadeOutAlpha() << " not drawn";
        ASSERT_EQ(kura_test::differing(Shown(), DrawnWhole()), 0)
            << player().getShownText() << ", alpha " << game().fadeOutAlpha();
    }
    EXPECT_GE(typedFrames, 10);
    EXPECT_GE(fadeFrames, 20);
}

TEST_F(GameFrames, MenuCursorIsShownInTheFrameItMoves) {
    NewGame("callSetCommand(\"north\", 1);\ncallSetCommand(\"south\", 1);\n"
            "callWaitSelectCommand();\nyield;\nreturn 0;\n");
    WaitMenuReady(game().getCommandMenu());
    WholeFrame();
    ASSERT_TRUE(Settle());
    const int cursor = game().getCommandMenu().GetCursor();
    Tap(KEY_DOWN);
    int frames = 0;
    while (game().getCommandMenu().GetCursor() == cursor && frames++ < FRAME_LIMIT) {
        const bool drawn = DrawnFrame();
        if (game().getCommandMenu().GetCursor() != cursor) {
            ASSERT_TRUE(drawn) << "the cursor moved in a frame that drew nothing";
        }
    }
    ASSERT_NE(game().getCommandMenu().GetCursor(), cursor);
    EXPECT_EQ(kura_test::differing(Shown(), DrawnWhole()), 0);
}

} // namespace
} // namespace controller_test
