// Environment, run loop and driver. Each instruction dispatches itself, so the
// loop only counts the program counter and watches the status it gets back.
#include "env.h"

#include "code_block.h"
#include "opcode.h"
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

void Env::setInstructionBudget(int64_t instructions) {
    s_budget = instructions < 0 ? 0 : instructions;
    s_budgetExhausted = false;
}

bool Env::run(CodeBlock* block, int& pc) {
    OpCode* const* instructions = block->instructions();
    const int size = block->size();
    for (;;) {
        if (pc >= size) {
            m_current = m_current->onEnd(*this);
            return true;
        }
        if (--s_budget < 0) {
            // The pc stays on the instruction that did not run.
            s_budget = 0;
            s_budgetExhausted = true;
            s_stopPlace = block->placeAt(pc);
            return false;
        }
        int status = instructions[pc++]->execute(*this);
        if (status != STATUS_CONTINUE) return status != STATUS_YIELD;
    }
}

void Env::drive() {
    while (m_current && run(m_current->code(), m_current->pc())) {
    }
}

} // namespace Kel
