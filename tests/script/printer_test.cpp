// The diagnostic printer: silence of the disabled codes, and a bounded buffer
// that never cuts a character in half. The enabled codes' texts are checked
// where they are printed.
#include "printer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string captured(void (*emit)()) {
    testing::internal::CaptureStdout();
    emit();
    return testing::internal::GetCapturedStdout();
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
