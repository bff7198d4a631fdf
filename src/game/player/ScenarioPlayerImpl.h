// What the scenario player keeps, shared by the player and the files that
// define its commands; nothing else includes it.
#pragma once

#include "game/player/CompiledScenes.h"
#include "game/player/GlobalSnapshot.h"
#include "game/player/PlayCheckpoints.h"
#include "game/player/ScenarioPlayer.h"
#include "game/player/ScenarioSignals.h"
#include "game/reading/ReadMarks.h"
#include "game/saves/PlayTrail.h"

#include "interpreter.h"

#include <cstddef>
#include <set>
#include <type_traits>

namespace Kura {

struct ScenarioPlayer::Impl {
    ScenarioSignals signals;
    Kel::Interpreter interpreter;
    CompiledScenes compiled;
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
    PlayTrail trail;
    // The readings of the trail being replayed, answered again in order.
    std::vector<int64_t> replayedClock;
    GlobalSnapshot globalsAtFirstPlay;
    bool replaying = false;
    // Menus the script has waited at since the play began: a menu is open
    // while there are more of them than decisions, since after a decision the
    // state stays "choosing" until the script sets another.
    int32_t menuWaits = 0;
    PlayCheckpoints checkpoints;
    PlayCheckpoints::Kept lastCheckpoint; // the play passed it last
    // A play begun from a trail, whose scene changes are checkpoints; not the
    // title's script, which runs on no trail of its own.
    bool onTrail = false;
    std::set<std::string> scenesRun; // paths, since the play began
    StageKeeper stageKeeper;
    // The message last shown, known as the read marks know it, and how often
    // each text has been shown since its file was loaded.
    MessageKey messageKey;
    int64_t messagesShown = 0;
    std::map<std::string, int32_t> textsShownInFile;

    void clearMessage();
    void showTypedCharacters();
    void appendMessage(const std::string& text, int32_t autoAdvanceTime); // text in UTF-8
    // What a script reading the clock sees: while replaying, what the play
    // read at the same reading; the live value after. Either is recorded.
    int64_t readClock(int64_t live);
    // A checkpoint where the scene file just loaded begins, unless one is
    // kept there and not asked for anew.
    void keepCheckpoint(bool anew);
    void resumeAt(const PlayCheckpoints::Kept& checkpoint, const PlayTrail& replayed);
    void clearSceneFlags();
    void clearGlobalFlags();
    // Adds the item, or updates its value; true when the list changed.
    static bool setItem(CommandList& items, const std::string& text, int32_t value);
};

namespace ScenarioCommands {

// The player the commands act on, or null after reporting "m_pRef" from
// function (as "ScenarioPlayer::callDispMessage").
ScenarioPlayer::Impl* Target(const char* function, int32_t line);

// The kept commands, written by hand in StoryCommands.cpp and FlagCommands.cpp.
#define KURA_DECLARE_KEPT(NAME, SIGNATURE) std::type_identity_t<SIGNATURE> call##NAME;
KURA_SCENARIO_COMMANDS(KURA_DECLARE_KEPT, KURA_SCENARIO_SKIP, KURA_SCENARIO_SKIP)
#undef KURA_DECLARE_KEPT

// Binds every command of the list into the interpreter's global object.
void RegisterCommands(Kel::Interpreter& interpreter);

} // namespace ScenarioCommands

} // namespace Kura
