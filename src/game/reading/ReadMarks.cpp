// The file: {"read": {"<scene file>": {"<text>": [occurrences...]}}}, texts
// grouped by file so that a scene's marks stay together when read by eye.
#include "game/reading/ReadMarks.h"

#include "util/AssertReport.h"
#include "util/BoundedFile.h"
#include "util/DurableFile.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <optional>

namespace Kura {

namespace {

using nlohmann::json;

constexpr const char* ROOT_KEY = "read";
// Marks of a long game run to some hundred kilobytes; far more is no marks file.
constexpr uintmax_t MAX_FILE_BYTES = 64 * 1024 * 1024;

bool ReadTexts(const std::string& script, const json& texts, ReadMarks& marks) {
    if (!texts.is_object()) return false;
    for (const auto& [text, occurrences] : texts.items()) {
        if (!occurrences.is_array()) return false;
        for (const json& occurrence : occurrences) {
            if (!occurrence.is_number_integer() || occurrence.get<int64_t>() < 0 ||
                occurrence.get<int64_t>() > INT32_MAX)
                return false;
            marks.mark({script, text, occurrence.get<int32_t>()});
        }
    }
    return true;
}

std::optional<ReadMarks> Decode(const std::string& text) {
    const json root = json::parse(text, nullptr, false);
    if (!root.is_object() || !root.contains(ROOT_KEY) || !root[ROOT_KEY].is_object())
        return std::nullopt;
    ReadMarks marks;
    for (const auto& [script, texts] : root[ROOT_KEY].items())
        if (!ReadTexts(script, texts, marks)) return std::nullopt;
    return marks;
}

} // namespace

ReadMarks ReadMarks::Load(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return {};
    const std::optional<std::string> text = BoundedFile::Read(path, MAX_FILE_BYTES);
    std::optional<ReadMarks> read = text ? Decode(*text) : std::nullopt;
    if (read) return std::move(*read);
    WriteLog("read marks unreadable, every message counts as unread: " + path + "\n");
    return {};
}

// Texts that are not UTF-8 are written with replacement characters rather than
// refused, as a save is: the other marks must not be lost over one odd byte.
bool ReadMarks::save(const std::string& path) const {
    json files = json::object();
    for (const MessageKey& key : m_Marks)
        files[key.script][key.text].push_back(key.occurrence);
    json root = json::object();
    root[ROOT_KEY] = std::move(files);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    return DurableFile::Replace(path,
                                root.dump(-1, ' ', false, json::error_handler_t::replace) + "\n");
}

bool ReadMarks::contains(const MessageKey& key) const {
    return m_Marks.contains(key);
}

bool ReadMarks::mark(const MessageKey& key) {
    return m_Marks.insert(key).second;
}

} // namespace Kura
