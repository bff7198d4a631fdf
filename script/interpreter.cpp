// The host interface: create (built-ins into the shared global object),
// loading compiled or source scripts, running and resuming them, globals.
// Needs the compiled-code reader, the tokenizer and the compiler.
#include "interpreter.h"

#include "builtins.h"
#include "builtins_support.h"
#include "code_reader.h"
#include "collector.h"
#include "numbers.h"
#include "scope.h"
#include "tokenizer.h"

#include <clocale>
#include <cstdio>
#include <memory>
#include <vector>

namespace Kel {

namespace {

// The compiled-script magic is this many bytes long.
constexpr size_t MAGIC_BYTES = 4;

// A compiled script read whole, or false when the file does not open or does
// not start with the magic (then it is taken to be source text).
bool readCompiledFile(const std::string& path, std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    uint8_t buffer[4096];
    size_t got = std::fread(buffer, 1, MAGIC_BYTES, file);
    bool compiled = isCompiledScript(buffer, got);
    if (compiled) {
        bytes.assign(buffer, buffer + got);
        while (bytes.size() <= MAX_SOURCE_BYTES &&
               (got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + got);
        // Compiled code is bounded like source: a longer file is refused.
        compiled = bytes.size() <= MAX_SOURCE_BYTES;
    }
    std::fclose(file);
    return compiled;
}

int compileFrom(Tokenizer& tokenizer, Ref& unit) {
    int errors = 0;
    Ref function = builtins::compileSource(tokenizer, errors);
    if (errors != 0) return Interpreter::COMPILE_FAILED;
    unit = function;
    return Interpreter::LOADED;
}

} // namespace

Interpreter::Interpreter() {
    builtins::registerAll(Env::global());
    std::setlocale(LC_ALL, "");
    // Number text is part of the language ("%f", literals, string to float):
    // it must not change with the user's locale.
    std::setlocale(LC_NUMERIC, "C");
}

Interpreter::~Interpreter() = default;

int Interpreter::loadUnit(const std::string& path, Ref& unit) {
    std::vector<uint8_t> bytes;
    if (readCompiledFile(path, bytes)) {
        unit = readCompiledScript(bytes.data(), bytes.size());
        return LOADED;
    }
    std::unique_ptr<Tokenizer> tokenizer = Tokenizer::open(path, nullptr);
    if (!tokenizer) return NOT_FOUND;
    return compileFrom(*tokenizer, unit);
}

int Interpreter::compileText(std::string_view text, const std::string& name, Ref& unit) {
    Tokenizer tokenizer(text, name, 1, nullptr);
    return compileFrom(tokenizer, unit);
}

int Interpreter::loadFile(const std::string& path) {
    Ref unit;
    int result = loadUnit(path, unit);
    if (result == LOADED) start(unit);
    return result;
}

int Interpreter::loadText(std::string_view text, const std::string& name) {
    Ref unit;
    int result = compileText(text, name, unit);
    if (result == LOADED) start(unit);
    return result;
}

// A script loaded over one that has not ended replaces it: the old scopes
// would otherwise resume when the new script returns.
void Interpreter::start(const Ref& unit) {
    delete m_env.current();
    m_env.setCurrent(nullptr);
    Ref& global = Env::global();
    global->assign(unit);
    global.value()->call(m_env, global.get());
}

Ref Interpreter::run(const Ref& argument) {
    if (!isRunning()) return makeEmpty();
    m_env.push(argument);
    m_env.drive();
    return m_env.pop();
}

Ref Interpreter::run(int argument) {
    return run(Ref(new variable::Variable::vInt(argument)));
}

Ref Interpreter::getGlobal(std::string_view name) {
    return Ref(Env::global().value()->member(name));
}

void Interpreter::setGlobal(std::string_view name, const Ref& value) {
    Env::global().value()->setMember(name, value);
}

void Interpreter::shutdown() {
    collectGarbage(FreeBlocks::KEEP);
}

} // namespace Kel
