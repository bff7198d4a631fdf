// Environment: the value stack, the scope chain and the instruction budget.
// The run loop and the driver live in run_loop.cpp.
#include "env.h"

#include "printer.h"
#include "scope.h"

#include <string>

namespace Kel {
namespace {

Ref* g_global = nullptr;

} // namespace

Env::Env() = default;

Env::~Env() {
    delete m_current;
    m_current = nullptr;
    if (!m_stack.empty()) report(DIAG_STACK_REMAINED, std::to_string(m_stack.size()).c_str());
}

Ref& Env::global() {
    if (!g_global) g_global = new Ref(makeEmpty());
    return *g_global;
}

void Env::releaseGlobal() {
    delete g_global;
    g_global = nullptr;
}

Env* Env::clone() const {
    Env* copy = new Env;
    copy->m_stack = m_stack;
    copy->m_current = m_current ? m_current->clone() : nullptr;
    return copy;
}

Ref Env::popEmpty() {
    report(DIAG_POP_EMPTY);
    return makeEmpty();
}

Holder* Env::topEmpty() {
    report(DIAG_POP_EMPTY);
    m_stack.push_back(makeEmpty());
    return m_stack.back().get();
}

void Env::enter(Scope* scope) {
    scope->setOuter(m_current);
    m_current = scope;
}

bool Env::enterCall(Scope* scope) {
    if (m_current && m_current->depth() >= MAX_CALL_DEPTH) {
        delete scope;
        printMessage("runtime error : calls nested deeper than %d\n", MAX_CALL_DEPTH);
        return false;
    }
    enter(scope);
    return true;
}

void Env::setInstructionBudget(int64_t instructions) {
    s_budget = instructions < 0 ? 0 : instructions;
    s_budgetExhausted = false;
}

} // namespace Kel
