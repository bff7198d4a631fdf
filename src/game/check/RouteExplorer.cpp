// Each route is played in replaying mode, so that waits and typing pass at
// once and nothing is written, by a headless host that answers the menus with
// the route's decisions. Routes wait on a stack, so the walk goes deep first
// and holds only the routes not yet taken; a route waiting starts from the
// checkpoint its play passed last, with the window kinds kept there.
#include "game/check/RouteExplorer.h"

#include "game/canvas/MessageLayout.h"
#include "game/check/AssetCheck.h"
#include "game/check/KelMessages.h"
#include "game/headless/HeadlessHost.h"
#include "game/player/PlayCheckpoints.h"
#include "game/player/ScenarioPlayerImpl.h"
#include "game/player/ScenarioSignals.h"
#include "game/settings/Setting.h"
#include "of/Audio.h"
#include "of/Window.h"
#include "util/ConvString.h"

#include <boost/signals2/connection.hpp>

#include <algorithm>
#include <filesystem>
#include <tuple>
#include <type_traits>

namespace Kura {

namespace {

// Every route starts from the same random numbers, so a walk is repeatable.
constexpr uint64_t ROUTE_RANDOM_STATE = 1;
// Decided paths join a menu item and its sub-item with this.
constexpr char PATH_SEPARATOR = '-';
constexpr const char* FLAG_KINDS[] = {"scene", "global"};

RouteExplorer* g_pExplorer = nullptr;

const char* CheckedGetSceneFlag(const char* name) {
    if (g_pExplorer) g_pExplorer->noteFlagRead(false, name);
    return ScenarioCommands::callGetSceneFlag(name);
}

const char* CheckedGetGlobalFlag(const char* name) {
    if (g_pExplorer) g_pExplorer->noteFlagRead(true, name);
    return ScenarioCommands::callGetGlobalFlag(name);
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The kind of window a command acts on, 0 for any; -1 for no window command.
int RequiredKind(const std::string& command) {
    if (StartsWith(command, "CharacterWindow")) return WINDOW_KIND_CHARACTER;
    if (StartsWith(command, "ImageWindow")) return WINDOW_KIND_IMAGE;
    if (StartsWith(command, "WindowManager")) return -1;
    return StartsWith(command, "Window") ? 0 : -1;
}

// Character windows are image windows too.
bool KindFits(int required, int kind) {
    return required == 0 || required == kind ||
           (required == WINDOW_KIND_IMAGE && kind == WINDOW_KIND_CHARACTER);
}

std::string KindName(int kind) {
    return kind == WINDOW_KIND_CHARACTER ? "character" : "image";
}

// What a menu offers: each shown item, or each shown sub-item of it.
std::vector<std::string> ShownPaths(const CommandList& items) {
    std::vector<std::string> paths;
    for (const CommandItem& item : items) {
        if (item.value == 0) continue;
        size_t before = paths.size();
        for (const CommandItem& sub : item.subItems)
            if (sub.value != 0) paths.push_back(item.text + PATH_SEPARATOR + sub.text);
        if (paths.size() == before && item.subItems.empty()) paths.push_back(item.text);
    }
    return paths;
}

// How often the route has made choice before.
template <class Step>
int32_t TimesChosen(const std::shared_ptr<const Step>& last, const std::string& choice) {
    int32_t times = 0;
    for (const Step* step = last.get(); step != nullptr; step = step->before.get())
        times += step->choice == choice ? 1 : 0;
    return times;
}

std::string FlagsText(const FlagMap& flags) {
    std::string text;
    for (const auto& [name, value] : flags)
        text += name + '=' + value + '\n';
    return text;
}

} // namespace

struct RouteExplorer::Connections {
    std::vector<boost::signals2::scoped_connection> list;

    // A window command's first argument is its window number.
    template <class... A>
    void window(boost::signals2::signal<void(A...)>& signal, const char* name,
                RouteExplorer& explorer) {
        if constexpr (sizeof...(A) > 0) {
            using First = std::tuple_element_t<0, std::tuple<A...>>;
            if constexpr (std::is_same_v<First, int>) {
                if (RequiredKind(name) < 0) return;
                list.emplace_back(signal.connect(
                    [&explorer, command = std::string(name)](int window, auto... /*rest*/) {
                        explorer.checkWindow(command, window);
                    }));
            }
        }
    }
};

RouteExplorer::RouteExplorer(ScenarioPlayer& player, CheckReport& report,
                             const MessageFont::Measures& messageFont)
    : m_Player(player), m_Report(report), m_MessageFont(messageFont),
      m_pConnections(std::make_unique<Connections>()) {
    g_pExplorer = this;
    Kel::Interpreter& interpreter = player.impl().interpreter;
    interpreter.registerFunction("callGetSceneFlag", &CheckedGetSceneFlag);
    interpreter.registerFunction("callGetGlobalFlag", &CheckedGetGlobalFlag);

    ScenarioSignals& s = player.signals();
    Connections& c = *m_pConnections;
#define KURA_CHECK_WINDOW(NAME, SIGNATURE) c.window(s.on##NAME, #NAME, *this);
    KURA_SCENARIO_COMMANDS(KURA_SCENARIO_SKIP, KURA_CHECK_WINDOW, KURA_SCENARIO_SKIP)
#undef KURA_CHECK_WINDOW
    c.list.emplace_back(s.onWindowManagerAdd.connect([this](int kind) {
        if (kind >= WINDOW_KIND_TEXT && kind <= WINDOW_KIND_CHARACTER)
            m_WindowKinds.push_back(kind);
    }));
    c.list.emplace_back(s.onWindowManagerClearAll.connect([this] { m_WindowKinds.clear(); }));
    c.list.emplace_back(
        s.onWindowLoad.connect([this](int, const std::string& folder, const std::string& file) {
            checkAsset(AssetCheck::PICTURE, folder, file);
        }));
    c.list.emplace_back(s.onSoundLoadBGM.connect([this](int, const std::string& file) {
        checkAsset(AssetCheck::SOUND, Audio::BGM_FOLDER, file);
    }));
    c.list.emplace_back(s.onSoundLoadSE.connect([this](int, const std::string& file) {
        checkAsset(AssetCheck::SOUND, Audio::SE_FOLDER, file);
    }));
    c.list.emplace_back(
        s.onGotoNextScript.connect([this](const std::string& name) { nextScene(name); }));
    auto set = [this](bool global) {
        return [this, global](const std::string& name, const std::string&) {
            m_FlagsSet[global].insert(ConvString::AnsiToUtf8(name));
        };
    };
    c.list.emplace_back(s.onSetSceneFlagInt.connect(set(false)));
    c.list.emplace_back(s.onSetSceneFlagString.connect(set(false)));
    c.list.emplace_back(s.onSetGlobalFlagInt.connect(set(true)));
    c.list.emplace_back(s.onSetGlobalFlagString.connect(set(true)));
    player.setStageKeeper(
        {[this] { return std::any(m_WindowKinds); },
         [this](const std::any& kept) { m_WindowKinds = std::any_cast<std::vector<int>>(kept); }});
}

RouteExplorer::~RouteExplorer() {
    m_Player.setStageKeeper({});
    if (g_pExplorer == this) g_pExplorer = nullptr;
}

void RouteExplorer::walkFrom(const std::string& scene) {
    std::vector<Route> pending{{scene, nullptr, nullptr, {}}};
    while (!pending.empty() && !boundReached()) {
        Route route = std::move(pending.back());
        pending.pop_back();
        play(std::move(route), pending);
        m_pHost = nullptr;
        m_pRoute = nullptr;
    }
    m_Player.setReplaying(false);
}

// The decisions made after the checkpoint are answered again.
void RouteExplorer::start(const Route& route, HeadlessHost& host) {
    m_Reached.insert(route.begin);
    size_t made = 0;
    if (route.from) {
        m_Player.beginReplayAt(route.from);
        made = route.from->trail.decisions.size();
    } else {
        m_WindowKinds.clear();
        PlayTrail trail;
        trail.beginScript = route.begin;
        trail.randomState = ROUTE_RANDOM_STATE;
        m_Player.beginReplay(trail);
    }
    std::vector<const std::string*> answers;
    for (const Step* step = route.last.get(); step != nullptr && step->count > made;
         step = step->before.get())
        answers.push_back(&step->decision);
    for (auto answer = answers.rbegin(); answer != answers.rend(); ++answer)
        host.answer(**answer);
    m_pHost = &host;
    m_pRoute = &route;
    m_GraphFollows = route.last == nullptr;
    if (m_GraphFollows) m_Graph.startAt(route.begin);
}

void RouteExplorer::play(Route route, std::vector<Route>& pending) {
    HeadlessHost host(m_Player);
    start(route, host);
    m_Player.setReplaying(true);
    ++m_Report.counts().routes;
    while (m_Player.isScriptRunning() && !boundReached()) {
        if (m_Player.impl().stopped) {
            const Kel::SourcePlace place = Kel::Interpreter::budgetStopPlace();
            m_Report.add(KelMessages::fileOf(place), place.line,
                         "scenario runs past the instruction budget without waiting");
            return;
        }
        if (host.waitsForAnswer() && !decisionPoint(route, host, pending)) return;
        if (m_Player.getState() == ScenarioPlayer::STATE_MESSAGE && !m_Player.isMessageComplete())
            noteMessage();
        host.frame();
        ++m_Steps;
    }
    if (!m_Player.isScriptRunning() && graphFollows()) m_Graph.reachEnd();
    if (boundReached())
        m_Report.add(KelMessages::fileOf(KelMessages::runningPlace()),
                     KelMessages::runningPlace().line,
                     "check stopped after " + std::to_string(MAX_STEPS) + " steps");
}

bool RouteExplorer::decisionPoint(Route& route, HeadlessHost& host, std::vector<Route>& pending) {
    const bool interrupt = m_Player.getState() == ScenarioPlayer::STATE_SELECT_INTERRUPT;
    const CommandList& items = interrupt ? m_Player.getInterruptCommands() : m_Player.getCommands();
    const std::vector<std::string> paths = ShownPaths(items);
    const Place place = here();
    const Place line = sceneLine();
    const std::string node = line.file + ':' + std::to_string(line.line);
    if (graphFollows())
        m_Graph.reachMenu(node, "menu\n" + std::filesystem::path(line.file).filename().string() +
                                    ':' + std::to_string(line.line));
    std::string menu =
        m_Player.getScriptName() + '\n' + place.file + ':' + std::to_string(place.line) + '\n';
    for (const std::string& path : paths)
        menu += path + '\n';
    const std::string key =
        menu + FlagsText(m_Player.getSceneFlags()) + FlagsText(m_Player.getGlobalFlags());
    if (!m_DecisionPoints.insert(key).second) return false;
    ++m_Report.counts().menus;
    if (paths.empty()) problemHere("menu with every item hidden: the player is stuck");
    const size_t count = route.last ? route.last->count + 1 : 1;
    std::vector<Route> next;
    for (const std::string& path : paths) {
        std::string choice = menu + path;
        if (TimesChosen(route.last, choice) >= MAX_SAME_CHOICE) continue;
        auto step = std::make_shared<Step>(Step{route.last, path, std::move(choice), count});
        next.push_back({route.begin, std::move(step), m_Player.lastCheckpoint(), node});
    }
    if (next.empty()) return false;
    for (auto later = next.rbegin(); later + 1 != next.rend(); ++later)
        pending.push_back(std::move(*later));
    route = std::move(next.front());
    host.answer(route.last->decision);
    m_Graph.startAfter(node, ConvString::AnsiToUtf8(route.last->decision));
    ++m_Report.counts().routes;
    return true;
}

void RouteExplorer::noteMessage() {
    m_Player.completeMessage();
    if (!m_Messages.insert(m_Player.getScriptName() + '\n' + m_Player.getMessageText()).second)
        return;
    ++m_Report.counts().messages;
    m_Graph.countMessage(m_Player.getScriptName());
    checkMessageFits(m_Player.getShownText());
}

// Laid out as the game draws it, marker aside: the marker follows the text.
void RouteExplorer::checkMessageFits(const std::string& text) {
    const int32_t below = MessageLayout::LinesBelowCanvas(
        MessageLayout::Layout(ConvString::AnsiToWide(text), m_MessageFont.cellWidth,
                              m_MessageFont.lineHeight, false),
        m_MessageFont.lineHeight);
    if (below == 0) return;
    const Place place = sceneLine();
    m_Report.add(place.file, place.line,
                 "message longer than the screen shows: " + std::to_string(below) +
                     (below == 1 ? " line" : " lines") + " below the canvas");
}

// Helpers from an included file (a "say" or a "choose") are placed at the
// scene's line that called them.
RouteExplorer::Place RouteExplorer::sceneLine() const {
    const std::string scene =
        Setting::get()->getDataPath(ScenarioPlayer::SCENARIO_FOLDER, m_Player.getScriptName());
    const Kel::SourcePlace place = KelMessages::placeIn(scene);
    return {KelMessages::fileOf(place), place.line};
}

bool RouteExplorer::graphFollows() {
    if (!m_GraphFollows && m_pHost && m_pHost->answersLeft() == 0) {
        m_GraphFollows = true;
        m_Graph.startAfter(m_pRoute->lastMenu, ConvString::AnsiToUtf8(m_pRoute->last->decision));
    }
    return m_GraphFollows;
}

RouteExplorer::Place RouteExplorer::here() const {
    const Kel::SourcePlace place = KelMessages::runningPlace();
    return {KelMessages::fileOf(place), place.line};
}

void RouteExplorer::problemHere(const std::string& text) {
    const Place place = here();
    m_Report.add(place.file, place.line, text);
}

// Each file is decoded once; every command naming it is told its problem.
void RouteExplorer::checkAsset(int kind, const std::string& folder, const std::string& file) {
    const std::string path = Setting::get()->getDataPath(folder, file);
    auto checked = m_AssetProblems.find({kind, path});
    if (checked == m_AssetProblems.end()) {
        const std::string problem = AssetCheck::Problem(static_cast<AssetCheck::Kind>(kind), path,
                                                        Setting::joinPath(folder, file));
        checked = m_AssetProblems.emplace(std::make_pair(kind, path), problem).first;
    }
    if (!checked->second.empty()) problemHere(checked->second);
}

void RouteExplorer::checkWindow(const std::string& command, int window) {
    const int required = RequiredKind(command);
    const int count = static_cast<int>(m_WindowKinds.size());
    if (window < 0 || window >= count) {
        problemHere("window " + std::to_string(window) + " out of range (" + std::to_string(count) +
                    " windows): call" + command);
        return;
    }
    const int kind = m_WindowKinds[static_cast<size_t>(window)];
    if (!KindFits(required, kind))
        problemHere("call" + command + " on window " + std::to_string(window) + ", which is no " +
                    KindName(required) + " window");
}

void RouteExplorer::nextScene(const std::string& name) {
    const std::string path = Setting::get()->getDataPath(ScenarioPlayer::SCENARIO_FOLDER, name);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        problemHere("next scene not found: " + ConvString::AnsiToUtf8(name));
    else
        m_Reached.insert(name);
    if (graphFollows()) m_Graph.reachScene(ConvString::AnsiToUtf8(name));
}

void RouteExplorer::noteFlagRead(bool global, const std::string& name) {
    m_FlagsRead[global].emplace(name, here());
}

void RouteExplorer::reportUnsetFlags() {
    for (int global = 0; global < 2; ++global)
        for (const auto& [name, place] : m_FlagsRead[global])
            if (!m_FlagsSet[global].count(name))
                m_Report.add(place.file, place.line,
                             std::string(FLAG_KINDS[global]) +
                                 " flag read but set on no route: " + name);
}

} // namespace Kura
