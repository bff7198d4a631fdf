// The parser writes a message in two parts, its head ("error FILE LINE: ")
// and then its text; the preprocessor and the tokenizer write both at once.
#include "game/check/KelMessages.h"

#include "game/check/CheckReport.h"

#include "code_block.h"
#include "printer.h"
#include "scope.h"

#include <cstdio>
#include <regex>

namespace Kura {

namespace {

struct Watch {
    CheckReport* report = nullptr;
    Kel::Interpreter* interpreter = nullptr;
    std::string fallbackFile;
    bool echo = false;
    std::string headFile; // a head waiting for its text
    int32_t headLine = 0;
};
Watch g_watch;

// The calls a game does not report but a check does.
constexpr int CHECKED_CALLS[] = {Kel::DIAG_NOT_CALLABLE, Kel::DIAG_ARGUMENT_COUNT};
constexpr const char* RUNTIME_PREFIX = "runtime ";
constexpr const char* KIND_SEPARATOR = " : ";

std::string Trimmed(std::string_view text) {
    size_t end = text.find_last_not_of(" \n\r\t");
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

// A compile message: "error|warning|tokenizer FILE LINE: text", the text
// perhaps still to come.
bool ReadHead(const std::string& message) {
    static const std::regex head(R"(^(error|warning|tokenizer) (.+) (\d+): ?(.*)$)");
    std::smatch match;
    if (!std::regex_match(message, match, head)) return false;
    const std::string text = match[4].str();
    const std::string kind = match[1].str() == "warning" ? "warning: " : "";
    if (text.empty()) {
        g_watch.headFile = match[2].str();
        g_watch.headLine = std::stoi(match[3].str());
        return true;
    }
    g_watch.report->add(match[2].str(), std::stoi(match[3].str()), kind + text);
    return true;
}

void Collect(std::string_view raw) {
    if (g_watch.echo) {
        std::fwrite(raw.data(), 1, raw.size(), stdout);
        std::fputc('\n', stdout);
    }
    const std::string message = Trimmed(raw);
    if (!g_watch.headFile.empty()) {
        g_watch.report->add(g_watch.headFile, g_watch.headLine, message);
        g_watch.headFile.clear();
        return;
    }
    if (ReadHead(message)) return;
    if (message.rfind(RUNTIME_PREFIX, 0) != 0) return; // the script's own print
    const size_t separator = message.find(KIND_SEPARATOR);
    const std::string text = separator == std::string::npos
                                 ? message
                                 : message.substr(separator + std::string(KIND_SEPARATOR).size());
    // With no code running, the message is the interpreter's note on a script
    // dropped while suspended, which is how a route's play is ended.
    const Kel::SourcePlace place = KelMessages::runningPlace();
    if (place.line == 0) return;
    g_watch.report->add(KelMessages::fileOf(place), place.line, text);
}

} // namespace

KelMessages::KelMessages(CheckReport& report, bool echo) {
    g_watch = Watch{};
    g_watch.report = &report;
    g_watch.echo = echo;
    Kel::setMessageSink(Collect);
    for (int code : CHECKED_CALLS)
        Kel::enableDiagnostic(code, true);
}

KelMessages::~KelMessages() {
    for (int code : CHECKED_CALLS)
        Kel::enableDiagnostic(code, false);
    Kel::setMessageSink(nullptr);
    g_watch = Watch{};
}

void KelMessages::watch(Kel::Interpreter* interpreter, const std::string& fallbackFile) {
    g_watch.interpreter = interpreter;
    g_watch.fallbackFile = fallbackFile;
}

// The run loop has moved the pc past the instruction it is running.
Kel::SourcePlace KelMessages::runningPlace() {
    if (!g_watch.interpreter) return {};
    Kel::Scope* scope = g_watch.interpreter->env().current();
    if (!scope || !scope->code() || scope->pc() == 0) return {};
    return scope->code()->placeAt(scope->pc() - 1);
}

Kel::SourcePlace KelMessages::placeIn(const std::string& file) {
    if (!g_watch.interpreter) return {};
    for (Kel::Scope* scope = g_watch.interpreter->env().current(); scope; scope = scope->outer()) {
        if (!scope->code() || scope->pc() == 0) continue;
        const Kel::SourcePlace place = scope->code()->placeAt(scope->pc() - 1);
        if (place.file && *place.file == file) return place;
    }
    return runningPlace();
}

std::string KelMessages::fileOf(const Kel::SourcePlace& place) {
    return place.file ? *place.file : g_watch.fallbackFile;
}

} // namespace Kura
