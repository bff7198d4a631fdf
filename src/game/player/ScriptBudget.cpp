// The bound is the language's instruction budget, set afresh before each run
// and lifted after it, so that code outside the game's runs (tests, tools)
// keeps running unbounded.
#include "game/player/ScriptBudget.h"

#include "util/AssertReport.h"
#include "util/ConvString.h"

namespace Kura::ScriptBudget {

namespace {

constexpr const char* SOURCE_NAME = "src\\game\\ScriptBudget";
constexpr const char* UNKNOWN_FILE = "(compiled script)";

} // namespace

bool Run(Kel::Interpreter& interpreter, int argument, const char* function, Kel::Ref& result) {
    Kel::Interpreter::setInstructionBudget(MAX_INSTRUCTIONS_WITHOUT_WAITING);
    result = interpreter.run(argument);
    bool stopped = Kel::Interpreter::budgetExhausted();
    Kel::Interpreter::clearInstructionBudget();
    if (stopped)
        ReportAssertion(
            false, SOURCE_NAME, __LINE__, function,
            ConvString::AnsiToWide(StopText(Kel::Interpreter::budgetStopPlace())).c_str());
    return !stopped;
}

std::string StopText(const Kel::SourcePlace& place) {
    return "script stopped after " + std::to_string(MAX_INSTRUCTIONS_WITHOUT_WAITING) +
           " instructions without waiting: " + (place.file ? *place.file : UNKNOWN_FILE) +
           " line " + std::to_string(place.line);
}

} // namespace Kura::ScriptBudget
