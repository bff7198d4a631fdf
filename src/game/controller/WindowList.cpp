// The window list and the characters: adding windows by kind (text and
// character windows also join their class registries), clearing them all, the
// character table read from "gCharaData", and showing a character's face in the
// current character window.
#include "game/controller/GameMain.h"

#include "game/settings/SettingsArray.h"
#include "of/Window.h"
#include "util/AssertReport.h"
#include "util/ConvString.h"

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\game\\GameMain";
constexpr const char* CHARA_DATA_KEY = "gCharaData";
// Where a character's picture name takes the face number.
constexpr std::string_view FACE_PLACEHOLDER = "%s";
// A face of -1 names the character's picture without a face number.
constexpr int32_t NO_FACE = -1;

// The picture name is settings text, not a format: only its "%s" is replaced,
// so any other "%" stays as written and a name of any length works.
std::string PictureName(const std::string& baseFilePath, const std::string& face) {
    std::string name = baseFilePath;
    const size_t at = name.find(FACE_PLACEHOLDER);
    if (at != std::string::npos) name.replace(at, FACE_PLACEHOLDER.size(), face);
    return name;
}

} // namespace

void GameMain::addWindow(int32_t kind) {
    const auto id = static_cast<int32_t>(mWindowManager.size());
    switch (kind) {
    case WINDOW_KIND_TEXT: {
        auto* window = new TextWindow(id);
        TextWindow::AddToRegistry(window);
        mWindowManager.push_back(window);
        break;
    }
    case WINDOW_KIND_IMAGE:
        mWindowManager.push_back(new ImageWindow(id));
        break;
    case WINDOW_KIND_VIDEO:
        mWindowManager.push_back(new VideoWindow(id));
        break;
    case WINDOW_KIND_CHARACTER: {
        auto* window = new CharacterWindow(id);
        CharacterWindow::AddToRegistry(window);
        m_CharacterWindows.push_back(window);
        mWindowManager.push_back(window);
        break;
    }
    default: // not a kind of window: nothing is added
        break;
    }
}

void GameMain::clearAllWindows() {
    for (Window* window : mWindowManager)
        delete window;
    TextWindow::ClearRegistry();
    CharacterWindow::ClearRegistry();
    TextWindow::SetNowIndex(-1);
    CharacterWindow::SetNowIndex(-1);
    mWindowManager.clear();
    m_CharacterWindows.clear();
}

CharacterWindow* GameMain::currentCharacterWindow() const {
    const int32_t index = CharacterWindow::GetNowIndex();
    if (index < 0 || static_cast<size_t>(index) >= m_CharacterWindows.size()) return nullptr;
    return m_CharacterWindows[index];
}

void GameMain::slotWindowManagerAdd(int kind) {
    if (GameMain* self = slotTarget("Kura::GameMain::slotWindowManagerAdd", __LINE__))
        self->addWindow(kind);
}

void GameMain::slotWindowManagerClearAll() {
    if (GameMain* self = slotTarget("Kura::GameMain::slotWindowManagerClearAll", __LINE__))
        self->clearAllWindows();
}

void GameMain::slotSetMessageWindowCharacter(int chara, int face, int registryIndex) {
    GameMain* self = slotTarget("Kura::GameMain::slotSetMessageWindowCharacter", __LINE__);
    if (self == nullptr) return;
    CharacterWindow::SetNowIndex(registryIndex);
    CharacterWindow* window = CharacterWindow::getNowWnd();
    if (window == nullptr) return;
    window->SetCharaIndex(chara);
    window->SetFace(face);
    if (!window->IsLoaded()) {
        const CharacterRecord* record = self->getCharacter(chara);
        const std::string faceText =
            face == NO_FACE ? std::string() : ConvString::IntToString(face);
        window->Load(CHARA_FOLDER, PictureName(record ? record->baseFilePath : "", faceText));
    }
    window->ResetImageRect();
}

void GameMain::slotSetCharaInfo(int index, const std::string&, const std::string&) {
    GameMain* self = slotTarget("Kura::GameMain::slotSetCharaInfo", __LINE__);
    if (self == nullptr) return;
    std::optional<std::string> name = SettingsArray::Text(CHARA_DATA_KEY, index, "name");
    if (!KURA_CHECK(name.has_value(), "index>=0 && index<gCharaData.length()", SOURCE_NAME,
                    "Kura::GameMain::slotSetCharaInfo", __LINE__))
        return;
    CharacterRecord& record = self->m_Characters[index];
    record.name = *name;
    record.baseFilePath = SettingsArray::Text(CHARA_DATA_KEY, index, "baseFilePath").value_or("");
    record.msgSeIndex = SettingsArray::Int(CHARA_DATA_KEY, index, "msgSeIndex").value_or(0);
}

} // namespace Kura
