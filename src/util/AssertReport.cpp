// Builds the failed-check report text and sends it to "log.txt" or the console.
// Narrow text on this platform is UTF-8; wide text goes through ConvString.
#include "util/AssertReport.h"

#include "util/Console.h"
#include "util/ConvString.h"

#include <cstdio>

namespace Kura {

namespace {

DebugBreakHook g_DebugBreakHook = nullptr;

std::wstring BuildReportText(const char* file, int32_t line, const char* function,
                             const wchar_t* expression) {
    if (file == nullptr || function == nullptr || expression == nullptr) return std::wstring();
    std::wstring text = L"File=" + ConvString::AnsiToWide(file);
    text += L"\nLine=" + std::to_wstring(line);
    text += L"\nFunc=" + ConvString::AnsiToWide(function) + L"\n";
    if (*expression != L'\0') text += std::wstring(L"mes=") + expression + L"\n";
    return text;
}

} // namespace

void ReportAssertion(bool toConsole, const char* file, int32_t line, const char* function,
                     const wchar_t* expression) {
    std::wstring text = BuildReportText(file, line, function, expression);
    if (toConsole) {
        PrintWide(text);
        return;
    }
    WriteLog(text);
    if (g_DebugBreakHook != nullptr) g_DebugBreakHook(text);
}

DebugBreakHook SetDebugBreakHook(DebugBreakHook hook) {
    DebugBreakHook previous = g_DebugBreakHook;
    g_DebugBreakHook = hook;
    return previous;
}

void WriteLog(const std::string& text) {
    std::FILE* file = std::fopen(LOG_FILE_NAME, "ab");
    if (file == nullptr) return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

void WriteLog(const std::wstring& text) {
    WriteLog(ConvString::WideToAnsi(text));
}

} // namespace Kura
