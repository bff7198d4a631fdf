// Slots of the window commands: each acts on the window with the script's
// number, and only on a window of the kind the command is for. A number outside
// the list is reported and changes nothing.
#include "game/controller/GameMain.h"

#include "of/TextureManager.h"
#include "of/Window.h"

namespace Kura {

namespace {

// Character windows are image windows too.
ImageWindow* AsImage(Window* window) {
    return dynamic_cast<ImageWindow*>(window);
}
CharacterWindow* AsCharacter(Window* window) {
    return dynamic_cast<CharacterWindow*>(window);
}

} // namespace

void GameMain::slotWindowInit(int window, int) {
    if (Window* w = slotWindow("Kura::GameMain::slotWindowInit", __LINE__, window)) w->Init();
}

void GameMain::slotWindowLoad(int window, const std::string& folder, const std::string& file) {
    // A picture that cannot be loaded is reported by the window.
    if (Window* w = slotWindow("Kura::GameMain::slotWindowLoad", __LINE__, window))
        w->Load(folder, file);
}

void GameMain::slotWindowSetVisible(int window, int flag) {
    if (Window* w = slotWindow("Kura::GameMain::slotWindowSetVisible", __LINE__, window))
        w->SetVisible(flag);
}

void GameMain::slotWindowOpen(int window) {
    if (Window* w = slotWindow("Kura::GameMain::slotWindowOpen", __LINE__, window)) w->Open();
}

void GameMain::slotWindowClose(int window) {
    if (Window* w = slotWindow("Kura::GameMain::slotWindowClose", __LINE__, window)) w->Close();
}

void GameMain::slotWindowSetPos(int window, int x, int y) {
    if (Window* w = slotWindow("Kura::GameMain::slotWindowSetPos", __LINE__, window))
        w->SetPos(x, y);
}

void GameMain::slotWindowSetSize(int window, int w, int h) {
    if (Window* target = slotWindow("Kura::GameMain::slotWindowSetSize", __LINE__, window))
        target->SetSize(w, h);
}

void GameMain::slotWindowSetRect(int window, int x, int y, int w, int h) {
    if (Window* target = slotWindow("Kura::GameMain::slotWindowSetRect", __LINE__, window))
        target->SetRect(x, y, w, h);
}

void GameMain::slotWindowSetFlip(int window, int flipX, int flipY) {
    if (Window* w = slotWindow("Kura::GameMain::slotWindowSetFlip", __LINE__, window))
        w->SetFlip(flipX, flipY);
}

void GameMain::slotWindowMovePos(int window, int x, int y) {
    if (Window* w = slotWindow("Kura::GameMain::slotWindowMovePos", __LINE__, window))
        w->MovePos(x, y);
}

void GameMain::slotWindowSetDepth(int window, int depth) {
    if (Window* w = slotWindow("Kura::GameMain::slotWindowSetDepth", __LINE__, window))
        w->SetDepth(depth);
}

void GameMain::slotWindowPlay(int window, int n) {
    if (Window* w = slotWindow("Kura::GameMain::slotWindowPlay", __LINE__, window)) w->Play(n);
}

void GameMain::slotWindowStop(int window) {
    if (Window* w = slotWindow("Kura::GameMain::slotWindowStop", __LINE__, window)) w->Stop();
}

void GameMain::slotImageWindowSetImageRect(int window, int x, int y, int w, int h) {
    Window* target = slotWindow("Kura::GameMain::slotImageWindowSetImageRect", __LINE__, window);
    if (ImageWindow* image = AsImage(target)) image->SetImageRect(x, y, w, h);
}

int GameMain::slotImageWindowGetImageWidth(int window) {
    ImageWindow* image =
        AsImage(slotWindow("Kura::GameMain::slotImageWindowGetImageWidth", __LINE__, window));
    TextureManager* textures = TextureManager::Get();
    return image && textures ? textures->GetWidth(image->GetTextureIndex()) : 0;
}

int GameMain::slotImageWindowGetImageHeight(int window) {
    ImageWindow* image =
        AsImage(slotWindow("Kura::GameMain::slotImageWindowGetImageHeight", __LINE__, window));
    TextureManager* textures = TextureManager::Get();
    return image && textures ? textures->GetHeight(image->GetTextureIndex()) : 0;
}

void GameMain::slotCharacterWindowAppearance(int window) {
    Window* w = slotWindow("Kura::GameMain::slotCharacterWindowAppearance", __LINE__, window);
    if (CharacterWindow* chara = AsCharacter(w)) chara->Appearance();
}

void GameMain::slotCharacterWindowExit(int window) {
    Window* w = slotWindow("Kura::GameMain::slotCharacterWindowExit", __LINE__, window);
    if (CharacterWindow* chara = AsCharacter(w)) chara->Exit();
}

void GameMain::slotCharacterWindowSetVisibleName(int window, int flag) {
    Window* w = slotWindow("Kura::GameMain::slotCharacterWindowSetVisibleName", __LINE__, window);
    if (CharacterWindow* chara = AsCharacter(w)) chara->SetVisibleName(flag);
}

void GameMain::slotCharacterWindowSetName(int window, const std::string& name) {
    Window* w = slotWindow("Kura::GameMain::slotCharacterWindowSetName", __LINE__, window);
    if (CharacterWindow* chara = AsCharacter(w)) chara->SetName(name);
}

} // namespace Kura
