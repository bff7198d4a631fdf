// Walks every route of the story without a screen: at each menu every item it
// shows (and every sub-item) becomes a route of its own; the first goes on at
// once, the others are replayed later from the last change of scene file
// before the menu (or from the beginning) with the decisions of the route. A decision
// point met again with the same menu and the same flags is walked once. On
// the way, what the commands name is checked: pictures and sounds, window
// numbers and kinds, the next scene, and the flags read and set.
#pragma once

#include "game/canvas/MessageFont.h"
#include "game/check/CheckReport.h"
#include "game/check/StoryGraph.h"
#include "game/player/ScenarioPlayer.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace Kura {

class HeadlessHost;

class RouteExplorer {
public:
    // Far more frames than a story of a hundred long scenes needs; a story
    // that needs more is cut short and the report says so.
    static constexpr int64_t MAX_STEPS = 50'000'000;
    // A menu that a loop offers again (a counter in a flag makes every visit
    // new) is answered with the same item at most this often on one route:
    // enough to walk the loop's body after itself, and the walk stays finite.
    static constexpr int32_t MAX_SAME_CHOICE = 2;

    // Messages are laid out with the message font's measures.
    RouteExplorer(ScenarioPlayer& player, CheckReport& report,
                  const MessageFont::Measures& messageFont);
    ~RouteExplorer();
    RouteExplorer(const RouteExplorer&) = delete;
    RouteExplorer& operator=(const RouteExplorer&) = delete;

    // Every route of a play that starts a new game at scene.
    void walkFrom(const std::string& scene);
    // The scene files the routes so far have played, by name.
    const std::set<std::string>& reachedScenes() const { return m_Reached; }
    bool boundReached() const { return m_Steps >= MAX_STEPS; }
    StoryGraph& graph() { return m_Graph; }
    // Reports each flag that a route read and no route set.
    void reportUnsetFlags();

    // Called by the checked flag commands.
    void noteFlagRead(bool global, const std::string& name);

private:
    // A decision of a route, after those of the route it branched from:
    // routes share the decisions they have in common.
    struct Step {
        std::shared_ptr<const Step> before; // null for the first decision
        std::string decision;               // narrow encoding, as the menu holds it
        std::string choice;                 // the decision with the menu it was made at
        size_t count = 0;                   // decisions up to this one
    };
    struct Route {
        std::string begin;
        std::shared_ptr<const Step> last; // null before the first decision
        // Where its play starts: a checkpoint of the route it branched from,
        // or the beginning when null.
        std::shared_ptr<const PlayCheckpoint> from;
        std::string lastMenu; // the graph's node of the last decision's menu
    };
    struct Connections;
    struct Place {
        std::string file;
        int32_t line = 0;
    };

    void play(Route route, std::vector<Route>& pending);
    void start(const Route& route, HeadlessHost& host);
    // Queues the routes a new decision point opens and goes on with the first
    // of them; false when the route ends here.
    bool decisionPoint(Route& route, HeadlessHost& host, std::vector<Route>& pending);
    void noteMessage();
    void checkMessageFits(const std::string& text);
    void problemHere(const std::string& text);
    Place here() const;
    void checkAsset(int kind, const std::string& folder, const std::string& file);
    void checkWindow(const std::string& command, int window);
    void nextScene(const std::string& name);
    // The graph follows a play once it has made the route's own last decision:
    // what a route replays before it, an earlier route has drawn already.
    bool graphFollows();
    Place sceneLine() const;

    ScenarioPlayer& m_Player;
    CheckReport& m_Report;
    MessageFont::Measures m_MessageFont;
    std::unique_ptr<Connections> m_pConnections;
    StoryGraph m_Graph;
    const HeadlessHost* m_pHost = nullptr; // of the play under way
    const Route* m_pRoute = nullptr;
    bool m_GraphFollows = false;
    int64_t m_Steps = 0;
    std::set<std::string> m_DecisionPoints;
    std::set<std::string> m_Messages;
    std::set<std::string> m_Reached;
    std::vector<int> m_WindowKinds; // the kinds of the windows the story added
    // The problem of each picture and sound file by kind and path, empty for none.
    std::map<std::pair<int, std::string>, std::string> m_AssetProblems;
    std::set<std::string> m_FlagsSet[2];
    std::map<std::string, Place> m_FlagsRead[2];
};

} // namespace Kura
