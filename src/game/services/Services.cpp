// Start-up and tear-down of the process-wide services. Start does not check
// results: a font or picture that cannot be loaded is reported by its loader
// and leaves that one unusable, and the game goes on.
#include "game/services/Services.h"

#include "game/canvas/Canvas.h"
#include "game/canvas/InputRouter.h"
#include "game/controller/GameMain.h"
#include "game/settings/Setting.h"
#include "game/settings/SettingsArray.h"
#include "of/Audio.h"
#include "of/Controller.h"
#include "of/Draw2D.h"
#include "of/ImageFont.h"
#include "of/InputState.h"
#include "of/TextureManager.h"
#include "of/ofTrueTypeFontWS_v001.h"
#include "util/AssertReport.h"

namespace Kura::Services {

namespace {

constexpr const char* SOURCE_NAME = "src\\testApp";
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
InputRouter* g_pInputRouter = nullptr; // with the input state it feeds

// A font that cannot be loaded stays in the list, so the type numbers hold.
void AddFonts(Setting& setting) {
    ImageFont* fonts = ImageFont::Get();
    for (size_t type = 0; type < std::size(FONT_PATH_KEYS); ++type) {
        const std::string path =
            Setting::joinPath(FONT_FOLDER, setting.getString(FONT_PATH_KEYS[type]));
        fonts->AddFont(path, setting.getInt(FONT_SIZE_KEYS[type]));
        const ofTrueTypeFontWS* font = fonts->GetFont(static_cast<int32_t>(type));
        KURA_CHECK(font != nullptr && font->isLoaded(), "font->isLoaded()", SOURCE_NAME,
                   "testApp::setup", __LINE__);
    }
}

void LoadSoundEffects() {
    const int32_t count = SettingsArray::Count(SOUND_DATA_KEY);
    for (int32_t slot = 0; slot < count; ++slot) {
        Audio::LoadSe(SettingsArray::Text(SOUND_DATA_KEY, slot, "filepath").value_or(""), slot);
        Audio::SetSeVolume(slot, SettingsArray::Int(SOUND_DATA_KEY, slot, "volume").value_or(0));
    }
}

} // namespace

void Start() {
    Setting* setting = Setting::get(); // reports when there are no settings
    if (setting == nullptr) return;
    g_pInput = new InputState(Canvas::WIDTH, Canvas::HEIGHT);
    g_pInputRouter = new InputRouter(*g_pInput);
    g_pDefaultFont = new ofTrueTypeFontWS;
    g_pDefaultFont->loadFont(Setting::joinPath(FONT_FOLDER, DEFAULT_FONT), DEFAULT_FONT_SIZE, true,
                             true, false);
    Draw2D::Init();
    ImageFont::Create();
    AddFonts(*setting);
    TextureManager::Create();
    Controller::Create(HOLD_INTERVAL_FRAMES);
    Audio::Create([](const std::string& folder, const std::string& file) {
        return Setting::get()->getDataPath(folder, file, true);
    });
    LoadSoundEffects();
    TextureManager::Get()->LoadTexture(Setting::joinPath(IMAGE_FOLDER, PLAYER_PICTURE),
                                       PLAYER_TEXTURE_SLOT);
}

void Stop() {
    GameMain::destroy();
    Audio::Destroy();
    Controller::Destroy();
    TextureManager::Destroy();
    ImageFont::Destroy();
    Draw2D::Term();
    delete g_pDefaultFont;
    g_pDefaultFont = nullptr;
    delete g_pInputRouter;
    g_pInputRouter = nullptr;
    delete g_pInput;
    g_pInput = nullptr;
}

InputRouter* Router() {
    return g_pInputRouter;
}

} // namespace Kura::Services
