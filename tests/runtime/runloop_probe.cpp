// A small application for the run-loop test: it prints every callback it receives,
// the frame rate after two seconds and a few pixels of its own frames, and is
// driven from outside with xdotool ("f" toggles fullscreen). "gamemode" as argument
// asks for a video mode; "noclear" turns automatic clearing off; "fullstart" goes
// fullscreen during setup, before the window is shown.
#include "gl_test_window.h"
#include "ofMain.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstring>

namespace {

constexpr int RATE_REPORT_FRAME = 120;
constexpr int PIXEL_REPORT_FRAME = 5;
constexpr int LOGGED_LOOP_CALLS = 8;

void say(const char* format, int a = 0, int b = 0, int c = 0) {
    std::printf(format, a, b, c);
    std::putchar('\n');
    std::fflush(stdout);
}

// Reads one window pixel of the frame being drawn.
void readPixel(int x, int y, unsigned char rgba[4]) {
    glReadPixels(x, ofGetHeight() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

class ProbeApp : public ofBaseApp {
public:
    ProbeApp(bool clearEachFrame, bool fullscreenAtStart)
        : m_clear(clearEachFrame), m_fullAtStart(fullscreenAtStart) {}

    void setup() override {
        say("setup");
        ofSetLogLevel(OF_LOG_VERBOSE);
        ofSetFrameRate(60);
        ofSetVerticalSync(true);
        ofBackground(0, 0, 255);
        ofSetBackgroundAuto(m_clear);
        ofSetWindowTitle("runloop-probe");
        ofSetWindowPosition(100, 50);
        say("screen %d %d", ofGetScreenWidth(), ofGetScreenHeight());
        if (m_fullAtStart) ofToggleFullscreen();
        m_start = ofGetElapsedTimef();
    }
    void update() override {
        if (m_loopCalls++ < LOGGED_LOOP_CALLS) say("update");
    }
    void draw() override {
        if (m_loopCalls++ < LOGGED_LOOP_CALLS) say("draw");
        ++m_draws;
        ofSetColor(255, 128, 0);
        ofRect(10, 20, 30, 40);
        if (m_draws == PIXEL_REPORT_FRAME) reportPixels();
        if (!m_clear) checkClearing();
        if (m_draws == RATE_REPORT_FRAME + 1) {
            const float elapsed = ofGetElapsedTimef() - m_start;
            std::printf("rate frameNum=%d draws=%d elapsed=%.3f measured=%.2f\n", ofGetFrameNum(),
                        m_draws, elapsed, ofGetFrameRate());
            std::fflush(stdout);
        }
    }
    void exit() override { say("exit"); }
    void windowResized(int w, int h) override {
        say("resized %d %d mode %d", w, h, ofGetWindowMode());
    }
    void keyPressed(int key) override {
        say("key %d", key);
        if (key == 'f') ofToggleFullscreen();
    }
    void keyReleased(int key) override { say("keyup %d", key); }
    void mouseMoved(int x, int y) override {
        if (x != mouseX || y != mouseY) say("BAD stored position");
        say("move %d %d", x, y);
    }
    void mouseDragged(int x, int y, int button) override { say("drag %d %d %d", x, y, button); }
    void mousePressed(int x, int y, int button) override { say("press %d %d %d", x, y, button); }
    void mouseReleased(int x, int y, int button) override { say("release %d %d %d", x, y, button); }
    void mouseReleased() override { say("release"); }

private:
    // Inside the rectangle, just outside it, and the cleared background.
    void reportPixels() {
        for (const auto& [x, y] : {std::pair{10, 20}, std::pair{39, 59}, std::pair{40, 59},
                                   std::pair{39, 60}, std::pair{300, 200}}) {
            unsigned char p[4];
            readPixel(x, y, p);
            std::printf("pixel %d %d = %d %d %d\n", x, y, p[0], p[1], p[2]);
        }
        std::fflush(stdout);
    }

    // The first frames are cleared even without automatic clearing; later ones keep
    // what both buffers were given (a green square drawn in frames 4 and 5 only).
    void checkClearing() {
        unsigned char p[4];
        if (m_draws == 1) {
            readPixel(300, 200, p);
            say("first frame background %d %d %d", p[0], p[1], p[2]);
        }
        if (m_draws == 4 || m_draws == 5) {
            ofSetColor(0, 255, 0);
            ofRect(250, 150, 20, 20);
        }
        if (m_draws == 8) {
            readPixel(260, 160, p);
            say("eighth frame square %d %d %d", p[0], p[1], p[2]);
        }
    }

    bool m_clear;
    bool m_fullAtStart;
    int m_loopCalls = 0;
    int m_draws = 0;
    float m_start = 0.0f;
};

} // namespace

int main(int argc, char** argv) {
    const bool gameMode = argc > 1 && std::strcmp(argv[1], "gamemode") == 0;
    const bool noClear = argc > 1 && std::strcmp(argv[1], "noclear") == 0;
    const bool fullAtStart = argc > 1 && std::strcmp(argv[1], "fullstart") == 0;
    ofAppGlutWindow window;
    window.setGlutDisplayString("rgba double depth stencil alpha");
    ofSetupOpenGL(&window, 320, 240, gameMode ? OF_GAME_MODE : OF_WINDOW);
    kura_test::pinGlDriver();
    ProbeApp app(!noClear, fullAtStart);
    ofRunApp(&app);
    return 0;
}
