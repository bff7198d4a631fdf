// Env: one running script thread -- the shared global object, the value stack
// and the chain of scopes being executed -- with the run loop and the driver
// that execute instructions in it.
#pragma once

#include "holder.h"

#include <cstddef>
#include <vector>

namespace Kel {

class CodeBlock;
class Scope;

class Env {
public:
    Env();
    // Deletes the scope chain, then warns when values are left on the stack.
    ~Env();
    Env(const Env&) = delete;
    Env& operator=(const Env&) = delete;

    // The one global object of the process, made on first use. It lives until
    // releaseGlobal() at shutdown.
    static Ref& global();
    static void releaseGlobal();

    // A new environment with the same global object, a copy of the stack
    // (sharing its holders) and a clone of the scope chain.
    Env* clone() const;

    void push(const Ref& value) { m_stack.push_back(value); }
    void push(Ref&& value) { m_stack.push_back(std::move(value)); }
    void push(Holder* holder) { m_stack.emplace_back(holder); }
    // Removes and returns the top; an empty stack reports and gives a fresh
    // empty object.
    Ref pop();
    // The top in place; an empty stack reports and gets a fresh empty object.
    Holder* top();
    size_t stackSize() const { return m_stack.size(); }
    std::vector<Ref>& stack() { return m_stack; }

    // Makes `scope` current, linking the previous current scope as its outer.
    void enter(Scope* scope);
    Scope* current() const { return m_current; }
    void setCurrent(Scope* scope) { m_current = scope; }

    // Executes `block` from `pc` until an instruction hands control back:
    // false only when the script yielded.
    bool run(CodeBlock* block, int& pc);
    // Runs until no scope is left or the script yields.
    void drive();

private:
    std::vector<Ref> m_stack;
    Scope* m_current = nullptr;
};

} // namespace Kel
