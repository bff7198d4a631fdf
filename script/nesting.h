// Depth guard for operations that recurse through other values: merges into
// nested objects, and pointers and one-element tuples that stand for another
// value. Script data can form cycles (a pointer that reaches itself), so past
// a fixed depth such an operation gives up instead of exhausting the stack.
#pragma once

namespace Kel {

// Deep enough for any data a script builds on purpose, shallow enough that
// the native stack survives it: a level costs under 1 KiB even with
// sanitizers on, and twice this depth still ran on an 8 MiB stack.
constexpr int MAX_VALUE_NESTING = 4000;

class NestingGuard {
public:
    NestingGuard() : m_allowed(++s_depth <= MAX_VALUE_NESTING) {}
    ~NestingGuard() { --s_depth; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
    // False once the limit is passed: the operation must not go deeper.
    explicit operator bool() const { return m_allowed; }
    static int depth() { return s_depth; }

private:
    bool m_allowed;
    static inline int s_depth = 0;
};

} // namespace Kel
