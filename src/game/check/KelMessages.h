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
    // screen, and a call of a name that is no function is reported too. With
    // echo, every message is also printed as it would have been (a game
    // played in developer mode keeps its output).
    explicit KelMessages(CheckReport& report, bool echo = false);
    ~KelMessages();
    KelMessages(const KelMessages&) = delete;
    KelMessages& operator=(const KelMessages&) = delete;

    // Run-time messages are placed in this interpreter's running code; a
    // message while none is watched goes to fallbackFile.
    void watch(Kel::Interpreter* interpreter, const std::string& fallbackFile);

    // The file and line of the instruction running in the watched interpreter.
    static Kel::SourcePlace runningPlace();
    // The line of file that the running code was reached from: the running
    // instruction if it is in file, else the call in file that led to it (a
    // scene's call of a helper from an included file); the running place when
    // file is not on the way (a call that ends the file's code leaves its
    // scope before the callee runs, so it is not on the way).
    static Kel::SourcePlace placeIn(const std::string& file);
    // The place's file, or the fallback when the code does not know its file.
    static std::string fileOf(const Kel::SourcePlace& place);
};

} // namespace Kura
