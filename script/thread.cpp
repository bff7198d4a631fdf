// Script threads: start, resume, yield hand-back and the reading of a
// suspended thread's variables. A thread's environment is driven only from
// inside its resume, so a thread that is running cannot be resumed again, and
// one dropped or restarted while it runs gives its environment to the resume
// in progress, which deletes it when the run returns.
#include "thread.h"

#include "code_block.h"
#include "env.h"
#include "instructions.h"
#include "reentry.h"

namespace Kel::variable::Variable {

vThread::~vThread() {
    discardEnvironment();
}

void vThread::discardEnvironment() {
    if (m_resume) {
        m_resume->orphaned = true;
        m_resume = nullptr;
    } else {
        delete m_env;
    }
    m_env = nullptr;
}

bool vThread::isAlive() {
    if (!m_function) return false;
    if (m_env) return m_env->current() != nullptr;
    return m_function.value()->code() != nullptr;
}

vBase* vThread::clone() const {
    auto* copy = new vThread(m_function.get());
    if (m_env) copy->m_env = m_env->clone();
    return copy;
}

void vThread::gcTrace(Holder* root, int& counter) {
    if (m_function) m_function->gcTrace(root, counter);
}

void vThread::gcMarkChildren() {
    if (m_function) m_function->gcMark();
}

// The value becomes the thread's function, and the thread starts afresh.
vBase* vThread::substitute(const Ref& rhs) {
    m_function = rhs;
    discardEnvironment();
    return this;
}

SharedString vThread::toString() {
    return SharedString("[Thread]");
}

// Looks the name up as a variable read inside the thread would.
Holder* vThread::member(std::string_view name) {
    return m_env ? resolveVariable(*m_env, name) : nullptr;
}

Ref vThread::resume(const Ref& argument) {
    // Each resume drives the thread inside this C++ call, so threads resuming
    // threads nest native frames like callbacks do.
    ReentryGuard guard;
    if (!guard.allowed()) return Ref(new vBase);
    if (!m_env) {
        m_env = new Env;
        // Enters the function's scope as a call would, without running it.
        m_function.value()->call(*m_env, m_function.get());
    }
    Env* env = m_env;
    Resume frame{env, false};
    m_resume = &frame;
    env->push(argument);
    env->drive();
    Ref result = env->pop();
    if (frame.orphaned) {
        // `this` may be gone; only the frame is still ours.
        delete env;
        return result;
    }
    m_resume = nullptr;
    return result;
}

// A thread that cannot be resumed makes a new thread of the argument, the way
// `thread(f)` starts one; a thread already running gives nothing back.
void vThread::call(Env& env, Holder*) {
    Ref argument = env.pop();
    if (m_resume) {
        env.push(Ref(new vBase));
        return;
    }
    if (!isAlive()) {
        env.push(Ref(new vThread(argument.get())));
        return;
    }
    env.push(resume(argument));
}

Ref vThread::callSync(Env&, const Ref& argument, Holder*) {
    if (m_resume || !isAlive()) return Ref(new vBase);
    return resume(argument);
}

} // namespace Kel::variable::Variable
