// Progress lines: `global string KEY=EXPR;` where EXPR joins literals with
// "+". A double-quoted literal decodes as the Kel tokenizer decodes it (\n, \t
// and \" are escapes, any other backslash stays); a single-quoted one is raw.
// The reader walks the text once and gives up at the first byte out of place.
#include "util/ProgressText.h"

namespace Kura::ProgressText {

namespace {

constexpr const char* NOW_SCENE_KEY = "sd_now_scene";
constexpr const char* MAX_SCENE_KEY = "sd_max_scene";
constexpr std::string_view LINE_START = "global string ";

std::string GlobalLine(const char* key, const std::string& value) {
    return std::string(LINE_START) + key + "=" + KelStringExpression(value) + ";\n";
}

// Reads the text left to right; every step consumes what it expects or fails.
class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    bool atEnd() const { return m_at == m_text.size(); }

    bool take(std::string_view expected) {
        if (m_text.substr(m_at, expected.size()) != expected) return false;
        m_at += expected.size();
        return true;
    }

    // line: "global string " key "=" literal { "+" literal } ";" ["\r"] "\n"
    bool line(const char* key, std::string& value) {
        if (!take(LINE_START) || !take(key) || !take("=")) return false;
        value.clear();
        do {
            if (!literal(value)) return false;
        } while (take("+"));
        if (!take(";")) return false;
        take("\r");
        return take("\n");
    }

private:
    bool literal(std::string& value) {
        if (take("'")) return raw(value);
        if (take("\"")) return escaped(value);
        return false;
    }

    bool raw(std::string& value) {
        size_t end = m_text.find('\'', m_at);
        if (end == std::string_view::npos) return false;
        value.append(m_text.substr(m_at, end - m_at));
        m_at = end + 1;
        return true;
    }

    bool escaped(std::string& value) {
        while (m_at < m_text.size()) {
            char byte = m_text[m_at++];
            if (byte == '"') return true;
            if (byte == '\\' && m_at < m_text.size()) {
                char replacement = Escape(m_text[m_at]);
                if (replacement) {
                    value.push_back(replacement);
                    ++m_at;
                    continue;
                }
            }
            value.push_back(byte);
        }
        return false; // the literal never closes
    }

    static char Escape(char byte) {
        return byte == 'n' ? '\n' : byte == 't' ? '\t' : byte == '"' ? '"' : 0;
    }

    std::string_view m_text;
    size_t m_at = 0;
};

} // namespace

std::string KelStringExpression(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        if (text[i] != '\\') {
            if (text[i] == '"') out += '\\';
            out += text[i++];
            continue;
        }
        size_t run = text.find_first_not_of('\\', i);
        if (run == std::string::npos) run = text.size();
        out += "\"+'" + text.substr(i, run - i) + "'+\"";
        i = run;
    }
    return out + "\"";
}

std::string Write(const Scenes& scenes) {
    return GlobalLine(NOW_SCENE_KEY, scenes.now) + GlobalLine(MAX_SCENE_KEY, scenes.max);
}

std::optional<Scenes> Read(std::string_view text) {
    Reader reader(text);
    Scenes scenes;
    if (!reader.line(NOW_SCENE_KEY, scenes.now) || !reader.line(MAX_SCENE_KEY, scenes.max) ||
        !reader.atEnd())
        return std::nullopt;
    return scenes;
}

} // namespace Kura::ProgressText
