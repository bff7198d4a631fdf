// Writes engine text to standard output. A C stream takes either byte or wide
// output for its whole life, and the script printer already writes bytes there,
// so wide text is converted and goes out as bytes too.
#include "util/Console.h"

#include "util/ConvString.h"

#include <cstdio>

namespace Kura {

void PrintWide(const std::wstring& text) {
    PrintNarrow(ConvString::WideToAnsi(text));
}

void PrintNarrow(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace Kura
