// The Kel diagnostic printer: every message of the tokenizer, the parser, the
// interpreter and `print` leaves through here, formatted printf-style into a
// bounded buffer and written to standard output followed by a line break.
#pragma once

#include <string_view>

namespace Kel {

// A message longer than this is cut at the last whole UTF-8 character that fits.
constexpr int PRINTER_BUFFER_SIZE = 256;

// Formats like printf, writes the text to standard output, then "\n".
void printMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Takes every message instead of standard output while set (without the
// "\n"), so a host that checks scripts can read and place them; null gives
// the messages back to standard output. Answers the sink it replaces.
using MessageSink = void (*)(std::string_view message);
MessageSink setMessageSink(MessageSink sink);

// Run-time diagnostic codes of the interpreter.
enum DiagnosticCode {
    DIAG_STACK_REMAINED = 0,
    DIAG_UNDECLARED = 1,
    DIAG_POP_EMPTY = 2,
    DIAG_REDECLARED = 3,
    DIAG_NOT_CALLABLE = 4,   // a call of an object with no code does nothing
    DIAG_ARGUMENT_COUNT = 5, // a host function given more or fewer arguments
};

// Prints the message of `code` with `text` in its %s, when the code is enabled.
// Only codes 0 and 2 are enabled unless a host enables more.
void report(int code, const char* text = "");
// The same for a name that is not zero-terminated; the copy it needs is made
// only when the code is enabled, since undeclared and redeclared names are
// reported on hot paths and never printed.
void report(int code, std::string_view text);
// Turns the message of `code` on or off for the whole process.
void enableDiagnostic(int code, bool enabled);
bool diagnosticEnabled(int code);

} // namespace Kel
