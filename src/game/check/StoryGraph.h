// The story as a graph, gathered while the routes are walked: each scene file
// with the count of its messages, each menu with the place it is shown at, and
// the edges a play can take: from a scene or a choice to the next menu, to the
// next scene or to the end of the story. Written as Graphviz DOT; a file named
// .svg is drawn by Graphviz's `dot`.
#pragma once

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace Kura {

class StoryGraph {
public:
    // A play starts at the beginning of scene.
    void startAt(const std::string& scene);
    // A play goes on after the choice path at a menu already in the graph.
    void startAfter(const std::string& menu, const std::string& path);
    // Where the play goes next; each becomes the place the next edge leaves.
    void reachScene(const std::string& scene);
    void reachMenu(const std::string& menu, const std::string& label);
    void reachEnd();
    void countMessage(const std::string& scene) { ++m_Messages[scene]; }
    // Scene files no play reached are drawn too, dashed.
    void addUnreached(const std::string& scene);

    std::string dot() const;
    // Empty when written; otherwise what went wrong.
    std::string write(const std::string& path) const;

private:
    struct Node {
        std::string id;
        std::string choice; // the edge's label: the choice made at a menu
    };
    void edgeTo(const std::string& id);

    std::map<std::string, int> m_Messages;      // scene -> distinct messages
    std::map<std::string, std::string> m_Menus; // menu id -> label
    std::set<std::string> m_Scenes, m_Unreached;
    std::set<std::tuple<std::string, std::string, std::string>> m_Edges; // from, to, label
    Node m_From;
};

} // namespace Kura
