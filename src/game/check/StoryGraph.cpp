// Nodes are named by what they stand for (a scene by its file name, a menu by
// its file and line), so routes that meet at a scene or a menu draw it once.
#include "game/check/StoryGraph.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace Kura {

namespace {

constexpr const char* END_NODE = "end";
constexpr const char* SVG_SUFFIX = ".svg";
constexpr const char* DRAWING_PROGRAM = "dot";
constexpr char TEMPORARY_DOT[] = "/tmp/kura-graph-XXXXXX";

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return quoted + '"';
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    return out ? std::string() : "cannot write " + path + ": " + std::strerror(errno);
}

// Runs dot on the DOT file, with no shell between: the path is one argument.
std::string DrawSvg(const std::string& dotPath, const std::string& svgPath) {
    std::string program = DRAWING_PROGRAM, format = "-Tsvg", output = "-o";
    std::string out = svgPath, in = dotPath;
    char* argv[] = {program.data(), format.data(), output.data(), out.data(), in.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, DRAWING_PROGRAM, nullptr, nullptr, argv, environ) != 0)
        return std::string("cannot run ") + DRAWING_PROGRAM + " (the graphviz package)";
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::string(DRAWING_PROGRAM) + " could not draw " + svgPath;
    return {};
}

} // namespace

void StoryGraph::startAt(const std::string& scene) {
    m_Scenes.insert(scene);
    m_From = {scene, {}};
}

void StoryGraph::startAfter(const std::string& menu, const std::string& path) {
    m_From = {menu, path};
}

void StoryGraph::edgeTo(const std::string& id) {
    if (!m_From.id.empty()) m_Edges.emplace(m_From.id, id, m_From.choice);
    m_From = {id, {}};
}

void StoryGraph::reachScene(const std::string& scene) {
    m_Scenes.insert(scene);
    edgeTo(scene);
}

void StoryGraph::reachMenu(const std::string& menu, const std::string& label) {
    m_Menus.emplace(menu, label);
    edgeTo(menu);
}

void StoryGraph::reachEnd() {
    edgeTo(END_NODE);
    m_From = {};
}

void StoryGraph::addUnreached(const std::string& scene) {
    m_Unreached.insert(scene);
}

std::string StoryGraph::dot() const {
    std::string text = "digraph story {\n  node [shape=box];\n";
    for (const std::string& scene : m_Scenes) {
        auto count = m_Messages.find(scene);
        const int messages = count == m_Messages.end() ? 0 : count->second;
        text += "  " + Quoted(scene) + " [label=" +
                Quoted(scene + "\n" + std::to_string(messages) +
                       (messages == 1 ? " message" : " messages")) +
                "];\n";
    }
    for (const std::string& scene : m_Unreached)
        text += "  " + Quoted(scene) +
                " [style=dashed, label=" + Quoted(scene + "\nnever reached") + "];\n";
    for (const auto& [menu, label] : m_Menus)
        text += "  " + Quoted(menu) + " [shape=diamond, label=" + Quoted(label) + "];\n";
    text += "  " + Quoted(END_NODE) + " [shape=oval];\n";
    for (const auto& [from, to, label] : m_Edges) {
        text += "  " + Quoted(from) + " -> " + Quoted(to);
        text += label.empty() ? ";\n" : " [label=" + Quoted(label) + "];\n";
    }
    return text + "}\n";
}

std::string StoryGraph::write(const std::string& path) const {
    if (!EndsWith(path, SVG_SUFFIX)) return WriteText(path, dot());
    char dotPath[sizeof TEMPORARY_DOT];
    std::memcpy(dotPath, TEMPORARY_DOT, sizeof TEMPORARY_DOT);
    const int file = mkstemp(dotPath);
    if (file < 0) return std::string("cannot make a temporary file: ") + std::strerror(errno);
    close(file);
    std::string problem = WriteText(dotPath, dot());
    if (problem.empty()) problem = DrawSvg(dotPath, path);
    unlink(dotPath);
    return problem;
}

} // namespace Kura
