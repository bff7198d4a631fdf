// The diagnostic printer: exact texts of the enabled codes, silence of the
// others, and a bounded buffer that never cuts a character in half.
#include "printer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string captured(void (*emit)()) {
    testing::internal::CaptureStdout();
    emit();
    return testing::internal::GetCapturedStdout();
}

TEST(Printer, EnabledCodesPrintTheirTextAndALineBreak) {
    EXPECT_EQ(captured([] { Kel::report(Kel::DIAG_POP_EMPTY); }),
              "runtime error : pop empty stack\n\n");
    EXPECT_EQ(captured([] { Kel::report(Kel::DIAG_STACK_REMAINED, "3"); }),
              "runtime warning : 3 stack remained when deleting env\n\n");
}

TEST(Printer, DisabledCodesPrintNothing) {
    EXPECT_EQ(captured([] { Kel::report(Kel::DIAG_UNDECLARED, "x"); }), "");
    EXPECT_EQ(captured([] { Kel::report(Kel::DIAG_REDECLARED, "x"); }), "");
    EXPECT_EQ(captured([] { Kel::report(42, "x"); }), "");
}

TEST(Printer, LongMessageIsCutOnACharacterBoundary) {
    std::string out = captured([] {
        std::string text;
        for (int i = 0; i < 200; ++i)
            text += "\xE3\x81\x82"; // あ, three bytes
        Kel::printMessage("%s", text.c_str());
    });
    ASSERT_FALSE(out.empty());
    ASSERT_EQ(out.back(), '\n');
    std::string body = out.substr(0, out.size() - 1);
    EXPECT_LT(body.size(), static_cast<size_t>(Kel::PRINTER_BUFFER_SIZE));
    EXPECT_EQ(body.size() % 3, 0u);
}

} // namespace
