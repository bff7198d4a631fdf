// Environments for calls from native code into scripts (a comparator, a
// callback, a destructor). Each call runs in an environment of its own, so a
// call that yields or misbehaves cannot leave a half-run scope behind for the
// next one; but an environment that a call left idle is as good as a new one,
// and is kept for the next call with the room its stack grew to.
#pragma once

#include "env.h"

namespace Kel {

// An idle environment for as long as it lives: one a call left idle, or a
// new one.
class SpareEnv {
public:
    SpareEnv();
    // Keeps the environment for the next call when it is idle again; deletes
    // it otherwise, which deletes the scopes left and reports what was left
    // on the stack, as the end of a call's own environment does.
    ~SpareEnv();
    SpareEnv(const SpareEnv&) = delete;
    SpareEnv& operator=(const SpareEnv&) = delete;

    Env& operator*() const { return *m_env; }
    Env* operator->() const { return m_env; }

private:
    Env* m_env;
};

} // namespace Kel
