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

// Run-time diagnostic codes of the interpreter.
enum DiagnosticCode {
    DIAG_STACK_REMAINED = 0,
    DIAG_UNDECLARED = 1,
    DIAG_POP_EMPTY = 2,
    DIAG_REDECLARED = 3,
};

// Prints the message of `code` with `text` in its %s, when the code is enabled.
// Only codes 0 and 2 are enabled.
void report(int code, const char* text = "");
// The same for a name that is not zero-terminated; the copy it needs is made
// only when the code is enabled, since undeclared and redeclared names are
// reported on hot paths and never printed.
void report(int code, std::string_view text);

} // namespace Kel
