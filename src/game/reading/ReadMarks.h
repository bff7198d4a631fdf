// The messages the player has read, across runs. A message is known by its
// scene file, its text and how many equal texts came before it in that file's
// play, so lines added or changed elsewhere in the file leave the marks of the
// others as they were. Kept as JSON in the save folder.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace Kura {

struct MessageKey {
    std::string script; // relative to the scenario folder
    std::string text;   // UTF-8, as the script gave it
    int32_t occurrence = 0;
    auto operator<=>(const MessageKey&) const = default;
};

class ReadMarks {
public:
    static constexpr const char* FILE_NAME = "read.json";

    // The marks of the file at path; none when it is missing, none and a
    // report in log.txt when it is broken.
    static ReadMarks Load(const std::string& path);
    // Durably; false, with the old file left, when it cannot be written.
    bool save(const std::string& path) const;

    bool contains(const MessageKey& key) const;
    // True when the mark is new.
    bool mark(const MessageKey& key);
    size_t size() const { return m_Marks.size(); }

private:
    std::set<MessageKey> m_Marks;
};

} // namespace Kura
