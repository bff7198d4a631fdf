// What the play has said and chosen, for the backlog: each message passed
// with its speaker, each decision made, at the stop where the story waited
// for it. A replay rebuilds it by passing the same stops again: an entry at a
// stop the history has already seen starts it over from there, so a load, a
// rollback or a replay that begins anew never leaves two of one.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace Kura {

class MessageHistory {
public:
    // The oldest entries go when more are added.
    static constexpr size_t MAX_ENTRIES = 300;

    struct Entry {
        int32_t stop = 0;    // the stops passed before it: the position to go back to
        bool choice = false; // a decision, else a message
        std::string speaker; // the message window's character; empty for none
        std::string text;    // the message, or the decided path; narrow encoding
        bool operator==(const Entry&) const = default;
    };

    void add(Entry entry);
    void clear() { m_Entries.clear(); }
    const std::deque<Entry>& entries() const { return m_Entries; }

private:
    std::deque<Entry> m_Entries; // oldest first
};

} // namespace Kura
