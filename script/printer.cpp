// Diagnostic printer. Narrow text is UTF-8 on this platform, so the conversion
// to the system code page is the identity; the only care needed is that a cut
// message never ends inside a multi-byte character.
#include "printer.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace Kel {
namespace {

unsigned g_enabledCodes = (1u << DIAG_STACK_REMAINED) | (1u << DIAG_POP_EMPTY);
MessageSink g_sink = nullptr;

const char* const DIAGNOSTIC_TEXT[] = {
    "runtime warning : %s stack remained when deleting env\n",
    "runtime warning : undeclared identidier %s\n",
    "runtime error : pop empty stack\n",
    "runtime warning : declared identidier %s already exist, over write\n",
    "runtime warning : call of a name that is no function%s\n",
    "runtime warning : host command called with the wrong number of arguments: %s\n",
};

// Length of `text` (already cut to `length` bytes) without a trailing partial
// UTF-8 sequence.
int wholeCharacterLength(const char* text, int length) {
    int start = length;
    while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80)
        --start;
    if (start == 0) return length;
    unsigned char lead = static_cast<unsigned char>(text[start - 1]);
    int need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    int have = length - (start - 1);
    return have < need ? start - 1 : length;
}

void writeBounded(const char* format, va_list args) {
    char buffer[PRINTER_BUFFER_SIZE];
    int wanted = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (wanted < 0) return;
    int length = wanted < PRINTER_BUFFER_SIZE ? wanted : PRINTER_BUFFER_SIZE - 1;
    if (wanted >= PRINTER_BUFFER_SIZE) length = wholeCharacterLength(buffer, length);
    if (g_sink) {
        g_sink(std::string_view(buffer, static_cast<size_t>(length)));
        return;
    }
    std::fwrite(buffer, 1, static_cast<size_t>(length), stdout);
    std::fputc('\n', stdout);
}

} // namespace

bool diagnosticEnabled(int code) {
    return code >= 0 && code <= DIAG_ARGUMENT_COUNT && (g_enabledCodes & (1u << code));
}

void printMessage(const char* format, ...) {
    va_list args;
    va_start(args, format);
    writeBounded(format, args);
    va_end(args);
}

MessageSink setMessageSink(MessageSink sink) {
    MessageSink previous = g_sink;
    g_sink = sink;
    return previous;
}

void enableDiagnostic(int code, bool enabled) {
    if (code < 0 || code > DIAG_ARGUMENT_COUNT) return;
    if (enabled)
        g_enabledCodes |= 1u << code;
    else
        g_enabledCodes &= ~(1u << code);
}

void report(int code, std::string_view text) {
    if (diagnosticEnabled(code)) report(code, std::string(text).c_str());
}

void report(int code, const char* text) {
    if (!diagnosticEnabled(code)) return;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    printMessage(DIAGNOSTIC_TEXT[code], text);
#pragma GCC diagnostic pop
}

} // namespace Kel
