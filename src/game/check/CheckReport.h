// What a check of a game found: each problem once, with the file and line of
// the command that caused it, printed the way compilers print theirs so that
// an editor can jump to it; and the counts of the summary.
#pragma once

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace Kura {

struct CheckProblem {
    std::string file; // relative to the game folder, as the engine opened it
    int32_t line = 0;
    std::string text;
};

struct CheckCounts {
    int32_t scenes = 0;   // scene files played
    int32_t messages = 0; // distinct messages shown
    int32_t menus = 0;    // distinct decision points
    int32_t routes = 0;   // plays walked to an end or to a decision point
};

class CheckReport {
public:
    // The same text at the same place is kept once, however many routes meet it.
    void add(const std::string& file, int32_t line, const std::string& text);
    size_t size() const { return m_Problems.size(); }
    bool has(const std::string& text) const;
    // The problem added last, even when it was kept already; none while empty.
    const CheckProblem* latest() const { return m_Problems.empty() ? nullptr : &m_Latest; }
    void clear() { *this = CheckReport(); }

    CheckCounts& counts() { return m_Counts; }
    // "file:line: text" a line, in the order of files and lines, then the summary.
    void print(std::FILE* out) const;

private:
    std::vector<CheckProblem> m_Problems;
    std::set<std::tuple<std::string, int32_t, std::string>> m_Seen;
    CheckCounts m_Counts;
    CheckProblem m_Latest;
};

} // namespace Kura
