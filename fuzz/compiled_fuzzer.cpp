// Fuzz target: the compiled-file loader as the host meets it (the bytes are a
// file on disk, recognised by their magic), then a run within the budget.
#include "fuzz_host.h"

#include <cstdio>

namespace {

const char* const INPUT_FILE = "input.kelc";

bool writeInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(INPUT_FILE, "wb");
    if (!file) return false;
    bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kelfuzz::setUpProcess();
    if (kelfuzz::touchesTheMachine(data, size)) return -1;
    if (!writeInput(data, size)) {
        std::perror("kelfuzz: cannot write the input file");
        return 0;
    }
    kelfuzz::Session session;
    if (session.interpreter().loadFile(INPUT_FILE) == Kel::Interpreter::LOADED)
        session.runBounded();
    return 0;
}
