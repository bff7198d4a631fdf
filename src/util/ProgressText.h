// The text of the progress file "save.kel": the two Kel global lines the
// engine writes and the reader that takes them back. The file is read as data,
// never run: a player may copy a progress file from anyone, so the reader
// accepts only what the writer produces and runs nothing. Needs nothing else.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Kura::ProgressText {

// The scenes a progress file names.
struct Scenes {
    std::string now;
    std::string max;
};

// A Kel expression whose value is exactly text: a double-quoted literal, with
// runs of backslashes in single quotes and joined on, because double-quoted
// literals have no escape for the backslash.
std::string KelStringExpression(const std::string& text);

// The two lines of the file.
std::string Write(const Scenes& scenes);

// The scenes of a text that is exactly two lines as Write makes them (or as
// earlier versions made them: a plain double-quoted literal, line ends with or
// without a carriage return); nothing for any other text.
std::optional<Scenes> Read(std::string_view text);

} // namespace Kura::ProgressText
