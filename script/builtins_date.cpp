// date: a moment written as text, through strftime's conversions. Moments are
// seconds since 1970 as `time.time()` gives them; the local form follows the
// user's time zone, the utc form does not.
#include "builtins.h"
#include "builtins_support.h"
#include "clock_source.h"

#include <cstdint>
#include <ctime>
#include <string_view>

namespace Kel::builtins {

namespace {

// The conversions strftime has on every platform; any other letter after "%"
// would be undefined behaviour there.
constexpr std::string_view DATE_CONVERSIONS = "aAbBcdHIjmMpSUwWxXyYZ%";
// A date text is short; a format that would need more is refused.
constexpr size_t MAX_DATE_TEXT = 256;

// The first conversion of the format that strftime does not have (a "%" at
// the very end included), or an empty view.
std::string_view unknownConversion(std::string_view format) {
    for (size_t at = 0; at < format.size(); ++at) {
        if (format[at] != '%') continue;
        if (at + 1 == format.size() ||
            DATE_CONVERSIONS.find(format[at + 1]) == std::string_view::npos)
            return format.substr(at, 2);
        ++at;
    }
    return {};
}

// date.text(format[, seconds]) and date.utc(format[, seconds]): the moment
// (now when it is missing) broken down and written by the format.
template <struct tm* (*Breakdown)(const time_t*, struct tm*)>
Ref written(const Ref& argument, const char* name) {
    SharedString format = parameter(argument, 0).value()->toString();
    std::string_view unknown = unknownConversion(format.view());
    if (!unknown.empty())
        return failure(name, "unknown conversion \"%.*s\"", static_cast<int>(unknown.size()),
                       unknown.data());
    time_t moment = parameterCount(argument) > 1
                        ? static_cast<time_t>(parameter(argument, 1).value()->toInt())
                        : static_cast<time_t>(clock::wallSeconds());
    struct tm parts;
    if (!Breakdown(&moment, &parts)) return failure(name, "the moment cannot be written");
    char text[MAX_DATE_TEXT];
    size_t length = std::strftime(text, sizeof text, format.c_str(), &parts);
    if (length == 0 && !format.empty())
        return failure(name, "the text would be longer than %zu bytes", MAX_DATE_TEXT - 1);
    return makeString(std::string_view(text, length));
}

Ref local(const Ref& argument) {
    return written<localtime_r>(argument, "date.text");
}
Ref utc(const Ref& argument) {
    return written<gmtime_r>(argument, "date.utc");
}

} // namespace

void registerDate(const Ref& global) {
    Ref date = libraryObject(global, "date");
    setFunction(date, "text", local);
    setFunction(date, "utc", utc);
}

} // namespace Kel::builtins
