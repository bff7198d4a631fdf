// The freeglut window and its event loop. freeglut calls back through plain
// functions, so the one window of the process is reached through g_pActive.
// Frame pacing sleeps in the idle step: virtual X servers offer no vertical sync.
#include "ofAppGlutWindow.h"

#include "ofBaseApp.h"
#include "ofConstants.h"
#include "ofFrameDrawer.h"
#include "ofFrameReadback.h"
#include "ofGraphics.h"
#include "ofLog.h"
#include "ofVerticalSync.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

// A whole-screen video mode is asked for at this depth and refresh rate.
constexpr int GAME_MODE_BIT_DEPTH = 32;
constexpr int GAME_MODE_REFRESH = 60;
// The first frames are always cleared: the buffers hold garbage until then.
constexpr int ALWAYS_CLEARED_FRAMES = 3;
// Shorter frame times than this are too small to measure a rate from.
constexpr double MIN_MEASURABLE_FRAME_SEC = 0.00001;
// The measured rate starts here so that early frame-to-time conversions are sane.
constexpr float INITIAL_FRAME_RATE = 60.0f;
// The buttons freeglut reports a step of the wheel as: away from the player, towards.
constexpr int WHEEL_UP_BUTTON = 3;
constexpr int WHEEL_DOWN_BUTTON = 4;

using Clock = std::chrono::steady_clock;

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

} // namespace

struct ofAppGlutWindow::Impl {
    std::string displayMode = "rgba double";
    int windowMode = OF_WINDOW;
    bool newScreenMode = false;
    int width = 0; // current window size, as the last reshape told it
    int height = 0;
    int windowedX = 0; // where the window returns to when leaving fullscreen
    int windowedY = 0;
    int windowedW = 0;
    int windowedH = 0;

    ofBaseApp* app = nullptr;
    bool exited = false;
    int lastButton = 0;

    // Frames are recorded and drawn only where they change; the window system's
    // own redraw requests (mapped, exposed, resized) then redraw everything.
    bool drawChangesOnly = false;
    ofFrameDrawer drawer;

    float targetRate = 0.0f;
    float measuredRate = INITIAL_FRAME_RATE;
    int frameNum = 0;
    Clock::time_point lastIdle;
    Clock::time_point lastFrame;

    void applyScreenMode();
    void drawChanges(bool whole, bool countsAsFrame);
};

namespace {

ofAppGlutWindow::Impl* g_pActive = nullptr;

// The application's exit still has its GL context; the window goes after it, so
// that the driver releases its buffers before the process ends.
void runAppExit() {
    ofAppGlutWindow::Impl* w = g_pActive;
    if (w == nullptr || w->app == nullptr || w->exited) return;
    w->exited = true;
    w->app->exit();
    glutExit();
}

void onIdle() {
    ofAppGlutWindow::Impl& w = *g_pActive;
    if (w.targetRate > 0.0f) {
        const double period = 1.0 / w.targetRate;
        const double since = secondsBetween(w.lastIdle, Clock::now());
        if (since < period)
            std::this_thread::sleep_for(std::chrono::duration<double>(period - since));
    }
    const auto now = Clock::now();
    w.lastIdle = now;
    const double elapsed = secondsBetween(w.lastFrame, now);
    if (elapsed > MIN_MEASURABLE_FRAME_SEC) {
        w.measuredRate = static_cast<float>(0.9 * w.measuredRate + 0.1 * (1.0 / elapsed));
        w.lastFrame = now;
    }
    w.app->update();
    if (w.drawChangesOnly)
        w.drawChanges(false, true);
    else
        glutPostRedisplay();
}

void onDisplay() {
    ofAppGlutWindow::Impl& w = *g_pActive;
    if (w.drawChangesOnly) {
        w.drawChanges(true, false);
        return;
    }
    if (w.newScreenMode) w.applyScreenMode();
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    const int height = std::max(1, glutGet(GLUT_WINDOW_HEIGHT));
    glViewport(0, 0, width, height);
    if (ofbClearBg() || w.frameNum < ALWAYS_CLEARED_FRAMES) {
        const float* bg = ofBgColorPtr();
        glClearColor(bg[0], bg[1], bg[2], bg[3]);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    ofSetupScreenPerspective(width, height);
    w.app->draw();
    ofRunFrameReadback(width, height);
    glutSwapBuffers();
    ++w.frameNum;
}

void onReshape(int width, int height) {
    g_pActive->width = width;
    g_pActive->height = height;
    if (g_pActive->app != nullptr) g_pActive->app->windowResized(width, height);
}

void pressKey(int key) {
    g_pActive->app->keyPressed(key);
    if (key == OF_KEY_ESC) {
        ofLog(OF_LOG_VERBOSE, "GLUT OF app is being terminated!");
        std::exit(0); // the application's exit runs from the exit handler
    }
}

void onKeyDown(unsigned char key, int, int) {
    pressKey(key);
}
void onKeyUp(unsigned char key, int, int) {
    g_pActive->app->keyReleased(key);
}
void onSpecialDown(int key, int, int) {
    pressKey(key + OF_KEY_MODIFIER);
}
void onSpecialUp(int key, int, int) {
    g_pActive->app->keyReleased(key + OF_KEY_MODIFIER);
}

// The window system reports each wheel step as a press and a release of a
// button above the right one; the press is the step, the release means nothing.
void onWheel(int button, int state, int x, int y) {
    if (state != GLUT_DOWN) return;
    if (button == WHEEL_UP_BUTTON) g_pActive->app->mouseScrolled(x, y, 1);
    if (button == WHEEL_DOWN_BUTTON) g_pActive->app->mouseScrolled(x, y, -1);
}

void onMouse(int button, int state, int x, int y) {
    if (button < OF_MOUSE_LEFT || button > OF_MOUSE_RIGHT) {
        onWheel(button, state, x, y);
        return;
    }
    ofBaseApp& app = *g_pActive->app;
    app.mouseX = x;
    app.mouseY = y;
    if (state == GLUT_DOWN) {
        g_pActive->lastButton = button;
        app.mousePressed(x, y, button);
    } else {
        app.mouseReleased(x, y, button);
        app.mouseReleased();
    }
}

void onMotion(int x, int y) {
    ofBaseApp& app = *g_pActive->app;
    app.mouseX = x;
    app.mouseY = y;
    app.mouseDragged(x, y, g_pActive->lastButton);
}

void onPassiveMotion(int x, int y) {
    ofBaseApp& app = *g_pActive->app;
    app.mouseX = x;
    app.mouseY = y;
    app.mouseMoved(x, y);
}

// Enters the whole-screen video mode. When the server cannot give it, the process
// keeps an ordinary window: without one every later GL call would have no target.
bool enterGameMode(int w, int h) {
    char format[64];
    std::snprintf(format, sizeof format, "%dx%d:%d@%d", w, h, GAME_MODE_BIT_DEPTH,
                  GAME_MODE_REFRESH);
    glutGameModeString(format);
    if (!glutGameModeGet(GLUT_GAME_MODE_POSSIBLE)) {
        std::printf("game mode error: selected format (%s) not available \n", format);
        std::fflush(stdout);
        return false;
    }
    return glutEnterGameMode() != 0;
}

} // namespace

void ofAppGlutWindow::Impl::applyScreenMode() {
    newScreenMode = false;
    if (windowMode == OF_FULLSCREEN) {
        windowedX = glutGet(GLUT_WINDOW_X);
        windowedY = glutGet(GLUT_WINDOW_Y);
        windowedW = glutGet(GLUT_WINDOW_WIDTH);
        windowedH = glutGet(GLUT_WINDOW_HEIGHT);
        glutFullScreen();
    } else if (windowMode == OF_WINDOW) {
        glutReshapeWindow(windowedW, windowedH);
        glutPositionWindow(windowedX, windowedY);
    }
}

// The first frames are cleared, as without drawing only changes; the drawer draws
// its first frame whole by itself, and later ones hold what it drew.
void ofAppGlutWindow::Impl::drawChanges(bool whole, bool countsAsFrame) {
    if (newScreenMode) {
        applyScreenMode();
        whole = true;
    }
    // The size the last reshape told: asking the window system would cost a
    // round trip to the X server in every frame.
    const int h = std::max(1, height);
    const bool first = frameNum < ALWAYS_CLEARED_FRAMES;
    // A frame to be read is drawn whole, even when it shows nothing new.
    if (ofFrameReadbackPending()) whole = true;
    drawer.drawFrame(*app, width, h, ofbClearBg() || first, whole);
    if (countsAsFrame) ++frameNum;
}

ofAppGlutWindow::ofAppGlutWindow() : m_pImpl(std::make_unique<Impl>()) {}

ofAppGlutWindow::~ofAppGlutWindow() {
    if (g_pActive == m_pImpl.get()) g_pActive = nullptr;
}

void ofAppGlutWindow::setGlutDisplayString(const std::string& displayMode) {
    m_pImpl->displayMode = displayMode;
}

void ofAppGlutWindow::setupOpenGL(int w, int h, int windowMode) {
    int argc = 1;
    char name[] = "kura";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayString(m_pImpl->displayMode.c_str());

    Impl& s = *m_pImpl;
    g_pActive = &s;
    s.windowedW = s.width = w;
    s.windowedH = s.height = h;
    s.windowMode = windowMode;
    if (windowMode == OF_GAME_MODE && enterGameMode(w, h)) return;
    if (windowMode == OF_GAME_MODE) s.windowMode = OF_WINDOW;
    glutInitWindowSize(w, h);
    glutCreateWindow("");
    s.newScreenMode = s.windowMode == OF_FULLSCREEN;
}

void ofAppGlutWindow::runAppViaInfiniteLoop(ofBaseApp* app) {
    Impl& s = *m_pImpl;
    s.app = app;
    // Registered after the window exists, so the application's exit still has
    // its GL context when the process ends (Escape or a closed window).
    std::atexit(runAppExit);

    glutDisplayFunc(onDisplay);
    glutIdleFunc(onIdle);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKeyDown);
    glutKeyboardUpFunc(onKeyUp);
    glutSpecialFunc(onSpecialDown);
    glutSpecialUpFunc(onSpecialUp);
    glutMouseFunc(onMouse);
    glutMotionFunc(onMotion);
    glutPassiveMotionFunc(onPassiveMotion);

    app->setup();
    app->update();
    s.lastIdle = s.lastFrame = Clock::now();
    glutMainLoop();
    runAppExit();
}

void ofAppGlutWindow::setWindowTitle(const std::string& title) {
    glutSetWindowTitle(title.c_str());
}

void ofAppGlutWindow::setWindowPosition(int x, int y) {
    m_pImpl->windowedX = x;
    m_pImpl->windowedY = y;
    if (m_pImpl->windowMode == OF_WINDOW) glutPositionWindow(x, y);
}

void ofAppGlutWindow::toggleFullscreen() {
    Impl& s = *m_pImpl;
    if (s.windowMode == OF_GAME_MODE) return;
    s.windowMode = s.windowMode == OF_WINDOW ? OF_FULLSCREEN : OF_WINDOW;
    s.newScreenMode = true;
}

int ofAppGlutWindow::getWindowMode() const {
    return m_pImpl->windowMode;
}
int ofAppGlutWindow::getWidth() const {
    return m_pImpl->width;
}
int ofAppGlutWindow::getHeight() const {
    return m_pImpl->height;
}
int ofAppGlutWindow::getScreenWidth() const {
    return glutGet(GLUT_SCREEN_WIDTH);
}
int ofAppGlutWindow::getScreenHeight() const {
    return glutGet(GLUT_SCREEN_HEIGHT);
}

void ofAppGlutWindow::setFrameRate(float targetRate) {
    m_pImpl->targetRate = std::max(0.0f, targetRate);
}

float ofAppGlutWindow::getFrameRate() const {
    return m_pImpl->measuredRate;
}
int ofAppGlutWindow::getFrameNum() const {
    return m_pImpl->frameNum;
}

void ofAppGlutWindow::setVerticalSync(bool on) {
    ofApplyVerticalSync(on);
}

void ofAppGlutWindow::setDrawChangesOnly(bool on) {
    m_pImpl->drawChangesOnly = on;
}
