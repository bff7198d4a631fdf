// Setup creates the engine's objects in the order each needs the ones before
// it (input before the controller, fonts before the menus, sounds and textures
// before the game); exit destroys them in reverse. Events reach the input state
// through the input router, which measures the pointer in canvas units.
#include "testApp.h"

#include "game/canvas/Canvas.h"
#include "game/canvas/InputRouter.h"
#include "game/controller/GameMain.h"
#include "game/settings/GameSettings.h"
#include "game/settings/Setting.h"
#include "of/Audio.h"
#include "of/Controller.h"
#include "of/Draw2D.h"
#include "of/ImageFont.h"
#include "of/InputState.h"
#include "of/TextureManager.h"
#include "of/ofTrueTypeFontWS_v001.h"
#include "util/AssertReport.h"
#include "util/ConvString.h"

#include "ofAppRunner.h"
#include "ofConstants.h"
#include "ofGraphics.h"

namespace {

constexpr const char* SOURCE_NAME = "src\\testApp";
constexpr float FRAME_RATE = 60.0f;
constexpr int HOLD_INTERVAL_FRAMES = 10;
constexpr const char* FONT_FOLDER = "font";
constexpr const char* DEFAULT_FONT = "ipam.ttf";
constexpr int DEFAULT_FONT_SIZE = 24;
constexpr const char* IMAGE_FOLDER = "image";
constexpr const char* PLAYER_PICTURE = "ep_player.png";
constexpr int PLAYER_TEXTURE_SLOT = 0;
constexpr const char* SOUND_DATA_KEY = "gSoundData";

// Font types 0, 1 and 2, in that order.
constexpr const char* FONT_SIZE_KEYS[] = {"fontSizeS", "fontSizeM", "fontSizeL"};
constexpr const char* FONT_PATH_KEYS[] = {"fontPathS", "fontPathM", "fontPathL"};

ofTrueTypeFontWS* g_pDefaultFont = nullptr;
Kura::InputRouter* g_pInputRouter = nullptr; // with the input state it feeds

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

// A font that cannot be loaded stays in the list, so the type numbers hold.
void AddFonts() {
    Kura::ImageFont* fonts = Kura::ImageFont::Get();
    for (size_t type = 0; type < std::size(FONT_PATH_KEYS); ++type) {
        const std::string path =
            Kura::Setting::joinPath(FONT_FOLDER, Settings().getString(FONT_PATH_KEYS[type]));
        fonts->AddFont(path, Settings().getInt(FONT_SIZE_KEYS[type]));
        const ofTrueTypeFontWS* font = fonts->GetFont(static_cast<int32_t>(type));
        KURA_CHECK(font != nullptr && font->isLoaded(), "font->isLoaded()", SOURCE_NAME,
                   "testApp::setup", __LINE__);
    }
}

void LoadSoundEffects() {
    const int32_t count = Kura::SettingsArray::Count(SOUND_DATA_KEY);
    for (int32_t slot = 0; slot < count; ++slot) {
        Kura::Audio::LoadSe(
            Kura::SettingsArray::Text(SOUND_DATA_KEY, slot, "filepath").value_or(""), slot);
        Kura::Audio::SetSeVolume(
            slot, Kura::SettingsArray::Int(SOUND_DATA_KEY, slot, "volume").value_or(0));
    }
}

} // namespace

void testApp::setup() {
    Kura::Setting& setting = Settings();
    const int width = setting.getInt("app_width");
    const int height = setting.getInt("app_height");
    ofSetFrameRate(FRAME_RATE);
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
    if (setting.getBool("is_fullscreen")) ofToggleFullscreen();

    Kura::g_pInput = new Kura::InputState(Kura::Canvas::WIDTH, Kura::Canvas::HEIGHT);
    g_pInputRouter = new Kura::InputRouter(*Kura::g_pInput);
    g_pInputRouter->SetTransform(CurrentTransform());
    g_pDefaultFont = new ofTrueTypeFontWS;
    g_pDefaultFont->loadFont(Kura::Setting::joinPath(FONT_FOLDER, DEFAULT_FONT), DEFAULT_FONT_SIZE,
                             true, true, false);
    Kura::Draw2D::Init();
    Kura::ImageFont::Create();
    AddFonts();
    Kura::TextureManager::Create();
    Kura::Controller::Create(HOLD_INTERVAL_FRAMES);
    Kura::Audio::Create([](const std::string& folder, const std::string& file) {
        return Kura::Setting::get()->getDataPath(folder, file, true);
    });
    LoadSoundEffects();
    Kura::TextureManager::Get()->LoadTexture(Kura::Setting::joinPath(IMAGE_FOLDER, PLAYER_PICTURE),
                                             PLAYER_TEXTURE_SLOT);
    Kura::GameMain::create();
    Kura::GameMain::get()->scenarioInit();
}

void testApp::update() {
    if (Kura::GameMain* game = Kura::GameMain::get()) game->update();
    if (g_pInputRouter) g_pInputRouter->AfterUpdate();
}

void testApp::draw() {
    const Kura::Canvas::Transform transform = CurrentTransform();
    if (g_pInputRouter) g_pInputRouter->SetTransform(transform);
    ofPushMatrix();
    ofTranslate(static_cast<float>(transform.offsetX), static_cast<float>(transform.offsetY), 0.0f);
    ofScale(transform.scaleX, transform.scaleY, 1.0f);
    if (Kura::GameMain* game = Kura::GameMain::get()) game->draw();
    ofPopMatrix();
}

void testApp::exit() {
    Kura::GameMain::destroy();
    Kura::Audio::Destroy();
    Kura::Controller::Destroy();
    Kura::TextureManager::Destroy();
    Kura::ImageFont::Destroy();
    Kura::Draw2D::Term();
    delete g_pDefaultFont;
    g_pDefaultFont = nullptr;
    delete g_pInputRouter;
    g_pInputRouter = nullptr;
    delete Kura::g_pInput;
    Kura::g_pInput = nullptr;
}

// The input state counts in canvas units, whatever the window's size.
void testApp::windowResized(int, int) {}

void testApp::keyPressed(int key) {
    if (g_pInputRouter) g_pInputRouter->KeyPressed(key);
}

void testApp::keyReleased(int key) {
    if (g_pInputRouter) g_pInputRouter->KeyReleased(key);
}

void testApp::mouseMoved(int x, int y) {
    if (g_pInputRouter) g_pInputRouter->MouseMoved(x, y);
}

void testApp::mouseDragged(int x, int y, int button) {
    if (g_pInputRouter) g_pInputRouter->MouseDragged(x, y, button);
}

void testApp::mousePressed(int x, int y, int button) {
    if (g_pInputRouter) g_pInputRouter->MousePressed(x, y, button);
}

void testApp::mouseReleased(int x, int y, int button) {
    if (g_pInputRouter) g_pInputRouter->MouseReleased(x, y, button);
}
