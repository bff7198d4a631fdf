// The stage kept with each checkpoint of the play: the windows with what they
// show, the characters, the background colour, the music asked for, and the
// pictures and sounds in their slots. A replay from a checkpoint puts it back
// over the stage every play finds, so the replay goes on from there as the
// play did; the checkpoint at a play's beginning gives its replays the stage
// (and the pictures) the play found.
#include "game/controller/GameMain.h"

#include "of/Audio.h"
#include "of/TextureManager.h"
#include "of/Window.h"

namespace Kura {

namespace {

// What a window holds, whatever its kind; kinds without a picture or a face
// leave those fields as they are.
struct WindowRecord {
    int32_t kind = WINDOW_KIND_IMAGE;
    bool visible = false;
    WindowRect rect;
    bool flipX = false;
    bool flipY = false;
    int32_t depth = 0;
    WindowRect imageRect;
    int32_t charaIndex = 0;
    int32_t face = 0;
    std::string name;
    bool nameVisible = true;
};

WindowRecord RecordOf(const Window& window) {
    WindowRecord record;
    record.kind = window.GetType();
    record.visible = window.IsVisible();
    record.rect = window.GetRect();
    record.flipX = window.GetFlipX();
    record.flipY = window.GetFlipY();
    record.depth = window.GetDepth();
    if (const auto* image = dynamic_cast<const ImageWindow*>(&window))
        record.imageRect = image->GetImageRect();
    if (const auto* character = dynamic_cast<const CharacterWindow*>(&window)) {
        record.charaIndex = character->GetCharaIndex();
        record.face = character->GetFace();
        record.name = character->GetName();
        record.nameVisible = character->IsVisibleName();
    }
    return record;
}

void Apply(const WindowRecord& record, Window& window) {
    window.SetVisible(record.visible);
    window.SetRect(record.rect.x, record.rect.y, record.rect.w, record.rect.h);
    window.SetFlip(record.flipX, record.flipY);
    window.SetDepth(record.depth);
    if (auto* image = dynamic_cast<ImageWindow*>(&window)) {
        const WindowRect& part = record.imageRect;
        image->SetImageRect(part.x, part.y, part.w, part.h);
    }
    if (auto* character = dynamic_cast<CharacterWindow*>(&window)) {
        character->SetCharaIndex(record.charaIndex);
        character->SetFace(record.face);
        character->SetName(record.name);
        character->SetVisibleName(record.nameVisible);
    }
}

// The picture in each texture slot that holds one, by its path.
std::map<int32_t, std::string> Pictures() {
    std::map<int32_t, std::string> pictures;
    const TextureManager* textures = TextureManager::Get();
    if (textures == nullptr) return pictures;
    for (int32_t slot = 0; slot < TextureManager::MAX_TEXTURE_NUM; ++slot)
        if (textures->GetTexture(slot) != nullptr) pictures[slot] = textures->GetFilePath(slot);
    return pictures;
}

// A slot loaded since is loaded again with what it held, and one that was
// empty is emptied: a character window loads its face only into an empty slot.
void LoadPictures(const std::map<int32_t, std::string>& pictures) {
    TextureManager* textures = TextureManager::Get();
    if (textures == nullptr) return;
    for (int32_t slot = 0; slot < TextureManager::MAX_TEXTURE_NUM; ++slot) {
        const auto kept = pictures.find(slot);
        const bool loaded = textures->GetTexture(slot) != nullptr;
        if (kept == pictures.end()) {
            if (loaded) textures->Release(slot);
        } else if (!loaded || textures->GetFilePath(slot) != kept->second) {
            textures->LoadTexture(kept->second, slot);
        }
    }
}

template <class Load>
void LoadSounds(const std::map<int32_t, std::string>& kept, std::map<int32_t, std::string>& now,
                Load load) {
    for (const auto& [slot, file] : kept) {
        if (now[slot] == file) continue;
        now[slot] = file;
        load(file, slot);
    }
}

} // namespace

struct GameMain::Stage {
    std::vector<WindowRecord> windows;
    int32_t textWindowNow = -1;
    int32_t characterWindowNow = -1;
    std::map<int32_t, CharacterRecord> characters;
    ColorRgba background;
    ReplayMusic music;
    std::map<int32_t, std::string> pictures;
    std::map<int32_t, std::string> bgmFiles;
    std::map<int32_t, std::string> seFiles;
};

std::any GameMain::captureStage() const {
    Stage stage;
    for (const Window* window : mWindowManager)
        stage.windows.push_back(RecordOf(*window));
    stage.textWindowNow = TextWindow::GetNowIndex();
    stage.characterWindowNow = CharacterWindow::GetNowIndex();
    stage.characters = m_Characters;
    stage.background = m_BackgroundColor;
    stage.music = m_ReplayMusic;
    stage.pictures = Pictures();
    stage.bgmFiles = m_BgmFiles;
    stage.seFiles = m_SeFiles;
    return stage;
}

void GameMain::restoreStage(const std::any& kept) {
    const Stage* stage = std::any_cast<Stage>(&kept);
    if (stage == nullptr) return;
    LoadPictures(stage->pictures);
    clearAllWindows();
    for (const WindowRecord& record : stage->windows) {
        addWindow(record.kind);
        Apply(record, *mWindowManager.back());
    }
    TextWindow::SetNowIndex(stage->textWindowNow);
    CharacterWindow::SetNowIndex(stage->characterWindowNow);
    m_Characters = stage->characters;
    m_BackgroundColor = stage->background;
    m_ReplayMusic = stage->music;
    LoadSounds(stage->bgmFiles, m_BgmFiles, Audio::LoadBgm);
    LoadSounds(stage->seFiles, m_SeFiles, Audio::LoadSe);
}

} // namespace Kura
