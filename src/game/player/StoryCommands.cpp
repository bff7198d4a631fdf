// Scenario commands that the player keeps itself: the message, the two menus
// of choices and what was chosen, and the next scenario file with the
// progress it records. Texts arrive as UTF-8 and are kept in the narrow
// encoding.
#include "game/player/ScenarioPlayerImpl.h"
#include "game/player/ScenarioProgress.h"

#include "util/AssertReport.h"
#include "util/ConvString.h"

namespace Kura::ScenarioCommands {

namespace {

constexpr const char* SOURCE_NAME = "src\\game\\ScenarioPlayer";

} // namespace

void callClearMessage() {
    if (ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callClearMessage", __LINE__))
        player->clearMessage();
}

void callDispMessage(const char* text, int autoAdvanceTime) {
    ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callDispMessage", __LINE__);
    if (!player) return;
    player->appendMessage(text, autoAdvanceTime);
    player->state = ScenarioPlayer::STATE_MESSAGE;
    player->signals.onShowMessage(player->trail.stops(), player->messageText);
}

void callSetCommand(const char* text, int value) {
    if (Target("ScenarioPlayer::callSetCommand", __LINE__))
        ScenarioPlayer::m_pRef->setCommand(ConvString::Utf8ToAnsi(text), value);
}

void callSetSubCommand(const char* parent, const char* text, int value) {
    if (Target("ScenarioPlayer::callSetSubCommand", __LINE__))
        ScenarioPlayer::m_pRef->setSubCommand(ConvString::Utf8ToAnsi(parent),
                                              ConvString::Utf8ToAnsi(text), value);
}

void callWaitSelectCommand() {
    ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callWaitSelectCommand", __LINE__);
    if (!player) return;
    player->state = ScenarioPlayer::STATE_SELECT_COMMAND;
    ++player->menuWaits;
    player->signals.onWaitSelectCommand();
}

const char* callGetSelectCommand() {
    ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callGetSelectCommand", __LINE__);
    return player ? player->selectedText.c_str() : "";
}

void callClearInterruptCommand() {
    if (ScenarioPlayer::Impl* player =
            Target("ScenarioPlayer::callClearInterruptCommand", __LINE__))
        player->interruptCommands.clear();
}

void callSetInterruptCommand(const char* text, int value) {
    ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callSetInterruptCommand", __LINE__);
    if (!player) return;
    std::string narrow = ConvString::Utf8ToAnsi(text);
    if (ScenarioPlayer::Impl::setItem(player->interruptCommands, narrow, value))
        player->signals.onSetInterruptCommand(narrow, value);
}

void callWaitSelectInterruptCommand() {
    ScenarioPlayer::Impl* player =
        Target("ScenarioPlayer::callWaitSelectInterruptCommand", __LINE__);
    if (!player) return;
    player->state = ScenarioPlayer::STATE_SELECT_INTERRUPT;
    ++player->menuWaits;
    player->signals.onWaitSelectInterruptCommand();
}

const char* callGetSelectInterruptCommand() {
    ScenarioPlayer::Impl* player =
        Target("ScenarioPlayer::callGetSelectInterruptCommand", __LINE__);
    return player ? player->selectedText.c_str() : "";
}

// Scene numbers have three digits with leading zeros, so text order is number
// order. A name without a scene leaves the progress as it was.
void callGotoNextScript(const char* name) {
    ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callGotoNextScript", __LINE__);
    if (!player) return;
    player->scriptName = name;
    std::string scene = ScenarioProgress::SceneOfScript(name);
    if (!scene.empty()) {
        if (scene > player->maxScene) player->maxScene = scene;
        player->nowScene = scene;
    }
    // A replay passes again through scenes whose progress is already written.
    if (!player->replaying &&
        !ScenarioProgress::Write(player->progressPath, player->nowScene, player->maxScene))
        ReportAssertion(
            false, SOURCE_NAME, __LINE__, "ScenarioPlayer::callGotoNextScript",
            (L"progress not written: " + ConvString::AnsiToWide(player->progressPath)).c_str());
    player->signals.onGotoNextScript(name);
}

} // namespace Kura::ScenarioCommands
