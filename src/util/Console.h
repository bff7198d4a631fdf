// Console output of engine text, each call one line on standard output.
// Wide text is written as narrow (UTF-8) text so both kinds share one stream.
#pragma once

#include <string>

namespace Kura {

void PrintWide(const std::wstring& text);
void PrintNarrow(const std::string& text);

} // namespace Kura
