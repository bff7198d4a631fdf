// The bound on every script the game runs (settings, contents, scenario): a
// run that goes on for more than a generous number of instructions without
// waiting is stopped where it is and reported once, so a runaway loop can
// never freeze the game. Needs the Kel host interface.
#pragma once

#include "interpreter.h"

#include <cstdint>
#include <string>

namespace Kura::ScriptBudget {

// Far more than any scene does between two waits (a whole scene file runs in
// a few thousand), yet only about a second of a busy core.
inline constexpr int64_t MAX_INSTRUCTIONS_WITHOUT_WAITING = 20'000'000;

// Runs (or resumes) the interpreter's script with `argument` within the bound
// and stores what it answered in result. False when the bound stopped it:
// then the stop is reported in log.txt as from `function`, and the script is
// left suspended where it was.
bool Run(Kel::Interpreter& interpreter, int argument, const char* function, Kel::Ref& result);

// What the report says of a stopped run, for any tool that checks scripts:
// "script stopped after N instructions without waiting: FILE line L".
std::string StopText(const Kel::SourcePlace& place);

} // namespace Kura::ScriptBudget
