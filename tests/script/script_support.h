// Shared by the script suites: code blocks made exactly as written (past the
// optimising appender), function objects around them, a runner that drives one
// to its end, makers for the kinds of value, and a fixture that fails a test
// whose values leave holders or value slots behind in the pools.
#pragma once

#include "code_block.h"
#include "env.h"
#include "holder.h"
#include "instructions.h"
#include "natives.h"
#include "numbers.h"
#include "object.h"
#include "pointer.h"
#include "pool.h"
#include "scope.h"
#include "string_value.h"
#include "tuple.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace script_test {

using namespace Kel;
using namespace Kel::variable::Variable;

inline CodeBlock* makeBlock(std::initializer_list<OpCode*> ops) {
    CodeBlock* block = CodeBlock::create();
    for (OpCode* op : ops)
        block->appendRaw(op);
    return block;
}

// A function object running `ops`.
inline Ref makeFunction(std::initializer_list<OpCode*> ops) {
    Ref function = makeEmpty();
    CodeBlock* block = makeBlock(ops);
    static_cast<vObject*>(function.value())->shareCode(block);
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

inline Ref integer(int32_t value) {
    return Ref(new vInt(value));
}
inline Ref text(std::string_view value) {
    return Ref(new vString(SharedString(value)));
}
inline Ref pointerTo(const Ref& target) {
    return Ref(new vPointer(target.get()));
}

inline Ref tuple(TupleElements elements) {
    return Ref(new vRArray(std::move(elements)));
}

inline std::string str(const Ref& value) {
    return value.value()->toString().str();
}
inline int type(const Ref& value) {
    return value.value()->typeCode();
}

inline Ref member(const Ref& object, std::string_view name) {
    return Ref(object.value()->member(name));
}
// Counts holders and values in the pools around each test: whatever a test
// makes must be gone when its last reference is.
class ValueTest : public testing::Test {
protected:
    void SetUp() override {
        Env::global(); // made once for the process, not a leak of this test
        m_holders = pool::holders().inUse();
        m_objects = pool::forSize(sizeof(vObject))->inUse();
    }
    void TearDown() override {
        EXPECT_EQ(pool::holders().inUse(), m_holders) << "holders left behind";
        EXPECT_EQ(pool::forSize(sizeof(vObject))->inUse(), m_objects) << "objects left behind";
    }

private:
    size_t m_holders = 0;
    size_t m_objects = 0;
};

} // namespace script_test
