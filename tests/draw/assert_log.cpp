// Reads back the part of "log.txt" that a call appended.
#include "assert_log.h"

#include "util/AssertReport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace kura_test {

namespace {

std::string logText() {
    std::ifstream in(Kura::LOG_FILE_NAME, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

} // namespace

std::string reportsDuring(const std::function<void()>& body) {
    const size_t before = logText().size();
    body();
    const std::string after = logText();
    return after.size() > before ? after.substr(before) : std::string();
}

std::string stdoutDuring(const std::function<void()>& body) {
    testing::internal::CaptureStdout();
    body();
    return testing::internal::GetCapturedStdout();
}

} // namespace kura_test
