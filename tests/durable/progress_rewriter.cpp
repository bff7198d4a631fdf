// Rewrites a progress file without end, alternating between two versions of
// different lengths, exactly as the scenario player writes it, and prints
// "round" after each pair; stops only when killed. Usage: progress_rewriter PATH
#include "util/DurableFile.h"
#include "util/ProgressText.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: progress_rewriter PATH\n");
        return 2;
    }
    // The long scene makes each write span several pages of the file.
    const std::string versions[] = {
        Kura::ProgressText::Write({"001", "001"}),
        Kura::ProgressText::Write({"002", std::string(20000, '9')}),
    };
    for (unsigned i = 0;; ++i) {
        if (!Kura::DurableFile::Replace(argv[1], versions[i % 2])) {
            std::perror(argv[1]);
            return 1;
        }
        // Each round (both versions written) told at once, so the killer can
        // time its kills.
        if (i % 2 == 1) {
            std::puts("round");
            std::fflush(stdout);
        }
    }
}
