// Interpreter: what a host program sees of Kel. It loads a script file
// (compiled or source) into its environment, runs it until it yields or ends,
// resumes it, reads and writes globals, and binds plain host functions. Every
// interpreter of the process shares the one global object.
#pragma once

#include "bindings.h"
#include "env.h"
#include "holder.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace Kel {

class Interpreter {
public:
    // Results of loadFile and loadText.
    enum LoadResult { LOADED = 0, NOT_FOUND = 1, COMPILE_FAILED = 2 };

    // Registers the built-in library into the global object and sets the
    // process locale to the user's default (numbers keep the "C" form, so that
    // literals and printed floats read the same everywhere).
    Interpreter();
    virtual ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // Tries `path` as a compiled script first, then as source. A loaded script
    // does not run yet; a script that fails to compile leaves everything as it
    // was. Any script loaded before is dropped.
    int loadFile(const std::string& path);
    // The same for source text; messages name it `name`.
    int loadText(std::string_view text, const std::string& name);
    // Loads a unit made by loadUnit or compileText. Loading copies what the
    // unit holds and leaves the unit as it was, so a host may keep one and
    // load it again without compiling again.
    void loadCompiled(const Ref& unit) { start(unit); }

    // Starts or resumes the script with `argument`; answers what it yielded
    // or what it left when it ended. Without a live script: an empty object.
    Ref run(const Ref& argument);
    Ref run(int argument);
    // True while a loaded script has not ended (it may be suspended).
    bool isRunning() const { return m_env.current() != nullptr; }

    // Bounds the instructions every script of the process may run from now
    // on (threads, callbacks and destructors included), so a runaway script
    // hands control back: run() then returns with the script still running
    // and budgetExhausted() true; a new budget lets it go on where it stopped.
    static void setInstructionBudget(int64_t instructions) {
        Env::setInstructionBudget(instructions);
    }
    static void clearInstructionBudget() { Env::clearInstructionBudget(); }
    static bool budgetExhausted() { return Env::budgetExhausted(); }
    static SourcePlace budgetStopPlace() { return Env::budgetStopPlace(); }

    // The global of that name, created as an empty object when missing.
    Ref getGlobal(std::string_view name);
    void setGlobal(std::string_view name, const Ref& value);

    // Binds a host function under `name`: one overload per parameter shape,
    // parameters int or const char*, result void, int or const char*.
    template <class R, class... P>
    void registerFunction(std::string_view name, R (*function)(P...)) {
        setGlobal(name, Ref(new variable::Variable::vBCFunction<R, P...>(function)));
    }

    Env& env() { return m_env; }

    // Reads `path` as a compiled script, or else compiles it as source, into
    // `unit` without loading it anywhere. Answers a LoadResult.
    static int loadUnit(const std::string& path, Ref& unit);
    // Compiles source text into `unit`; messages name it `name`.
    static int compileText(std::string_view text, const std::string& name, Ref& unit);

    // Runs the last collection, so unreachable cycles still meet their
    // destructors; call once when the process is done with every interpreter.
    static void shutdown();

private:
    // Makes `unit` the content of the global object and enters it.
    void start(const Ref& unit);

    Env m_env;
};

} // namespace Kel
