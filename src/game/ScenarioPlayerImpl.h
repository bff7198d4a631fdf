// What the scenario player keeps, shared by the player and the files that
// define its commands; nothing else includes it.
#pragma once

#include "game/ScenarioPlayer.h"
#include "game/ScenarioSignals.h"

#include "interpreter.h"

#include <cstddef>

namespace Kura {

struct ScenarioPlayer::Impl {
    ScenarioSignals signals;
    Kel::Interpreter interpreter;
    int32_t state = STATE_RUNNING;
    std::string messageText; // narrow encoding, whole characters
    std::string shownText;   // the typed part, cut back to whole characters
    size_t typedWidth = 0;   // how far typing has gone, one code-page byte per step
    size_t shownWidth = 0;   // the code-page width of shownText
    int32_t autoAdvanceTime = AUTO_ADVANCE_NONE;
    CommandList commands;
    CommandList interruptCommands;
    std::string nowScene;
    std::string maxScene;
    FlagMap sceneFlags;
    FlagMap globalFlags;
    std::string selectedText; // UTF-8
    std::string scriptName;   // relative to the scenario folder
    std::string progressPath;
    bool running = false; // inside the script: resume and reload must wait
    bool stopped = false; // the script ran past its bound and is not resumed

    void clearMessage();
    void showTypedCharacters();
    void appendMessage(const std::string& text, int32_t autoAdvanceTime);
    void clearSceneFlags();
    void clearGlobalFlags();
};

namespace ScenarioCommands {

// The player the commands act on, or null after reporting "m_pRef" from
// function (as "ScenarioPlayer::callDispMessage").
ScenarioPlayer::Impl* Target(const char* function, int32_t line);

// Binds each group of commands into the interpreter's global object.
void RegisterStoryCommands(Kel::Interpreter& interpreter);  // message, menus, next script
void RegisterFlagCommands(Kel::Interpreter& interpreter);   // flags, numbers as text
void RegisterScreenCommands(Kel::Interpreter& interpreter); // windows, effects, sound

} // namespace ScenarioCommands

} // namespace Kura
