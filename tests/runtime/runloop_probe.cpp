// A small application for the run-loop test, driven from outside with xdotool ("f"
// toggles fullscreen): it prints its resizes, the screen size and pixels of its first
// and eighth frames. The argument picks the case: "gamemode" asks for a video mode,
// "noclear" turns automatic clearing off, "fullstart" goes fullscreen during setup,
// before the window is shown.
#include "gl_test_window.h"
#include "ofMain.h"

#include <GL/gl.h>
#include <cstdio>
#include <string>

namespace {

// A green square drawn in frames 4 and 5 only: without automatic clearing it is still
// there in frame 8 (only the first three frames are cleared), with it it is gone.
constexpr int FIRST_SQUARE_FRAME = 4;
constexpr int LAST_SQUARE_FRAME = 5;
constexpr int REPORT_FRAME = 8;

void say(const char* format, int a = 0, int b = 0, int c = 0) {
    std::printf(format, a, b, c);
    std::putchar('\n');
    std::fflush(stdout);
}

void sayPixel(const char* what, int x, int y) {
    unsigned char p[4];
    glReadPixels(x, ofGetHeight() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    std::printf("%s %d %d %d\n", what, p[0], p[1], p[2]);
    std::fflush(stdout);
}

class ProbeApp : public ofBaseApp {
public:
    explicit ProbeApp(std::string mode) : m_mode(std::move(mode)) {}

    void setup() override {
        ofSetLogLevel(OF_LOG_VERBOSE);
        ofSetFrameRate(60);
        ofBackground(0, 0, 255);
        ofSetBackgroundAuto(m_mode != "noclear");
        ofSetWindowTitle("runloop-probe");
        ofSetWindowPosition(100, 50);
        say("screen %d %d", ofGetScreenWidth(), ofGetScreenHeight());
        if (m_mode == "fullstart") ofToggleFullscreen();
    }
    void draw() override {
        ++m_draws;
        if (m_draws == 1) sayPixel("first frame background", 300, 200);
        if (m_draws >= FIRST_SQUARE_FRAME && m_draws <= LAST_SQUARE_FRAME) {
            ofSetColor(0, 255, 0);
            ofRect(250, 150, 20, 20);
        }
        if (m_draws == REPORT_FRAME) sayPixel("eighth frame square", 260, 160);
    }
    void exit() override { say("exit"); }
    void windowResized(int w, int h) override {
        say("resized %d %d mode %d", w, h, ofGetWindowMode());
    }
    void keyPressed(int key) override {
        say("key %d", key);
        if (key == 'f') ofToggleFullscreen();
    }

private:
    std::string m_mode;
    int m_draws = 0;
};

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    ofAppGlutWindow window;
    window.setGlutDisplayString("rgba double depth stencil alpha");
    ofSetupOpenGL(&window, 320, 240, mode == "gamemode" ? OF_GAME_MODE : OF_WINDOW);
    kura_test::pinGlDriver();
    ProbeApp app(mode);
    ofRunApp(&app);
    return 0;
}
