// Builders shared by the instruction, compiled-code, thread and collector
// suites: code blocks made exactly as written (past the optimising appender),
// function objects around them, and a runner that drives one to its end.
#pragma once

#include "code_block.h"
#include "env.h"
#include "instructions.h"
#include "numbers.h"
#include "object.h"
#include "scope.h"
#include "string_value.h"
#include "tuple.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace exec_test {

using namespace Kel;
using namespace Kel::variable::Variable;

inline CodeBlock* makeBlock(std::initializer_list<OpCode*> ops) {
    CodeBlock* block = CodeBlock::create();
    for (OpCode* op : ops)
        block->appendRaw(op);
    return block;
}

inline vObject* objectOf(const Ref& ref) {
    return static_cast<vObject*>(ref.value());
}

// A function object running `ops`.
inline Ref makeFunction(std::initializer_list<OpCode*> ops) {
    Ref function = makeEmpty();
    CodeBlock* block = makeBlock(ops);
    objectOf(function)->shareCode(block);
    block->release();
    return function;
}

// Enters `function` as the outermost scope of `env` with `argument` on the stack.
inline void start(Env& env, const Ref& function, const Ref& argument) {
    env.enter(new FunctionScope(function.value()->code(), function.get()));
    env.push(argument);
}

// Runs `function` in `env` to its end (or first yield) and pops its result.
inline Ref run(Env& env, const Ref& function, const Ref& argument = makeEmpty()) {
    start(env, function, argument);
    env.drive();
    return env.pop();
}

// Runs `ops` as a function in an environment of its own, which must end clean.
inline Ref run(std::initializer_list<OpCode*> ops) {
    Env env;
    Ref result = run(env, makeFunction(ops));
    EXPECT_EQ(env.stackSize(), 0u) << "values left on the stack";
    EXPECT_EQ(env.current(), nullptr) << "scopes left running";
    return result;
}

inline int32_t intOf(const Ref& ref) {
    return ref.value()->toInt();
}
inline std::string textOf(const Ref& ref) {
    return ref.value()->toString().str();
}
inline int typeOf(const Ref& ref) {
    return ref.value()->typeCode();
}

template <class Action> std::string captureStdout(Action&& action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

// Each test runs against a global object of its own, so that names other
// suites leave behind cannot stand in for a test's locals.
class FreshGlobal : public testing::Test {
protected:
    void SetUp() override {
        m_saved = Env::global();
        Env::global() = makeEmpty();
    }
    void TearDown() override { Env::global() = m_saved; }

private:
    Ref m_saved;
};

// Sets a global for the length of a test and removes it afterwards.
class ScopedGlobal {
public:
    ScopedGlobal(std::string name, const Ref& value) : m_name(std::move(name)) {
        Env::global().value()->setMember(m_name, value);
    }
    ~ScopedGlobal() { Env::global().value()->removeMember(m_name); }
    ScopedGlobal(const ScopedGlobal&) = delete;
    ScopedGlobal& operator=(const ScopedGlobal&) = delete;

private:
    std::string m_name;
};

} // namespace exec_test
