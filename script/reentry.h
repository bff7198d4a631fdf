// Bound on native re-entry: natives that run script code (foreach, new, eval,
// the file destructors) and thread resumes each put a C++ frame chain on the
// stack, so a script recursing through them is stopped with a diagnostic
// instead of overflowing the native stack.
#pragma once

namespace Kel {

// Deep enough for any script that nests callbacks and threads on purpose.
constexpr int MAX_NATIVE_NESTING = 200;

// Counts one level of native re-entry for as long as it lives; every native
// that runs script code takes one before it starts.
class ReentryGuard {
public:
    ReentryGuard();
    ~ReentryGuard() { --s_nesting; }
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;
    // False (and the diagnostic printed) when the bound is exceeded.
    bool allowed() const { return m_allowed; }

private:
    bool m_allowed;
    static inline int s_nesting = 0;
};

} // namespace Kel
