// Fuzz target: source text through the tokenizer, preprocessor, parser and
// code generator, then a run of whatever compiled, within the budget.
#include "fuzz_host.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kelfuzz::setUpProcess();
    if (kelfuzz::touchesTheMachine(data, size)) return -1;
    kelfuzz::Session session;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (session.interpreter().loadText(text, "fuzz.kel") == Kel::Interpreter::LOADED)
        session.runBounded();
    return 0;
}
