// The engine's one way to report a failed check: the report goes to "log.txt"
// (or the console) and the caller carries on. Needs only the text conversions.
#pragma once

#include <cstdint>
#include <string>

namespace Kura {

// The file every failed check is appended to, in the working directory.
inline constexpr const char* LOG_FILE_NAME = "log.txt";

// Called after each report written to the log with the report's text; does
// nothing unless a hook is set.
using DebugBreakHook = void (*)(const std::wstring& report);

// Builds the report text and appends it to the log (toConsole false) or prints it
// on the console (toConsole true). A null file, function or expression gives an
// empty report. Always returns.
void ReportAssertion(bool toConsole, const char* file, int32_t line, const char* function,
                     const wchar_t* expression);

// Installs the hook called after a logged report; returns the previous one.
DebugBreakHook SetDebugBreakHook(DebugBreakHook hook);

// Appends the text to the log as it stands (wide text converted to narrow first).
// A log that cannot be opened loses the text.
void WriteLog(const std::string& text);
void WriteLog(const std::wstring& text);

} // namespace Kura

// Checks cond once; on failure reports it and evaluates to false, so a caller may
// go on or return early. The texts are literals because a report carries them
// exactly as written (the formatter would respace #cond, and __func__ has no
// namespace): KURA_CHECK(idx < MAX, "idx<MAX", "src\\of\\Foo", "Kura::Foo::Bar", __LINE__)
#define KURA_CHECK(cond, condText, file, function, line)                                           \
    (static_cast<bool>(cond) ||                                                                    \
     (::Kura::ReportAssertion(false, file, line, function, L"" condText), false))
