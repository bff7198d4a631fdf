// The interpreter's messages during a check: compile messages carry their own
// file and line; a run-time message is placed at the instruction that was
// running in the watched interpreter. Each becomes a problem of the report;
// what a script prints for itself is not a problem and is dropped.
#pragma once

#include "interpreter.h"

#include <string>

namespace Kura {

class CheckReport;

class KelMessages {
public:
    // From now until destroyed, every message goes to report instead of the
    // screen, and a call of a name that is no function is reported too.
    explicit KelMessages(CheckReport& report);
    ~KelMessages();
    KelMessages(const KelMessages&) = delete;
    KelMessages& operator=(const KelMessages&) = delete;

    // Run-time messages are placed in this interpreter's running code; a
    // message while none is watched goes to fallbackFile.
    void watch(Kel::Interpreter* interpreter, const std::string& fallbackFile);

    // The file and line of the instruction running in the watched interpreter.
    static Kel::SourcePlace runningPlace();
    // The place's file, or the fallback when the code does not know its file.
    static std::string fileOf(const Kel::SourcePlace& place);
};

} // namespace Kura
