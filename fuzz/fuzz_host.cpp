// The fuzz targets' host: each input gets an interpreter of its own, as a
// game's script would, and leaves nothing behind for the next one.
#include "fuzz_host.h"

#include "collector.h"
#include "env.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace kelfuzz {

void setUpProcess() {
    static bool done = false;
    if (done) return;
    done = true;
    char folder[] = "/tmp/kelfuzz-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) {
        std::perror("kelfuzz: cannot make a working folder");
        std::abort();
    }
    if (!std::freopen("/dev/null", "r", stdin)) {
        std::perror("kelfuzz: cannot close standard input");
        std::abort();
    }
}

bool touchesTheMachine(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (std::string_view root : {"/dev", "/proc", "/sys"}) {
        if (text.find(root) != std::string_view::npos) return true;
    }
    return false;
}

Session::Session() : m_interpreter(new Kel::Interpreter) {}

Session::~Session() {
    // Destructors that run while the script is torn down get a budget too.
    Kel::Env::setInstructionBudget(INSTRUCTION_BUDGET);
    delete m_interpreter;
    Kel::collectGarbage();
    Kel::Env::releaseGlobal();
    Kel::Env::clearInstructionBudget();
}

void Session::runBounded() {
    Kel::Env::setInstructionBudget(INSTRUCTION_BUDGET);
    m_interpreter->run(0);
    for (int resumes = 0;
         m_interpreter->isRunning() && !Kel::Env::budgetExhausted() && resumes < MAX_RESUMES;
         ++resumes)
        m_interpreter->run(0);
}

} // namespace kelfuzz
