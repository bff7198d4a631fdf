#include "game/screens/MessageHistory.h"

namespace Kura {

void MessageHistory::add(Entry entry) {
    while (!m_Entries.empty() && m_Entries.back().stop >= entry.stop)
        m_Entries.pop_back();
    m_Entries.push_back(std::move(entry));
    if (m_Entries.size() > MAX_ENTRIES) m_Entries.pop_front();
}

} // namespace Kura
