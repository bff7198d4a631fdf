// The game controller: owns the windows, the two menus of choices and the
// character table; turns the title choice into a story, types out and draws the
// message, runs waits and fades, and carries out the scenario's screen and sound
// commands, one slot per command. Needs every engine service set up first.
#pragma once

#include "game/player/ScenarioCommandList.h"
#include "game/reading/Preferences.h"
#include "game/reading/ReadMarks.h"
#include "game/saves/PlayTrail.h"
#include "game/saves/SlotStore.h"
#include "game/saves/Thumbnail.h"
#include "game/screens/BacklogScreen.h"
#include "game/screens/MessageHistory.h"
#include "game/screens/PreferencesScreen.h"
#include "game/screens/SlotScreen.h"
#include "game/screens/SystemMenu.h"

#include "interpreter.h"

#include <any>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Kura {

class CharacterWindow;
class Controller;
class GameWindowSettings;
class ScenarioPlayer;
class SimpleMenu;
class Window;
struct CommandItem;

struct ColorRgba {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;
};

// One element of the settings array "gCharaData".
struct CharacterRecord {
    std::string name;
    std::string baseFilePath; // its "%s" stands for the face number
    int32_t msgSeIndex = 0;   // added to "se_start_idx_msg" for the typing sound
};

class GameMain : public Kel::Interpreter {
public:
    // Keys of saving and rolling back, as the window reports them (F keys
    // count from F1); none of them is one a scenario's input reads.
    static constexpr int32_t KEY_QUICK_SAVE = 0x100 + 5;     // F5
    static constexpr int32_t KEY_QUICK_LOAD = 0x100 + 9;     // F9
    static constexpr int32_t KEY_ROLL_BACK = 0x100 + 104;    // Page Up
    static constexpr int32_t KEY_ROLL_FORWARD = 0x100 + 105; // Page Down
    static constexpr int32_t KEY_SAVE_SCREEN = 0x100 + 2;    // F2
    static constexpr int32_t KEY_LOAD_SCREEN = 0x100 + 3;    // F3
    static constexpr int32_t KEY_SYSTEM_MENU = 0x100 + 1;    // F1
    static constexpr int32_t KEY_BACKLOG = 'l';

    // The frame rate the game is made for; waits and fades run at the measured one.
    static constexpr int32_t FRAME_RATE = 60;
    static constexpr const char* CONTENTS_FILE = "contents.kel";
    static constexpr const char* TITLE_SCENARIO = "empty.kel";
    static constexpr const char* TITLE_PICTURE = "Default@2x.png";
    static constexpr const char* CHARA_FOLDER = "image/chara";
    static constexpr int32_t MENU_FONT_TYPE = 1;
    static constexpr int32_t MESSAGE_FONT_TYPE = 2;
    // Sound effect of advancing past a message.
    static constexpr int32_t SE_ADVANCE = 0;
    // A click that advances the story holds it still this long, so the same
    // click cannot also reach what the script shows next.
    static constexpr int32_t CLICK_FREEZE_FRAMES = 20;
    // The typing sound plays on every this-many-th frame of a message.
    static constexpr int32_t TYPING_SOUND_INTERVAL = 3;
    // Bytes typed per frame at the base text speed without input; holding the
    // button types one.
    static constexpr int32_t TYPING_STEPS_PER_FRAME = TEXT_SPEEDS[TEXT_SPEED_BASE].bytes;

    static void create();   // no-op when the instance exists
    static void destroy();  // no-op without one
    static GameMain* get(); // reports "g_pInstance" and answers null without one

    void scenarioInit(); // loads the contents script, then puts up the title menu
    void update();       // one frame of game logic
    void draw();         // one frame in the 960 x 640 canvas

    Window* getWindow(int32_t index); // null, reported, outside the list
    void setWait(int32_t frames, bool resume);
    // Milliseconds as frames at the measured frame rate; 0 when it is not above 0.
    static int32_t framesFromMs(int32_t ms);
    static int32_t framesAtRate(int32_t ms, int64_t fps);
    // The frames a scenario's wait of ms lasts; 0 when there is no wait.
    static int32_t waitFramesAtRate(int32_t ms, int64_t fps);

    // One slot per command the scenario fires to the controller, from the
    // command list; the bodies are in EffectSlots.cpp, WindowSlots.cpp and
    // WindowList.cpp.
#define KURA_DECLARE_SLOT(NAME, SIGNATURE) static SlotSignature<SIGNATURE> slot##NAME;
    KURA_SCENARIO_COMMANDS(KURA_SCENARIO_SKIP, KURA_DECLARE_SLOT, KURA_DECLARE_SLOT)
#undef KURA_DECLARE_SLOT
    // The news of the player that the controller follows.
    static void slotGotoNextScript(const std::string& name);
    // A wait for a choice; a second one right after the first leaves the
    // player's state as it was, so the menu is rebuilt on this signal too.
    static void slotWaitSelect();

    // Saving and going back (SavePlay.cpp). A save holds the play's trail; a
    // load replays it without a screen and shows where it was saved.
    bool saveTo(SlotId slot);
    bool loadFrom(SlotId slot); // a damaged slot falls back to its backup
    void loadRecord(const SaveRecord& record);
    bool autoSave();                // into the auto-save slot whose turn it is; not on the title
    bool rollBack();                // one message back
    bool rollForward();             // along the trail kept since rolling back
    bool rollBackTo(int32_t stops); // to the place where so many stops were passed
    // Developer mode's hot reload (DevReload.cpp): the play so far replayed
    // with every scene file read again; false on the title.
    bool replayEditedScenes();
    const SlotStore& getSlots() const {
        return *m_pSlots;
    }
    // The save or load screen that is open; null when the story has the input.
    const SlotScreen* getScreen() const {
        return m_pScreen.get();
    }

    // What the play has said and chosen, for the backlog.
    const MessageHistory& getHistory() const {
        return m_History;
    }

    // Reading comfort (ReadingStep.cpp): the player's preferences, applied at
    // once and kept in the save folder, and the skip and auto modes.
    Preferences& getPreferences() {
        return m_Preferences;
    }
    void applyPreferences();
    void setSkipMode(bool on);
    void setAutoMode(bool on);
    bool isSkipMode() const;
    bool isAutoMode() const;

    // What the frame loop has reached, for the application and its tests.
    ScenarioPlayer& getPlayer() {
        return *m_pPlayer;
    }
    bool isTitleMode() const {
        return m_TitleMode;
    }
    int32_t getWait() const {
        return m_Wait;
    }
    bool isResumeAfterWait() const {
        return m_ResumeAfterWait;
    }
    int32_t getMessageFrames() const {
        return m_MessageFrames;
    }
    const ColorRgba& getBackgroundColor() const {
        return m_BackgroundColor;
    }
    int32_t getFadeInLeft() const {
        return m_FadeInLeft;
    }
    int32_t getFadeOutLeft() const {
        return m_FadeOutLeft;
    }
    SimpleMenu& getCommandMenu() {
        return *m_pCommandMenu;
    }
    SimpleMenu& getInterruptMenu() {
        return *m_pInterruptMenu;
    }
    size_t getWindowCount() const {
        return mWindowManager.size();
    }
    const CharacterRecord* getCharacter(int32_t index) const; // null when not set
    // The alpha the fades draw with this frame; -1 when that fade is not running.
    int32_t fadeInAlpha() const;
    int32_t fadeOutAlpha() const;

private:
    // The instance a slot acts on; reports "g_pInstance" from function without one.
    static GameMain* slotTarget(const char* function, int32_t line);
    // The window a slot acts on; null, reported, without an instance or that window.
    static Window* slotWindow(const char* function, int32_t line, int32_t window);

    GameMain();
    ~GameMain() override;
    GameMain(const GameMain&) = delete;
    GameMain& operator=(const GameMain&) = delete;

    void connectSlots();
    void saveKeysStep();
    void wheelStep();
    // The screen's frame in place of the story's; false when no screen holds
    // the input (SlotScreens.cpp).
    bool screenStep();
    void openScreen(SlotScreen::Mode mode);
    void closeScreen();
    void carryOut(const SlotScreen::Action& action);
    // The frame of the system menu or a screen opened from it in place of the
    // story's; false when none holds the input and none is asked for.
    bool systemStep();
    bool openSystemScreen(const Controller& input, bool menuKey, bool backlogKey);
    void systemMenuStep(const Controller& input);
    void carryOut(SystemMenu::Item item);
    void backlogStep(const Controller& input, int32_t wheelSteps);
    void openBacklog();
    void preferencesStep(const Controller& input);
    void closeSystemScreens();
    void returnToTitle();
    void drawSystemScreens() const;
    // The player's news of what it passed, kept for the backlog.
    void recordMessage(int32_t stop, const std::string& text);
    void recordDecision(int32_t stop, const std::string& path);
    std::string speakerName() const; // of the message window's character; empty for none
    // The next drawn frame, shrunk, becomes the picture of the next save;
    // then what waits for it runs.
    enum class AfterCapture { NOTHING, QUICK_SAVE, SAVE_SCREEN };
    void captureThen(AfterCapture next);
    void afterCaptureStep();
    void writeThumbnail(SlotId slot);
    bool isPlayUnsaved() const;
    // The presses of a key that this frame takes (each press is taken once).
    int32_t keyPresses(int32_t key);
    bool keyPressedNow(int32_t key);
    void resetStage();
    // Replays trail to the stop; with a message, to the stop showing it.
    void replayTo(const PlayTrail& trail, int32_t stops, const std::string& message = "");
    SaveRecord currentRecord() const;
    // The stage kept with each checkpoint of the play (StageKeeping.cpp).
    struct Stage;
    std::any captureStage() const;
    void restoreStage(const std::any& kept);
    void titleStep();
    void gameStep();
    void onStateChanged(int32_t state);
    void messageStep();
    void typingSound();
    void buildMenu(SimpleMenu& menu, const std::vector<CommandItem>& items, int32_t columns,
                   int32_t subColumns);
    void fillMenu(SimpleMenu& menu, const std::vector<CommandItem>& items, int32_t columns,
                  int32_t subColumns);
    void placeTitleMenu(bool withContinue);
    void startChosenScenario(const std::string& choice);
    void clearAllWindows();
    void addWindow(int32_t kind);
    CharacterWindow* currentCharacterWindow() const; // null, silently, when there is none
    void drawMessage();
    void drawStageFrame();
    void drawFade(const ColorRgba& color, int32_t alpha);

    int32_t m_LastState = 0;
    bool m_SelectWaitPending = false; // a wait for a choice came since the last game step
    std::unique_ptr<ScenarioPlayer> m_pPlayer;
    int32_t m_MessageFrames = 0;
    bool m_ResumeAfterWait = false;
    int32_t m_Wait = 0;
    bool m_TitleMode = true;
    ColorRgba m_BackgroundColor;
    int32_t m_FadeInLeft = 0;
    int32_t m_FadeInLength = 0;
    ColorRgba m_FadeInColor;
    int32_t m_FadeOutLeft = 0;
    int32_t m_FadeOutLength = 0;
    ColorRgba m_FadeOutColor;
    std::unique_ptr<SimpleMenu> m_pCommandMenu;
    std::unique_ptr<SimpleMenu> m_pInterruptMenu;
    std::vector<Window*> mWindowManager; // owned; an index is a window's number
    // The character windows in registry order, so the current one can be looked
    // up each frame without the registry reporting a missing one.
    std::vector<CharacterWindow*> m_CharacterWindows;
    std::map<int32_t, CharacterRecord> m_Characters;

    std::unique_ptr<GameWindowSettings> m_pWindowSettings;

    std::unique_ptr<SlotStore> m_pSlots;
    PlayTrail m_ForwardTrail; // the furthest play since the last rollback
    // The music the story asked for last; a replay plays it when it is over.
    struct ReplayMusic {
        bool playing = false;
        int32_t slot = 0;
        int32_t volume = -1;
        int32_t speed = -1;
    } m_ReplayMusic;
    // The sound file the story loaded last into each music and effect slot.
    std::map<int32_t, std::string> m_BgmFiles;
    std::map<int32_t, std::string> m_SeFiles;
    std::unique_ptr<SlotScreen> m_pScreen;
    // After a screen closes the story waits until the button or key that
    // closed it is let go, so it cannot also advance the story.
    bool m_ScreenInputHeld = false;
    Thumbnail m_Capture; // the screen when the last capture was asked for
    bool m_CaptureArrived = false;
    AfterCapture m_AfterCapture = AfterCapture::NOTHING;
    PlayTrail m_SavedTrail; // of the last save or load the player made
    MessageHistory m_History;
    std::unique_ptr<SystemMenu> m_pSystemMenu;
    // Over the system menu when opened from it.
    std::unique_ptr<BacklogScreen> m_pBacklog;
    std::unique_ptr<PreferencesScreen> m_pPreferencesScreen;

    // Reading comfort (ReadingStep.cpp, ReadingDraw.cpp).
    void loadPreferences();
    void usePreferences();
    void readingKeysStep();
    bool readingPressed(int32_t code, bool down);
    void writeReadMarks();
    // Takes the frame's message step when skip, auto mode, a completing click
    // or the text speed have it; false leaves it to the plain advance.
    bool readingMessageStep();
    void noteMessageShown();
    void typeAtRate();
    void advanceMessage(bool withSound);
    bool isSkipping() const;
    bool isAdvanceInput(bool pressedOnly) const;
    void drawReadingIndicator();
    Preferences m_Preferences;
    ReadMarks m_ReadMarks;
    struct Reading {
        bool skipMode = false;
        bool skipHeld = false; // Ctrl
        bool autoMode = false;
        bool hidden = false;
        // A press that completed the typing or showed the message again does
        // not advance: advancing waits until it is let go.
        bool inputHeld = false;
        int64_t messageSeen = -1; // the player's count of the message last noted
        bool messageWasRead = false;
        int32_t autoFrames = 0; // frames a complete message has waited in auto mode
        int32_t framesSinceMarksWritten = 0;
        bool marksUnwritten = false;
        std::map<int32_t, bool> down; // the middle button as last seen, for presses
    } m_Reading;
};

} // namespace Kura
