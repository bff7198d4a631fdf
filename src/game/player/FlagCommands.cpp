// Scenario commands on the scene and global flags, kept as text, and the two
// number conversions scripts use to build and read flag values. A text result
// is copied by the binding at once, so one buffer per command serves.
#include "game/player/ScenarioPlayerImpl.h"

#include "util/ConvString.h"

#include <climits>
#include <cstdlib>

namespace Kura::ScenarioCommands {

namespace {

// What reading a flag that is unset or empty gives.
constexpr const char* FLAG_NONE = "NULL";

// Reading a flag creates it empty, as a map lookup does.
const char* GetFlag(FlagMap& flags, const char* name, std::string& result) {
    const std::string& value = flags[ConvString::Utf8ToAnsi(name)];
    if (value.empty()) return FLAG_NONE;
    result = ConvString::AnsiToUtf8(value);
    return result.c_str();
}

using FlagSignal = decltype(ScenarioSignals::onSetSceneFlagInt);

// Stores value (already narrow) and tells who listens.
void SetFlag(FlagMap& flags, FlagSignal& changed, const char* name, const std::string& value) {
    std::string narrowName = ConvString::Utf8ToAnsi(name);
    flags[narrowName] = value;
    changed(narrowName, value);
}

} // namespace

void callClearSceneFlag() {
    if (ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callClearSceneFlag", __LINE__))
        player->clearSceneFlags();
}

const char* callGetSceneFlag(const char* name) {
    static std::string result;
    ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callGetSceneFlag", __LINE__);
    return player ? GetFlag(player->sceneFlags, name, result) : FLAG_NONE;
}

void callSetSceneFlagInt(const char* name, int value) {
    if (ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callSetSceneFlagInt", __LINE__))
        SetFlag(player->sceneFlags, player->signals.onSetSceneFlagInt, name,
                ConvString::IntToString(value));
}

void callSetSceneFlagString(const char* name, const char* value) {
    if (ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callSetSceneFlagString", __LINE__))
        SetFlag(player->sceneFlags, player->signals.onSetSceneFlagString, name,
                ConvString::Utf8ToAnsi(value));
}

void callClearGlobalFlag() {
    if (ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callClearGlobalFlag", __LINE__))
        player->clearGlobalFlags();
}

const char* callGetGlobalFlag(const char* name) {
    static std::string result;
    ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callGetGlobalFlag", __LINE__);
    return player ? GetFlag(player->globalFlags, name, result) : FLAG_NONE;
}

void callSetGlobalFlagInt(const char* name, int value) {
    if (ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callSetGlobalFlagInt", __LINE__))
        SetFlag(player->globalFlags, player->signals.onSetGlobalFlagInt, name,
                ConvString::IntToString(value));
}

void callSetGlobalFlagString(const char* name, const char* value) {
    if (ScenarioPlayer::Impl* player = Target("ScenarioPlayer::callSetGlobalFlagString", __LINE__))
        SetFlag(player->globalFlags, player->signals.onSetGlobalFlagString, name,
                ConvString::Utf8ToAnsi(value));
}

// Each result holds its own number only.
const char* callGetStringFromInt(int value) {
    static std::string result;
    if (!Target("ScenarioPlayer::callGetStringFromInt", __LINE__)) return "";
    result = ConvString::IntToString(value);
    return result.c_str();
}

// The leading decimal number after white space and a sign; 0 without one.
// Numbers past the int range stop at its ends.
int callGetIntFromString(const char* text) {
    if (!Target("ScenarioPlayer::callGetIntFromString", __LINE__)) return 0;
    long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

} // namespace Kura::ScenarioCommands
