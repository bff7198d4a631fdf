// Console writers: narrow and wide text share standard output and keep their
// order, each call ending its line.
#include "util/Console.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(Console, NarrowAndWideLinesInterleaveInOrder) {
    testing::internal::CaptureStdout();
    std::printf("script ");
    Kura::PrintNarrow("\xE9\x81\xB8\xE6\x8A\x9E");
    Kura::PrintWide(L"はじめから-つづき");
    Kura::PrintNarrow("");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "script \xE9\x81\xB8\xE6\x8A\x9E\n"
              "\xE3\x81\xAF\xE3\x81\x98\xE3\x82\x81\xE3\x81\x8B\xE3\x82\x89-"
              "\xE3\x81\xA4\xE3\x81\xA5\xE3\x81\x8D\n\n");
}

} // namespace
