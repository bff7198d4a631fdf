// The one list of every scenario command and of the news the player tells.
// The bindings, the forwarders, the signals, the controller's slot declarations
// and connections, and the headless host's recorder all expand it, so a
// command added here reaches every one of them at once. Only the bodies of the
// kept commands and of the slots are written by hand.
#pragma once

#include <string>
#include <type_traits>

// X(NAME, SIGNATURE) for each command "call" NAME, as the script calls it:
// texts are UTF-8 C strings, numbers int. The side that carries it out:
// - KEPT: the player itself; `ScenarioCommands::callNAME` is written by hand.
// - FIRED: the controller; the signal `onNAME` carries the arguments to
//   `GameMain::slotNAME`, texts as std::string.
// - ASKED: fired like the others, but the controller's slot answers it.
#define KURA_SCENARIO_COMMANDS(KEPT, FIRED, ASKED)                                                 \
    KEPT(ClearMessage, void())                                                                     \
    KEPT(DispMessage, void(const char* text, int autoAdvanceTime))                                 \
    FIRED(SetMessageWindowCharacter, void(int chara, int face, int registryIndex))                 \
    KEPT(SetCommand, void(const char* text, int value))                                            \
    KEPT(SetSubCommand, void(const char* parent, const char* text, int value))                     \
    KEPT(WaitSelectCommand, void())                                                                \
    KEPT(GetSelectCommand, const char*())                                                          \
    KEPT(ClearInterruptCommand, void())                                                            \
    KEPT(SetInterruptCommand, void(const char* text, int value))                                   \
    KEPT(WaitSelectInterruptCommand, void())                                                       \
    KEPT(GetSelectInterruptCommand, const char*())                                                 \
    KEPT(GotoNextScript, void(const char* name))                                                   \
    KEPT(GetStringFromInt, const char*(int value))                                                 \
    KEPT(GetIntFromString, int(const char* text))                                                  \
    KEPT(ClearSceneFlag, void())                                                                   \
    KEPT(GetSceneFlag, const char*(const char* name))                                              \
    KEPT(SetSceneFlagInt, void(const char* name, int value))                                       \
    KEPT(SetSceneFlagString, void(const char* name, const char* value))                            \
    KEPT(ClearGlobalFlag, void())                                                                  \
    KEPT(GetGlobalFlag, const char*(const char* name))                                             \
    KEPT(SetGlobalFlagInt, void(const char* name, int value))                                      \
    KEPT(SetGlobalFlagString, void(const char* name, const char* value))                           \
    FIRED(SetCharaInfo, void(int index, const char* unused1, const char* unused2))                 \
    FIRED(EffectSetBackgroundColor, void(int r, int g, int b))                                     \
    FIRED(EffectWait, void(int ms, int resume))                                                    \
    FIRED(EffectFadeIn, void(int r, int g, int b, int ms))                                         \
    FIRED(EffectFadeOut, void(int r, int g, int b, int ms))                                        \
    FIRED(SoundLoadBGM, void(int slot, const char* file))                                          \
    FIRED(SoundLoadSE, void(int slot, const char* file))                                           \
    FIRED(SoundPlayBGM, void(int slot, int volume, int speed))                                     \
    FIRED(SoundPlaySE, void(int slot, int volume, int speed))                                      \
    FIRED(SoundStopBGM, void())                                                                    \
    FIRED(SoundStopSE, void(int slot))                                                             \
    FIRED(WindowInit, void(int window, int unused))                                                \
    FIRED(WindowLoad, void(int window, const char* folder, const char* file))                      \
    FIRED(WindowSetVisible, void(int window, int flag))                                            \
    FIRED(WindowOpen, void(int window))                                                            \
    FIRED(WindowClose, void(int window))                                                           \
    FIRED(WindowSetPos, void(int window, int x, int y))                                            \
    FIRED(WindowSetSize, void(int window, int w, int h))                                           \
    FIRED(WindowSetRect, void(int window, int x, int y, int w, int h))                             \
    FIRED(WindowSetFlip, void(int window, int flipX, int flipY))                                   \
    FIRED(WindowMovePos, void(int window, int x, int y))                                           \
    FIRED(WindowSetDepth, void(int window, int depth))                                             \
    FIRED(WindowPlay, void(int window, int n))                                                     \
    FIRED(WindowStop, void(int window))                                                            \
    FIRED(ImageWindowSetImageRect, void(int window, int x, int y, int w, int h))                   \
    ASKED(ImageWindowGetImageWidth, int(int window))                                               \
    ASKED(ImageWindowGetImageHeight, int(int window))                                              \
    FIRED(CharacterWindowAppearance, void(int window))                                             \
    FIRED(CharacterWindowExit, void(int window))                                                   \
    FIRED(CharacterWindowSetVisibleName, void(int window, int flag))                               \
    FIRED(CharacterWindowSetName, void(int window, const char* name))                              \
    FIRED(WindowManagerAdd, void(int kind))                                                        \
    FIRED(WindowManagerClearAll, void())

// X(NAME, SIGNATURE) for each change a kept command tells whoever listens, as
// the signal `onNAME`; texts in the engine's narrow encoding.
#define KURA_PLAYER_NEWS(X)                                                                        \
    X(SetCommand, void(const std::string& text, int value))                                        \
    X(SetSubCommand, void(const std::string& parent, const std::string& text, int value))          \
    X(WaitSelectCommand, void())                                                                   \
    X(SetInterruptCommand, void(const std::string& text, int value))                               \
    X(WaitSelectInterruptCommand, void())                                                          \
    X(GotoNextScript, void(const std::string& name))                                               \
    X(ClearSceneFlag, void())                                                                      \
    X(SetSceneFlagInt, void(const std::string& name, const std::string& decimal))                  \
    X(SetSceneFlagString, void(const std::string& name, const std::string& value))                 \
    X(ClearGlobalFlag, void())                                                                     \
    X(SetGlobalFlagInt, void(const std::string& name, const std::string& decimal))                 \
    X(SetGlobalFlagString, void(const std::string& name, const std::string& value))

// For the side of the list an expansion leaves out.
#define KURA_SCENARIO_SKIP(NAME, SIGNATURE)

namespace Kura {

// A script's text argument reaches the controller as a string it may keep.
template <class T>
using SlotArgument = std::conditional_t<std::is_same_v<T, const char*>, const std::string&, T>;

template <class Signature> struct SlotOf;
template <class R, class... A> struct SlotOf<R(A...)> { using type = R(SlotArgument<A>...); };

// The signature of a fired command's signal and slot.
template <class Signature> using SlotSignature = typename SlotOf<Signature>::type;

} // namespace Kura
