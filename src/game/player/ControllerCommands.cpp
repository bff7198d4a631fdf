// Scenario commands that the game controller carries out: characters, screen
// effects, sound slots and windows. Each fires its signal with the script's
// arguments; the player keeps nothing of them.
#include "game/player/ScenarioPlayerImpl.h"

namespace Kura::ScenarioCommands {

namespace {

template <class Signal, class... A>
void Forward(const char* function, int32_t line, Signal ScenarioSignals::*signal,
             const A&... args) {
    if (ScenarioPlayer::Impl* player = Target(function, line)) (player->signals.*signal)(args...);
}

// Asks the controller; 0 when no slot answers.
int Ask(const char* function, int32_t line,
        decltype(ScenarioSignals::imageWindowGetImageWidth) ScenarioSignals::*signal, int window) {
    ScenarioPlayer::Impl* player = Target(function, line);
    return player ? (player->signals.*signal)(window).value_or(0) : 0;
}

void callSetMessageWindowCharacter(int chara, int face, int registryIndex) {
    Forward("ScenarioPlayer::callSetMessageWindowCharacter", __LINE__,
            &ScenarioSignals::setMessageWindowCharacter, chara, face, registryIndex);
}

void callSetCharaInfo(int index, const char* first, const char* second) {
    Forward("ScenarioPlayer::callSetCharaInfo", __LINE__, &ScenarioSignals::setCharaInfo, index,
            first, second);
}

void callEffectSetBackgroundColor(int red, int green, int blue) {
    Forward("ScenarioPlayer::callEffectSetBackgroundColor", __LINE__,
            &ScenarioSignals::effectSetBackgroundColor, red, green, blue);
}

void callEffectWait(int milliseconds, int resume) {
    Forward("ScenarioPlayer::callEffectWait", __LINE__, &ScenarioSignals::effectWait, milliseconds,
            resume);
}

void callEffectFadeIn(int red, int green, int blue, int milliseconds) {
    Forward("ScenarioPlayer::callEffectFadeIn", __LINE__, &ScenarioSignals::effectFadeIn, red,
            green, blue, milliseconds);
}

void callEffectFadeOut(int red, int green, int blue, int milliseconds) {
    Forward("ScenarioPlayer::callEffectFadeOut", __LINE__, &ScenarioSignals::effectFadeOut, red,
            green, blue, milliseconds);
}

void callSoundLoadBGM(int slot, const char* file) {
    Forward("ScenarioPlayer::callSoundLoadBGM", __LINE__, &ScenarioSignals::soundLoadBGM, slot,
            file);
}

void callSoundLoadSE(int slot, const char* file) {
    Forward("ScenarioPlayer::callSoundLoadSE", __LINE__, &ScenarioSignals::soundLoadSE, slot, file);
}

void callSoundPlayBGM(int slot, int volume, int speed) {
    Forward("ScenarioPlayer::callSoundPlayBGM", __LINE__, &ScenarioSignals::soundPlayBGM, slot,
            volume, speed);
}

void callSoundPlaySE(int slot, int volume, int speed) {
    Forward("ScenarioPlayer::callSoundPlaySE", __LINE__, &ScenarioSignals::soundPlaySE, slot,
            volume, speed);
}

void callSoundStopBGM() {
    Forward("ScenarioPlayer::callSoundStopBGM", __LINE__, &ScenarioSignals::soundStopBGM);
}

void callSoundStopSE(int slot) {
    Forward("ScenarioPlayer::callSoundStopSE", __LINE__, &ScenarioSignals::soundStopSE, slot);
}

void callWindowInit(int window, int unused) {
    Forward("ScenarioPlayer::callWindowInit", __LINE__, &ScenarioSignals::windowInit, window,
            unused);
}

void callWindowLoad(int window, const char* folder, const char* file) {
    Forward("ScenarioPlayer::callWindowLoad", __LINE__, &ScenarioSignals::windowLoad, window,
            folder, file);
}

void callWindowSetVisible(int window, int visible) {
    Forward("ScenarioPlayer::callWindowSetVisible", __LINE__, &ScenarioSignals::windowSetVisible,
            window, visible);
}

void callWindowOpen(int window) {
    Forward("ScenarioPlayer::callWindowOpen", __LINE__, &ScenarioSignals::windowOpen, window);
}

void callWindowClose(int window) {
    Forward("ScenarioPlayer::callWindowClose", __LINE__, &ScenarioSignals::windowClose, window);
}

void callWindowSetPos(int window, int x, int y) {
    Forward("ScenarioPlayer::callWindowSetPos", __LINE__, &ScenarioSignals::windowSetPos, window, x,
            y);
}

void callWindowSetSize(int window, int w, int h) {
    Forward("ScenarioPlayer::callWindowSetSize", __LINE__, &ScenarioSignals::windowSetSize, window,
            w, h);
}

void callWindowSetRect(int window, int x, int y, int w, int h) {
    Forward("ScenarioPlayer::callWindowSetRect", __LINE__, &ScenarioSignals::windowSetRect, window,
            x, y, w, h);
}

void callWindowSetFlip(int window, int flipX, int flipY) {
    Forward("ScenarioPlayer::callWindowSetFlip", __LINE__, &ScenarioSignals::windowSetFlip, window,
            flipX, flipY);
}

void callWindowMovePos(int window, int x, int y) {
    Forward("ScenarioPlayer::callWindowMovePos", __LINE__, &ScenarioSignals::windowMovePos, window,
            x, y);
}

void callWindowSetDepth(int window, int depth) {
    Forward("ScenarioPlayer::callWindowSetDepth", __LINE__, &ScenarioSignals::windowSetDepth,
            window, depth);
}

void callWindowPlay(int window, int count) {
    Forward("ScenarioPlayer::callWindowPlay", __LINE__, &ScenarioSignals::windowPlay, window,
            count);
}

void callWindowStop(int window) {
    Forward("ScenarioPlayer::callWindowStop", __LINE__, &ScenarioSignals::windowStop, window);
}

void callImageWindowSetImageRect(int window, int x, int y, int w, int h) {
    Forward("ScenarioPlayer::callImageWindowSetImageRect", __LINE__,
            &ScenarioSignals::imageWindowSetImageRect, window, x, y, w, h);
}

int callImageWindowGetImageWidth(int window) {
    return Ask("ScenarioPlayer::callImageWindowGetImageWidth", __LINE__,
               &ScenarioSignals::imageWindowGetImageWidth, window);
}

int callImageWindowGetImageHeight(int window) {
    return Ask("ScenarioPlayer::callImageWindowGetImageHeight", __LINE__,
               &ScenarioSignals::imageWindowGetImageHeight, window);
}

void callCharacterWindowAppearance(int window) {
    Forward("ScenarioPlayer::callCharacterWindowAppearance", __LINE__,
            &ScenarioSignals::characterWindowAppearance, window);
}

void callCharacterWindowExit(int window) {
    Forward("ScenarioPlayer::callCharacterWindowExit", __LINE__,
            &ScenarioSignals::characterWindowExit, window);
}

void callCharacterWindowSetVisibleName(int window, int visible) {
    Forward("ScenarioPlayer::callCharacterWindowSetVisibleName", __LINE__,
            &ScenarioSignals::characterWindowSetVisibleName, window, visible);
}

void callCharacterWindowSetName(int window, const char* name) {
    Forward("ScenarioPlayer::callCharacterWindowSetName", __LINE__,
            &ScenarioSignals::characterWindowSetName, window, name);
}

void callWindowManagerAdd(int kind) {
    Forward("ScenarioPlayer::callWindowManagerAdd", __LINE__, &ScenarioSignals::windowManagerAdd,
            kind);
}

void callWindowManagerClearAll() {
    Forward("ScenarioPlayer::callWindowManagerClearAll", __LINE__,
            &ScenarioSignals::windowManagerClearAll);
}

} // namespace

void RegisterScreenCommands(Kel::Interpreter& interpreter) {
    interpreter.registerFunction("callSetMessageWindowCharacter", callSetMessageWindowCharacter);
    interpreter.registerFunction("callSetCharaInfo", callSetCharaInfo);
    interpreter.registerFunction("callEffectSetBackgroundColor", callEffectSetBackgroundColor);
    interpreter.registerFunction("callEffectWait", callEffectWait);
    interpreter.registerFunction("callEffectFadeIn", callEffectFadeIn);
    interpreter.registerFunction("callEffectFadeOut", callEffectFadeOut);
    interpreter.registerFunction("callSoundLoadBGM", callSoundLoadBGM);
    interpreter.registerFunction("callSoundLoadSE", callSoundLoadSE);
    interpreter.registerFunction("callSoundPlayBGM", callSoundPlayBGM);
    interpreter.registerFunction("callSoundPlaySE", callSoundPlaySE);
    interpreter.registerFunction("callSoundStopBGM", callSoundStopBGM);
    interpreter.registerFunction("callSoundStopSE", callSoundStopSE);
    interpreter.registerFunction("callWindowInit", callWindowInit);
    interpreter.registerFunction("callWindowLoad", callWindowLoad);
    interpreter.registerFunction("callWindowSetVisible", callWindowSetVisible);
    interpreter.registerFunction("callWindowOpen", callWindowOpen);
    interpreter.registerFunction("callWindowClose", callWindowClose);
    interpreter.registerFunction("callWindowSetPos", callWindowSetPos);
    interpreter.registerFunction("callWindowSetSize", callWindowSetSize);
    interpreter.registerFunction("callWindowSetRect", callWindowSetRect);
    interpreter.registerFunction("callWindowSetFlip", callWindowSetFlip);
    interpreter.registerFunction("callWindowMovePos", callWindowMovePos);
    interpreter.registerFunction("callWindowSetDepth", callWindowSetDepth);
    interpreter.registerFunction("callWindowPlay", callWindowPlay);
    interpreter.registerFunction("callWindowStop", callWindowStop);
    interpreter.registerFunction("callImageWindowSetImageRect", callImageWindowSetImageRect);
    interpreter.registerFunction("callImageWindowGetImageWidth", callImageWindowGetImageWidth);
    interpreter.registerFunction("callImageWindowGetImageHeight", callImageWindowGetImageHeight);
    interpreter.registerFunction("callCharacterWindowAppearance", callCharacterWindowAppearance);
    interpreter.registerFunction("callCharacterWindowExit", callCharacterWindowExit);
    interpreter.registerFunction("callCharacterWindowSetVisibleName",
                                 callCharacterWindowSetVisibleName);
    interpreter.registerFunction("callCharacterWindowSetName", callCharacterWindowSetName);
    interpreter.registerFunction("callWindowManagerAdd", callWindowManagerAdd);
    interpreter.registerFunction("callWindowManagerClearAll", callWindowManagerClearAll);
}

} // namespace Kura::ScenarioCommands
