// What both fuzz targets share: a process kept away from the machine (an
// empty working folder, no standard input) and a session per input that
// loads a script into a fresh interpreter, runs it within an instruction
// budget and tears everything down again, so inputs cannot affect each other.
#pragma once

#include "interpreter.h"

#include <cstddef>
#include <cstdint>

namespace kelfuzz {

// Instructions one input may run, counting every thread, callback and
// destructor it starts; enough for the loops in the test scripts to matter.
constexpr int64_t INSTRUCTION_BUDGET = 100000;
// Top-level yields resumed before the run is abandoned.
constexpr int MAX_RESUMES = 100;

// Prepares the process once: working folder and standard input.
void setUpProcess();
// True when the input names a place outside the working folder where reading
// could hang or never end (devices, /proc): such inputs are skipped.
bool touchesTheMachine(const uint8_t* data, size_t size);

class Session {
public:
    Session();
    // Drops the script, collects cycles and releases the global object.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Kel::Interpreter& interpreter() { return *m_interpreter; }
    // Runs the loaded script within the budget, resuming after top-level yields.
    void runBounded();

private:
    Kel::Interpreter* m_interpreter;
};

} // namespace kelfuzz
