// Env: one running script thread -- the shared global object, the value stack
// and the chain of scopes being executed -- with the run loop and the driver
// that execute instructions in it.
#pragma once

#include "code_block.h"
#include "holder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Kel {

class CodeBlock;
class Scope;
struct CallArguments;
struct Step;

// Scopes a chain may hold when a call enters another. Every level keeps its
// scope, variables and stack entries (a few hundred bytes), so unbounded
// recursion would fill memory; this is deeper than scripts recurse on
// purpose, and the chain then stays within some tens of MiB.
constexpr int MAX_CALL_DEPTH = 100000;

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
    // empty object. Nearly every instruction pops, so the usual case is inline.
    Ref pop() {
        if (m_stack.empty()) return popEmpty();
        Ref value = std::move(m_stack.back());
        m_stack.pop_back();
        return value;
    }
    // The top in place; an empty stack reports and gets a fresh empty object.
    Holder* top() {
        if (m_stack.empty()) return topEmpty();
        return m_stack.back().get();
    }
    size_t stackSize() const { return m_stack.size(); }
    std::vector<Ref>& stack() { return m_stack; }

    // Makes `scope` current, linking the previous current scope as its outer.
    void enter(Scope* scope);
    // The same for the scope of a call, unless the chain is already
    // MAX_CALL_DEPTH deep: then the scope is deleted, the diagnostic printed,
    // and the answer is false; the caller gives an empty value instead.
    bool enterCall(Scope* scope);
    Scope* current() const { return m_current; }
    void setCurrent(Scope* scope) { m_current = scope; }

    // Runs the current scope and whatever becomes current after it, until
    // `until` is current or no scope is left: false when the script yielded
    // or the instruction budget ran out.
    bool run(Scope* until);
    // Runs until no scope is left or the script yields.
    void drive();
    // No scope left and nothing on the stack: as good as a new environment.
    bool idle() const { return !m_current && m_stack.empty(); }

    // Calls `callee`, in this idle environment, with `count` arguments: what
    // a native's call with a list of them runs, without the list. A script
    // function (or a method of one) whose first step binds exactly `count`
    // parameters takes the arguments straight into them (each a copy, unless
    // only `arguments` held it or the function only reads its parameters; the
    // handles are emptied), and runs to its end or its first stop; the answer
    // is what it leaves on the stack. False, with nothing done, when the
    // parameter step would not bind them in one go: another kind of callee,
    // an argument that is no number or text, the budget, the nesting limit.
    bool callWithArguments(Holder* callee, Ref* arguments, size_t count, Ref& answer);
    // A call of `callee` with its arguments on the stack, when the callee's
    // first statement returns one of them or a constant at once: the answer
    // replaces them, and no frame is made. False, with nothing done, otherwise.
    bool returnsAtOnce(Holder* callee);

    // A host bounds how many instructions may run from now on, so a runaway
    // script cannot hold it forever. Once the budget is spent every run stops
    // before its next instruction as if the script had yielded, until the host
    // sets a new budget. The budget is one for the process: threads, callbacks
    // and destructors run in other environments during the same host call and
    // must draw from it too. Scripts can neither see nor change it.
    static void setInstructionBudget(int64_t instructions);
    static void clearInstructionBudget() { setInstructionBudget(UNLIMITED_INSTRUCTIONS); }
    static bool budgetExhausted() { return s_budgetExhausted; }
    // Where the last run that spent the budget stopped: the instruction that
    // did not run.
    static SourcePlace budgetStopPlace() { return s_stopPlace; }
    static constexpr int64_t UNLIMITED_INSTRUCTIONS = INT64_MAX;

private:
    // Executes `block` from `pc` until an instruction hands control back:
    // false when the script yielded or the instruction budget ran out.
    // Inlined into run, so that going from block to block costs no call.
    [[gnu::always_inline]] inline bool runBlock(CodeBlock* block, int& pc);
    // Leaves the block whose end `pc` is: the scope's end step.
    bool endBlock(int& scopePc, int pc);
    // How a call step went: its instructions must run one by one, with
    // nothing changed that they would not change alike; the callee (or the
    // caller's caller) may be current now; or the call answered in the
    // caller's scope, which goes on at its pc.
    enum class DirectCall { DECLINED, ENTERED, ANSWERED };
    // The call `step` stands for, its arguments bound straight into the
    // callee's parameters, with `budget` left after the step's first
    // instruction (the budget is stored unless it declines).
    [[gnu::noinline]] DirectCall callDirectly(const Step& step, const CallArguments& call,
                                              int64_t budget, int& scopePc);
    Ref popEmpty();
    Holder* topEmpty();

    // Counted down once per instruction; unlimited is simply too large to
    // reach, so the loop needs no separate test for "no budget".
    static inline int64_t s_budget = UNLIMITED_INSTRUCTIONS;
    static inline bool s_budgetExhausted = false;
    static inline SourcePlace s_stopPlace;

    std::vector<Ref> m_stack;
    Scope* m_current = nullptr;
};

} // namespace Kel
