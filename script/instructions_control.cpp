// Instructions that move control: calls and instance creation, the scope
// transfers (return, break, continue, goto, yield), blocks and loops, and the
// jumps, which change only the current scope's pc.
#include "instructions.h"

#include "code_block.h"
#include "code_writer.h"
#include "env.h"
#include "scope.h"
#include "value.h"

#include <cstdint>

namespace Kel {

using namespace variable::Variable;

namespace {

// The callee is taken from under the argument, which stays on the stack for
// the callee as it would be pushed back there.
Ref takeCallee(Env& env) {
    std::vector<Ref>& stack = env.stack();
    if (stack.size() < 2) {
        // Popping reports each missing value and stands in a fresh one.
        Ref argument = env.pop();
        Ref callee = env.pop();
        env.push(std::move(argument));
        return callee;
    }
    Ref callee = std::move(stack[stack.size() - 2]);
    stack[stack.size() - 2] = std::move(stack.back());
    stack.pop_back();
    return callee;
}

} // namespace

// A call in tail position (followed by RETURN, or last in its block) leaves
// the caller's scope before the callee enters, so tail recursion runs in
// constant scope depth. A constructor is never left early: its end-of-code
// step would put the instance where the call's argument lies, and the
// constructor must still evaluate to its instance.
void makeCall(Env& env, int nextKind) {
    Ref callee = takeCallee(env);
    vBase* function = callee.value();
    // A method's object must outlive the scopes this call may leave.
    Ref bound;
    int type = function->typeCode();
    if (type == TYPE_METHOD || type == TYPE_CMETHOD) bound = Ref(function->elementAt(1));

    Scope* scope = env.current();
    if (nextKind == KIND_RETURN)
        env.setCurrent(scope->onReturn());
    else if (nextKind == KIND_END_OF_BLOCK && scope->kind() != SCOPE_CONSTRUCTOR)
        env.setCurrent(scope->onEnd(env));

    if (!env.returnsAtOnce(callee.get())) function->call(env, callee.get());
}

int CALL::execute(Env& env) {
    Scope* scope = env.current();
    makeCall(env, scope->code()->kindAt(scope->pc()));
    return STATUS_CALL;
}

int INSTANCE::execute(Env& env) {
    Ref cls = env.pop();
    cls.value()->instantiate(env, cls.get());
    return STATUS_CALL;
}

int RETURN::execute(Env& env) {
    env.setCurrent(env.current()->onReturn());
    return STATUS_RETURN;
}

int BREAK::execute(Env& env) {
    env.setCurrent(env.current()->onBreak());
    return STATUS_BREAK;
}

int CONTINUE::execute(Env& env) {
    env.setCurrent(env.current()->onContinue());
    return STATUS_CONTINUE_LOOP;
}

int YIELD::execute(Env&) {
    return STATUS_YIELD;
}

// A label found in no enclosing block of this function changes nothing.
int GOTO::execute(Env& env) {
    if (Scope* found = env.current()->findLabel(m_name)) env.setCurrent(found);
    return STATUS_GOTO;
}

SCOPE::~SCOPE() {
    m_block->release();
}

OpCode* SCOPE::clone() const {
    m_block->addRef();
    return new SCOPE(m_block);
}

int SCOPE::execute(Env& env) {
    env.enter(new AnonymousScope(m_block));
    return STATUS_BLOCK;
}

void SCOPE::serialize(ByteWriter& out) const {
    out.byte(CODE);
    writeBlock(*m_block, out);
}

LOOP::~LOOP() {
    m_block->release();
}

OpCode* LOOP::clone() const {
    m_block->addRef();
    return new LOOP(m_restart, m_block);
}

// A negative restart index (only a damaged compiled file has one) would send
// continue outside the block; it ends the loop instead.
int LOOP::execute(Env& env) {
    env.enter(new LoopScope(m_block, m_restart >= 0 ? m_restart : INT32_MAX));
    return STATUS_LOOP;
}

void LOOP::serialize(ByteWriter& out) const {
    out.byte(CODE);
    out.i32(m_restart);
    writeBlock(*m_block, out);
}

namespace {

// A target past the end of the block ends it at the run loop's next step. A
// negative one (only a damaged compiled file has it) ends the block too, so
// pc never indexes outside the block.
void jumpTo(Env& env, int64_t target) {
    bool inside = target >= 0 && target <= INT32_MAX;
    env.current()->pc() = inside ? static_cast<int>(target) : INT32_MAX;
}

void jumpBy(Env& env, int32_t offset) {
    jumpTo(env, int64_t{env.current()->pc()} + offset);
}

} // namespace

int JMP::execute(Env& env) {
    jumpTo(env, m_target);
    return STATUS_CONTINUE;
}

int JT::execute(Env& env) {
    if (env.pop().value()->toBool()) jumpTo(env, m_target);
    return STATUS_CONTINUE;
}

int JF::execute(Env& env) {
    if (!env.pop().value()->toBool()) jumpTo(env, m_target);
    return STATUS_CONTINUE;
}

int JR::execute(Env& env) {
    jumpBy(env, m_target);
    return STATUS_CONTINUE;
}

int JRT::execute(Env& env) {
    if (env.pop().value()->toBool()) jumpBy(env, m_target);
    return STATUS_CONTINUE;
}

int JRF::execute(Env& env) {
    if (!env.pop().value()->toBool()) jumpBy(env, m_target);
    return STATUS_CONTINUE;
}

} // namespace Kel
