// Free functions over the process's one window, so that application code need not
// carry the window object around.
#include "ofAppRunner.h"

#include "ofAppGlutWindow.h"

namespace {

ofAppGlutWindow* g_pWindow = nullptr;

} // namespace

void ofSetupOpenGL(ofAppGlutWindow* window, int w, int h, int windowMode) {
    g_pWindow = window;
    if (window != nullptr) window->setupOpenGL(w, h, windowMode);
}

void ofRunApp(ofBaseApp* app) {
    if (g_pWindow != nullptr && app != nullptr) g_pWindow->runAppViaInfiniteLoop(app);
}

void ofSetFrameRate(float targetRate) {
    if (g_pWindow != nullptr) g_pWindow->setFrameRate(targetRate);
}

float ofGetFrameRate() {
    return g_pWindow != nullptr ? g_pWindow->getFrameRate() : 0.0f;
}
int ofGetFrameNum() {
    return g_pWindow != nullptr ? g_pWindow->getFrameNum() : 0;
}

void ofSetVerticalSync(bool on) {
    if (g_pWindow != nullptr) g_pWindow->setVerticalSync(on);
}

void ofSetDrawChangesOnly(bool on) {
    if (g_pWindow != nullptr) g_pWindow->setDrawChangesOnly(on);
}

void ofSetWindowTitle(const std::string& title) {
    if (g_pWindow != nullptr) g_pWindow->setWindowTitle(title);
}

void ofSetWindowPosition(int x, int y) {
    if (g_pWindow != nullptr) g_pWindow->setWindowPosition(x, y);
}

void ofToggleFullscreen() {
    if (g_pWindow != nullptr) g_pWindow->toggleFullscreen();
}

int ofGetWindowMode() {
    return g_pWindow != nullptr ? g_pWindow->getWindowMode() : 0;
}
int ofGetWidth() {
    return g_pWindow != nullptr ? g_pWindow->getWidth() : 0;
}
int ofGetHeight() {
    return g_pWindow != nullptr ? g_pWindow->getHeight() : 0;
}
int ofGetScreenWidth() {
    return g_pWindow != nullptr ? g_pWindow->getScreenWidth() : 0;
}
int ofGetScreenHeight() {
    return g_pWindow != nullptr ? g_pWindow->getScreenHeight() : 0;
}
