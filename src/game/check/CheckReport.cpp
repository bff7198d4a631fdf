// The report keeps problems in the order found and sorts only when printing,
// so that the routes can be walked in any order and still print the same.
#include "game/check/CheckReport.h"

#include <algorithm>

namespace Kura {

void CheckReport::add(const std::string& file, int32_t line, const std::string& text) {
    m_Latest = {file, line, text};
    if (!m_Seen.emplace(file, line, text).second) return;
    m_Problems.push_back({file, line, text});
}

bool CheckReport::has(const std::string& text) const {
    return std::any_of(m_Problems.begin(), m_Problems.end(),
                       [&](const CheckProblem& problem) { return problem.text == text; });
}

void CheckReport::print(std::FILE* out) const {
    std::vector<CheckProblem> sorted = m_Problems;
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        return std::tie(a.file, a.line) < std::tie(b.file, b.line);
    });
    for (const CheckProblem& problem : sorted)
        std::fprintf(out, "%s:%d: %s\n", problem.file.c_str(), problem.line, problem.text.c_str());
    std::fprintf(out, "%d scenes, %d messages, %d menus, %d routes walked, %zu problems\n",
                 m_Counts.scenes, m_Counts.messages, m_Counts.menus, m_Counts.routes,
                 m_Problems.size());
}

} // namespace Kura
