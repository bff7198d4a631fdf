// Setup readies the window, starts the process-wide services and then the game;
// exit stops them in reverse. Events reach the input state through the input
// router, which measures the pointer in canvas units.
#include "testApp.h"

#include "game/canvas/Canvas.h"
#include "game/canvas/InputRouter.h"
#include "game/controller/GameMain.h"
#include "game/dev/DevMode.h"
#include "game/player/ScenarioPlayerImpl.h"
#include "game/services/Services.h"
#include "game/settings/Setting.h"
#include "util/ConvString.h"

#include "ofAppRunner.h"
#include "ofConstants.h"
#include "ofGraphics.h"

namespace {

Kura::Setting& Settings() {
    return *Kura::Setting::get();
}

Kura::Canvas::Transform CurrentTransform() {
    Kura::Setting& setting = Settings();
    return Kura::Canvas::Compute(setting.getInt("app_width"), setting.getInt("app_height"),
                                 ofGetWindowMode() != OF_WINDOW, ofGetScreenWidth(),
                                 ofGetScreenHeight());
}

void CentreWindow(int width, int height) {
    ofSetWindowPosition((ofGetScreenWidth() - width) / 2, (ofGetScreenHeight() - height) / 2);
}

} // namespace

void testApp::setup() {
    Kura::Setting& setting = Settings();
    const int width = setting.getInt("app_width");
    const int height = setting.getInt("app_height");
    ofSetFrameRate(Kura::GameMain::FRAME_RATE);
    ofBackground(0, 0, 0);
    ofSetBackgroundAuto(true);
    // Fades, menu highlights and pictures with alpha are drawn blended.
    ofEnableAlphaBlending();
    ofSetVerticalSync(true);
    // A frame that shows what the frame before showed is not drawn again: a
    // game spends most of its time waiting on a finished message or a menu.
    ofSetDrawChangesOnly(true);
    CentreWindow(width, height);
    ofSetWindowTitle(Kura::ConvString::Utf8ToAnsi(setting.getString("app_title")));

    Kura::Services::Start();
    Kura::GameMain::create();
    Kura::GameMain* game = Kura::GameMain::get();
    if (Kura::DevMode::IsOn()) Kura::DevMode::Watch(&game->getPlayer().impl().interpreter);
    // Fullscreen as the player's preferences say, "is_fullscreen" when they do not.
    if (game->getPreferences().fullscreen != 0) ofToggleFullscreen();
    Kura::Services::Router()->SetTransform(CurrentTransform());
    game->scenarioInit();
}

void testApp::update() {
    Kura::DevMode::Update();
    if (Kura::GameMain* game = Kura::GameMain::get()) game->update();
    if (Kura::InputRouter* router = Kura::Services::Router()) router->AfterUpdate();
}

void testApp::draw() {
    const Kura::Canvas::Transform transform = CurrentTransform();
    if (Kura::InputRouter* router = Kura::Services::Router()) router->SetTransform(transform);
    ofPushMatrix();
    ofTranslate(static_cast<float>(transform.offsetX), static_cast<float>(transform.offsetY), 0.0f);
    ofScale(transform.scaleX, transform.scaleY, 1.0f);
    if (Kura::GameMain* game = Kura::GameMain::get()) game->draw();
    Kura::DevMode::DrawBanner();
    ofPopMatrix();
}

// Escape and a closed window both end here: the play is auto-saved first.
void testApp::exit() {
    if (Kura::GameMain* game = Kura::GameMain::get()) game->autoSave();
    Kura::Services::Stop();
}

// The input state counts in canvas units, whatever the window's size.
void testApp::windowResized(int, int) {}

void testApp::keyPressed(int key) {
    if (Kura::DevMode::KeyPressed(key)) return;
    if (Kura::InputRouter* router = Kura::Services::Router()) router->KeyPressed(key);
}

void testApp::keyReleased(int key) {
    if (Kura::InputRouter* router = Kura::Services::Router()) router->KeyReleased(key);
}

void testApp::mouseMoved(int x, int y) {
    if (Kura::InputRouter* router = Kura::Services::Router()) router->MouseMoved(x, y);
}

void testApp::mouseDragged(int x, int y, int button) {
    if (Kura::InputRouter* router = Kura::Services::Router()) router->MouseDragged(x, y, button);
}

void testApp::mousePressed(int x, int y, int button) {
    if (Kura::InputRouter* router = Kura::Services::Router()) router->MousePressed(x, y, button);
}

void testApp::mouseScrolled(int, int, int steps) {
    if (Kura::InputRouter* router = Kura::Services::Router()) router->MouseScrolled(steps);
}

void testApp::mouseReleased(int x, int y, int button) {
    if (Kura::InputRouter* router = Kura::Services::Router()) router->MouseReleased(x, y, button);
}
