// The signals of the scenario player: one per command that the game controller
// carries out, fired with the command's arguments (texts as std::string). Each
// is named after its command without "call"; the controller's slot is named
// slot + the same. Including Boost.Signals2 is slow, so only files that connect
// or fire these include this header.
#pragma once

#include <boost/signals2/signal.hpp>

#include <string>

namespace Kura {

struct ScenarioSignals {
    template <class Signature> using Signal = boost::signals2::signal<Signature>;
    using Text = const std::string&;

    // Story state kept by the player, told to whoever listens.
    Signal<void(int, int, int)> setMessageWindowCharacter; // chara, face, registry index
    Signal<void(Text, int)> setCommand;                    // text, value
    Signal<void(Text, Text, int)> setSubCommand;           // parent, text, value
    Signal<void()> waitSelectCommand;
    Signal<void(Text, int)> setInterruptCommand; // text, value
    Signal<void()> waitSelectInterruptCommand;
    Signal<void(Text)> gotoNextScript; // file name
    Signal<void()> clearSceneFlag;
    Signal<void(Text, Text)> setSceneFlagInt; // name, decimal text
    Signal<void(Text, Text)> setSceneFlagString;
    Signal<void()> clearGlobalFlag;
    Signal<void(Text, Text)> setGlobalFlagInt;
    Signal<void(Text, Text)> setGlobalFlagString;
    Signal<void(int, Text, Text)> setCharaInfo; // index; the texts are not used

    // Screen effects; times in milliseconds.
    Signal<void(int, int, int)> effectSetBackgroundColor; // r, g, b
    Signal<void(int, int)> effectWait;                    // ms, resume flag
    Signal<void(int, int, int, int)> effectFadeIn;        // r, g, b, ms
    Signal<void(int, int, int, int)> effectFadeOut;

    // Sound slots; volume and speed in percent, -1 keeps the current one.
    Signal<void(int, Text)> soundLoadBGM; // slot, file
    Signal<void(int, Text)> soundLoadSE;
    Signal<void(int, int, int)> soundPlayBGM; // slot, volume, speed
    Signal<void(int, int, int)> soundPlaySE;
    Signal<void()> soundStopBGM;
    Signal<void(int)> soundStopSE; // slot

    // Windows by their number in the controller's list.
    Signal<void(int, int)> windowInit;        // window, unused
    Signal<void(int, Text, Text)> windowLoad; // window, folder, file
    Signal<void(int, int)> windowSetVisible;  // window, flag
    Signal<void(int)> windowOpen;
    Signal<void(int)> windowClose;
    Signal<void(int, int, int)> windowSetPos;  // window, x, y
    Signal<void(int, int, int)> windowSetSize; // window, w, h
    Signal<void(int, int, int, int, int)> windowSetRect;
    Signal<void(int, int, int)> windowSetFlip; // window, flipX, flipY
    Signal<void(int, int, int)> windowMovePos;
    Signal<void(int, int)> windowSetDepth;
    Signal<void(int, int)> windowPlay;
    Signal<void(int)> windowStop;
    Signal<void(int, int, int, int, int)> imageWindowSetImageRect;
    // The last connected slot answers; 0 when nothing is connected.
    Signal<int(int)> imageWindowGetImageWidth;
    Signal<int(int)> imageWindowGetImageHeight;
    Signal<void(int)> characterWindowAppearance;
    Signal<void(int)> characterWindowExit;
    Signal<void(int, int)> characterWindowSetVisibleName;
    Signal<void(int, Text)> characterWindowSetName;
    Signal<void(int)> windowManagerAdd; // kind: 1 text, 2 image, 3 video, 4 character
    Signal<void()> windowManagerClearAll;
};

} // namespace Kura
