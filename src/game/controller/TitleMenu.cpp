// The title: the contents script, the title picture, the menu of "はじめから"
// and, once a scene has been reached, "つづきから" with every reached scene; and
// menus of choices built from a command list, for the title and the story alike.
#include "game/controller/GameMain.h"

#include "game/player/ScenarioPlayer.h"
#include "game/player/ScriptBudget.h"
#include "game/settings/Setting.h"
#include "of/ImageFont.h"
#include "of/SimpleMenu.h"
#include "of/Window.h"
#include "util/AssertReport.h"
#include "util/ConvString.h"

#include <cstdio>
#include <cstdlib>

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\game\\GameMain";
constexpr const char* NEW_GAME = "はじめから";
constexpr const char* CONTINUE = "つづきから";
constexpr const char* CONTINUE_NOW = "つづき";
constexpr int32_t ENABLED = 1;
// The title menu lists its items in one column, the reached scenes in ten.
constexpr int32_t TITLE_COLUMNS = 1;
constexpr int32_t SCENE_COLUMNS = 10;
constexpr int32_t CONTINUE_ITEM = 1;
constexpr int32_t SCENE_ITEM_CHARS = 4;
// Title menu geometry, in units of a 480 x 320 screen scaled to the window.
constexpr double BASE_WIDTH = 480.0;
constexpr double BASE_HEIGHT = 320.0;
constexpr double TITLE_MENU_Y = 250.0;
constexpr double SCENE_MENU_X = 40.0;
constexpr double SCENE_MENU_Y = 200.0;
// Decided paths join the menus' item names with this.
constexpr char PATH_SEPARATOR = '-';
constexpr const char* SCENARIO_FILE_FORMAT = "%03d.kel";
constexpr size_t SCENARIO_FILE_NAME_SIZE = 32;

// The leading decimal number of a text, 0 when there is none (as atoi reads it).
int32_t LeadingInt(const std::string& text) {
    return static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

int32_t CeilDiv(int32_t n, int32_t d) {
    return (n + d - 1) / d;
}

} // namespace

void GameMain::scenarioInit() {
    Setting* setting = Setting::get();
    if (setting == nullptr) return;
    const int loaded =
        loadFile(setting->getDataPath(ScenarioPlayer::SCENARIO_FOLDER, CONTENTS_FILE));
    KURA_CHECK(loaded == LOADED, "0", SOURCE_NAME, "Kura::GameMain::scenarioInit", __LINE__);
    Kel::Ref result;
    ScriptBudget::Run(*this, 0, "Kura::GameMain::scenarioInit", result);

    clearAllWindows();
    addWindow(WINDOW_KIND_IMAGE);
    Window* title = getWindow(0);
    title->Load(TITLE_PICTURE);
    title->SetVisible(true);

    const int32_t reached = LeadingInt(m_pPlayer->getMaxScene());
    m_pPlayer->start(TITLE_SCENARIO);
    // The title menu is built with the very calls the scenario commands make,
    // so it is built exactly as a scenario's would be.
    m_pPlayer->setCommand(NEW_GAME, ENABLED);
    if (reached > 0) {
        m_pPlayer->setCommand(CONTINUE, ENABLED);
        m_pPlayer->setSubCommand(CONTINUE, CONTINUE_NOW, ENABLED);
        for (int32_t scene = 1; scene <= reached; ++scene)
            m_pPlayer->setSubCommand(CONTINUE, ConvString::IntToString(scene), ENABLED);
    }
    buildMenu(*m_pCommandMenu, m_pPlayer->getCommands(), TITLE_COLUMNS, SCENE_COLUMNS);
    m_BackgroundColor = ColorRgba{0, 0, 0, 255};
    placeTitleMenu(reached > 0);
}

void GameMain::placeTitleMenu(bool withContinue) {
    Setting* setting = Setting::get();
    ImageFont* font = ImageFont::Get();
    if (setting == nullptr || font == nullptr) return;
    const int32_t appWidth = setting->getInt("app_width");
    const double sx = appWidth / BASE_WIDTH;
    const double sy = setting->getInt("app_height") / BASE_HEIGHT;
    const int32_t w =
        font->GetWidth(m_pCommandMenu->GetFontType(), ConvString::AnsiToWide(NEW_GAME));
    m_pCommandMenu->SetIconPos(static_cast<int32_t>((appWidth - w * sx / 2) / 2),
                               static_cast<int32_t>(sy * TITLE_MENU_Y / 2));
    SimpleMenu* scenes = withContinue ? m_pCommandMenu->GetChild(CONTINUE_ITEM) : nullptr;
    if (scenes == nullptr) return;
    scenes->SetIconPos(static_cast<int32_t>(sx * SCENE_MENU_X / 2),
                       static_cast<int32_t>(sy * SCENE_MENU_Y / 2));
    scenes->SetItemWidthByChars(SCENE_ITEM_CHARS);
}

// Items of value 0 are left out; an item with sub-items opens a sub-menu of
// the same tree.
void GameMain::buildMenu(SimpleMenu& menu, const std::vector<CommandItem>& items, int32_t columns,
                         int32_t subColumns) {
    menu.DeleteChildren();
    fillMenu(menu, items, columns, subColumns);
    menu.Activate();
    menu.SetActive(true);
    menu.Open();
}

void GameMain::fillMenu(SimpleMenu& menu, const std::vector<CommandItem>& items, int32_t columns,
                        int32_t subColumns) {
    int32_t shown = 0;
    for (const CommandItem& item : items)
        shown += item.value != 0 ? 1 : 0;
    menu.SetRowColumn(CeilDiv(shown, columns), columns);
    Setting* setting = Setting::get();
    const int32_t x = setting ? setting->getInt("cmd_wind_x") : 0;
    const int32_t y = setting ? setting->getInt("cmd_wind_y") : 0;
    int32_t k = 0;
    for (const CommandItem& item : items) {
        if (item.value == 0) continue;
        SimpleMenu* child = nullptr;
        if (!item.subItems.empty()) {
            child = new SimpleMenu(menu.GetRoot(), x, y, MENU_FONT_TYPE, 0, 1);
            fillMenu(*child, item.subItems, subColumns, subColumns);
        }
        menu.SetMenuItem(0, k++, ConvString::AnsiToWide(item.text), child, true);
    }
}

void GameMain::titleStep() {
    if (!m_pCommandMenu->IsDecided()) return;
    const std::string choice = ConvString::WideToAnsi(m_pCommandMenu->GetResultPath());
    m_pPlayer->select(choice);
    startChosenScenario(choice);
    m_pCommandMenu->Deactivate();
    m_TitleMode = false;
    gameStep();
}

// "はじめから" starts the first scenario; "つづきから-つづき" the scene last
// reached, "つづきから-<n>" scene n. Starting clears both flag maps.
void GameMain::startChosenScenario(const std::string& choice) {
    Setting* setting = Setting::get();
    if (setting == nullptr) return;
    if (choice == NEW_GAME) {
        m_pPlayer->beginPlay(setting->getString("start_scenario_file"));
        return;
    }
    const size_t separator = choice.find(PATH_SEPARATOR);
    const std::string scene =
        separator == std::string::npos ? std::string() : choice.substr(separator + 1);
    const int32_t number =
        scene == CONTINUE_NOW ? LeadingInt(m_pPlayer->getNowScene()) : LeadingInt(scene);
    char name[SCENARIO_FILE_NAME_SIZE];
    std::snprintf(name, sizeof name, SCENARIO_FILE_FORMAT, number);
    m_pPlayer->beginPlay(name);
}

} // namespace Kura
