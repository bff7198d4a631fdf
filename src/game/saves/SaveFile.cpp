// The save as JSON: {"format":..., "version":..., "checksum":..., "save":{...}}.
// The checksum is a CRC-32 of the save object as written, so any change to a
// byte of it (a torn write, a hand edit) shows.
#include "game/saves/SaveFile.h"

#include "util/ConvString.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdio>

namespace Kura::SaveFile {

namespace {

using nlohmann::json;

constexpr const char* FORMAT_NAME = "kura-save";
constexpr uint32_t CRC32_POLYNOMIAL = 0xEDB88320u; // reflected IEEE 802.3
constexpr size_t CHECKSUM_DIGITS = 8;
constexpr size_t EXCERPT_WIDTH = 40; // twenty wide characters, or forty narrow ones

uint32_t Crc32(const std::string& text) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < t.size(); ++n) {
            uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1) ? CRC32_POLYNOMIAL ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : text)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// Text that is not UTF-8 is written with replacement characters rather than
// refused: a save must never fail over one odd byte of a message.
std::string Dump(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string ChecksumText(const json& save) {
    char digits[CHECKSUM_DIGITS + 1];
    std::snprintf(digits, sizeof digits, "%08x", Crc32(Dump(save)));
    return digits;
}

// Counts brackets outside strings, so a deeply nested file is refused before
// the parser builds it.
bool NestsAtMost(const std::string& text, int32_t limit) {
    int32_t depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (++depth > limit) return false;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return true;
}

template <class T> bool Read(const json& object, const char* key, T& out) {
    auto found = object.find(key);
    if (found == object.end()) return false;
    if constexpr (std::is_same_v<T, std::string>) {
        if (!found->is_string()) return false;
    } else {
        if (!found->is_number_integer()) return false;
    }
    out = found->get<T>();
    return true;
}

bool ReadDecisions(const json& save, std::vector<std::string>& decisions) {
    auto found = save.find("decisions");
    if (found == save.end() || !found->is_array()) return false;
    for (const json& decision : *found) {
        if (!decision.is_string()) return false;
        decisions.push_back(decision.get<std::string>());
    }
    return true;
}

// Saves made before the clock was recorded have no readings: the replay then
// reads the live clock, as the play did.
bool ReadClock(const json& save, std::vector<int64_t>& readings) {
    auto found = save.find("clockReadings");
    if (found == save.end()) return true;
    if (!found->is_array()) return false;
    for (const json& reading : *found) {
        if (!reading.is_number_integer()) return false;
        readings.push_back(reading.get<int64_t>());
    }
    return true;
}

std::optional<SaveRecord> ReadSave(const json& save) {
    SaveRecord record;
    PlayTrail& trail = record.trail;
    const bool whole =
        save.is_object() && Read(save, "beginScript", trail.beginScript) &&
        Read(save, "randomState", trail.randomState) && Read(save, "messages", trail.messages) &&
        Read(save, "stops", record.stops) && Read(save, "script", record.script) &&
        Read(save, "message", record.message) && Read(save, "savedAtMs", record.savedAtMs) &&
        ReadDecisions(save, trail.decisions) && ReadClock(save, trail.clockReadings);
    if (!whole || trail.messages < 0 || record.stops < 0 || record.stops > trail.stops())
        return std::nullopt;
    return record;
}

} // namespace

std::string Encode(const SaveRecord& record) {
    const PlayTrail& trail = record.trail;
    json save = {{"beginScript", trail.beginScript},
                 {"randomState", trail.randomState},
                 {"decisions", trail.decisions},
                 {"messages", trail.messages},
                 {"clockReadings", trail.clockReadings},
                 {"stops", record.stops},
                 {"script", record.script},
                 {"message", record.message},
                 {"savedAtMs", record.savedAtMs}};
    json file = {{"format", FORMAT_NAME},
                 {"version", FORMAT_VERSION},
                 {"checksum", ChecksumText(save)},
                 {"save", save}};
    return Dump(file) + "\n";
}

std::optional<SaveRecord> Decode(const std::string& text) {
    if (text.size() > MAX_FILE_BYTES || !NestsAtMost(text, MAX_NESTING)) return std::nullopt;
    const json file = json::parse(text, nullptr, false);
    if (file.is_discarded() || !file.is_object()) return std::nullopt;
    std::string format;
    std::string checksum;
    int32_t version = 0;
    if (!Read(file, "format", format) || format != FORMAT_NAME || !Read(file, "version", version) ||
        version < 1 || version > FORMAT_VERSION || !Read(file, "checksum", checksum) ||
        !file.contains("save"))
        return std::nullopt;
    const json& save = file["save"];
    if (ChecksumText(save) != checksum) return std::nullopt;
    return ReadSave(save);
}

std::string Excerpt(const std::string& message) {
    return message.substr(0, ConvString::Utf8PrefixWithinWidth(message, EXCERPT_WIDTH).bytes);
}

} // namespace Kura::SaveFile
