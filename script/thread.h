// vThread: a script coroutine. It runs a script function in an environment of
// its own, made on the first resume; `yield` suspends it and calling it again
// resumes it. Threads run only inside the call that resumes them.
#pragma once

#include "value.h"

namespace Kel::variable::Variable {

class vThread final : public vBase {
public:
    vThread() = default;
    // Runs the function in `function`'s holder (counted); no environment yet.
    explicit vThread(Holder* function) : m_function(function) {}
    ~vThread() override;

    Holder* function() const { return m_function.get(); }
    // The thread's own environment, or none before the first resume.
    Env* environment() const { return m_env; }
    // Has a function and either a current scope, or (never started) code to run.
    bool isAlive();

    int typeCode() const override { return TYPE_THREAD; }
    vBase* clone() const override;
    void gcTrace(Holder* root, int& counter) override;
    void gcMarkChildren() override;
    vBase* substitute(const Ref& rhs) override;
    bool toBool() override { return isAlive(); }
    int32_t toInt() override { return m_function ? 1 : 0; }
    SharedString toString() override;
    int count() override { return m_function ? 1 : 0; }
    Holder* member(std::string_view name) override;
    void call(Env& env, Holder* self) override;
    Ref callSync(Env& env, const Ref& argument, Holder* self) override;

private:
    // What a resume in progress needs if the thread is dropped or restarted
    // under it: the environment is handed over instead of deleted.
    struct Resume {
        Env* env;
        bool orphaned;
    };

    // Pushes `argument` onto the thread's stack, drives it to its next yield
    // or its end, and answers the value it handed back.
    Ref resume(const Ref& argument);
    // Drops the environment so the next resume starts afresh.
    void discardEnvironment();

    Ref m_function;
    Env* m_env = nullptr;
    Resume* m_resume = nullptr; // set while the thread runs
};

} // namespace Kel::variable::Variable
