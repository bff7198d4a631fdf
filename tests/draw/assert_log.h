// Test support: what the engine's failed checks appended to "log.txt" during a call.
#pragma once

#include <functional>
#include <string>

namespace kura_test {

// Runs body and returns the report text it appended to the log.
std::string reportsDuring(const std::function<void()>& body);

// Runs body and returns what it printed on standard output (the runtime log).
std::string stdoutDuring(const std::function<void()>& body);

} // namespace kura_test
