// The scenario host: its own Kel interpreter with the scenario commands bound,
// the message being typed out, the menus of choices, the flags and the scene
// progress. Screen and sound commands leave as signals (ScenarioSignals.h),
// which only the files that connect or fire them include.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Kura {

struct PlayCheckpoint;
struct MessageKey;
struct PlayTrail;
struct ScenarioSignals;

// One choice of a menu: texts in the engine's narrow encoding, matched exactly.
// A value of 0 keeps the item out of the menu. Sub-items have no sub-items.
struct CommandItem {
    std::string text;
    int32_t value = 0;
    std::vector<CommandItem> subItems;
};

using CommandList = std::vector<CommandItem>;
using FlagMap = std::map<std::string, std::string>;

class ScenarioPlayer {
public:
    enum State : int32_t {
        STATE_RUNNING = 0,
        STATE_MESSAGE = 1,
        STATE_SELECT_COMMAND = 2,
        STATE_SELECT_INTERRUPT = 3,
    };
    // Auto-advance times of a message: wait for the player, or already handed
    // on as a wait.
    static constexpr int32_t AUTO_ADVANCE_NONE = -1;
    static constexpr int32_t AUTO_ADVANCE_DONE = -2;
    static constexpr const char* SCENARIO_FOLDER = "scenario";
    static constexpr const char* SAVE_FOLDER = "save";
    static constexpr const char* SAVE_FILE = "save.kel";

    // Binds the commands and reads the progress file; needs Setting for paths.
    ScenarioPlayer();
    ~ScenarioPlayer();
    ScenarioPlayer(const ScenarioPlayer&) = delete;
    ScenarioPlayer& operator=(const ScenarioPlayer&) = delete;

    ScenarioSignals& signals();

    void start(const std::string& name); // a new game: both flag maps cleared
    // A new play from the scenario file: the script globals go back to what
    // the first play found, and the trail begins here, with a checkpoint.
    void beginPlay(const std::string& name);
    // Back to the beginning of trail, with its random numbers, ready to be
    // replayed; the trail recorded from now on starts empty there.
    void beginReplay(const PlayTrail& trail);
    // The same from the latest checkpoint that a replay of trail passes at or
    // before `stops` stops, when one is kept: the trail recorded from now on
    // is the one the play had there.
    void beginReplayBefore(const PlayTrail& trail, int32_t stops);
    // What a host keeps of its own stage with each checkpoint (taken at every
    // change of scene file), and puts back when a replay starts from one.
    struct StageKeeper {
        std::function<std::any()> capture;
        std::function<void(const std::any&)> restore;
    };
    void setStageKeeper(StageKeeper keeper);
    // The checkpoint the play passed last, taken or started from; null when
    // it has passed none since its beginning.
    std::shared_ptr<const PlayCheckpoint> lastCheckpoint() const;
    // Back to that checkpoint, to go on from there as a new route would.
    void beginReplayAt(const std::shared_ptr<const PlayCheckpoint>& checkpoint);
    // The play so far: its beginning, decisions and messages advanced.
    const PlayTrail& getTrail() const;
    // While replaying, waits, typing and sounds pass at once and nothing is
    // written: the controller and the progress file look at this.
    void setReplaying(bool replaying);
    bool isReplaying() const;
    void completeMessage(); // the whole message shown at once
    // A menu waits for a decision not made yet.
    bool isChoiceOpen() const;
    void reload(bool clearScene, bool clearGlobal);
    void resume();     // runs the script until it yields or ends
    void typingStep(); // one more code-page byte of the message, or the auto-advance wait
    void select(const std::string& text);
    // Adds an item to the menu of choices, or updates its value, and tells who
    // listens when that changed the menu. Texts in the narrow encoding.
    void setCommand(const std::string& text, int32_t value);
    void setSubCommand(const std::string& parent, const std::string& text, int32_t value);

    // False once the current file has ended (or none loaded) until the next load.
    bool isScriptRunning() const;
    int32_t getState() const;
    const std::string& getMessageText() const;
    // Always whole characters, however many bytes have been typed.
    const std::string& getShownText() const;
    bool isMessageComplete() const;
    bool isMessageCompleteAndReported() const; // complete, no auto-advance pending
    int32_t getAutoAdvanceTime() const;
    const std::string& getNowScene() const;
    const std::string& getMaxScene() const;
    const CommandList& getCommands() const;
    const CommandList& getInterruptCommands() const;
    const FlagMap& getSceneFlags() const;
    const FlagMap& getGlobalFlags() const;
    const std::string& getSelectedText() const; // UTF-8
    const std::string& getScriptName() const;
    // The message last shown as the read marks know it, and how many messages
    // have been shown so far, so that a new one shows even when its key is
    // the same as the last.
    const MessageKey& getMessageKey() const;
    int64_t getMessagesShown() const;

    // The player the bound commands act on: set by the constructor, reload and
    // resume, cleared when that player goes.
    static inline ScenarioPlayer* m_pRef = nullptr;

    // The state the commands work on; its type is known only to them.
    struct Impl;
    Impl& impl() { return *m_pImpl; }

private:
    void resumeAt(const std::shared_ptr<const PlayCheckpoint>& checkpoint,
                  const PlayTrail& replayed);

    std::unique_ptr<Impl> m_pImpl;
};

} // namespace Kura
