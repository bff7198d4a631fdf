// The failed-check report: its exact text in "log.txt", appending across reports,
// the empty report for missing parts, the check macro and the console form.
#include "util/AssertReport.h"

#include "scratch_dir.h"

#include <filesystem>

namespace {

using AssertReport = ScratchDirTest;

int g_HookCalls = 0;
void CountHook(const std::wstring&) {
    ++g_HookCalls;
}

TEST_F(AssertReport, WritesItsLinesAppendedInOrderAfterEarlierText) {
    EXPECT_FALSE(std::filesystem::exists("log.txt"));
    Kura::WriteLog(std::string("earlier run\n"));
    Kura::ReportAssertion(false, "src\\of\\TextureManager", 87, "Kura::TextureManager::LoadTexture",
                          L"0");
    Kura::ReportAssertion(false, "b", -2, "g", L"");
    // Japanese text reaches the log as UTF-8.
    Kura::ReportAssertion(false, "w", 3, "h", L"名前");
    Kura::WriteLog(std::wstring(L"と\n"));
    EXPECT_EQ(ReadFile("log.txt"), "earlier run\n"
                                   "File=src\\of\\TextureManager\nLine=87\n"
                                   "Func=Kura::TextureManager::LoadTexture\nmes=0\n"
                                   "File=b\nLine=-2\nFunc=g\n"
                                   "File=w\nLine=3\nFunc=h\nmes=\u540d\u524d\n\u3068\n");
}

TEST_F(AssertReport, MissingPartGivesAnEmptyReportButStillCallsTheHook) {
    g_HookCalls = 0;
    Kura::DebugBreakHook previous = Kura::SetDebugBreakHook(CountHook);
    Kura::ReportAssertion(false, nullptr, 1, "f", L"x");
    Kura::ReportAssertion(false, "a", 1, nullptr, L"x");
    Kura::ReportAssertion(false, "a", 1, "f", nullptr);
    Kura::SetDebugBreakHook(previous);
    EXPECT_EQ(ReadFile("log.txt"), "");
    EXPECT_EQ(g_HookCalls, 3);
}

TEST_F(AssertReport, UnopenableLogLosesTheReportQuietly) {
    std::filesystem::create_directory("log.txt");
    Kura::ReportAssertion(false, "a", 1, "f", L"x");
    EXPECT_TRUE(std::filesystem::is_directory("log.txt"));
}

TEST_F(AssertReport, CheckMacroReportsOnlyFailuresWithItsLiterals) {
    int calls = 0;
    auto condition = [&calls](bool value) {
        ++calls;
        return value;
    };
    EXPECT_TRUE(KURA_CHECK(condition(true), "ok", "src\\of\\A", "Kura::A::B", 5));
    EXPECT_FALSE(std::filesystem::exists("log.txt"));
    EXPECT_FALSE(KURA_CHECK(condition(false), "index>=0 && index<m_Size", "src\\Util/_Template",
                            "Kura::A::B", 7));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(ReadFile("log.txt"), "File=src\\Util/_Template\nLine=7\nFunc=Kura::A::B\n"
                                   "mes=index>=0 && index<m_Size\n");
}

TEST_F(AssertReport, ConsoleReportGoesToStandardOutputNotTheLog) {
    testing::internal::CaptureStdout();
    Kura::ReportAssertion(true, "a", 9, "f", L"表示");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "File=a\nLine=9\nFunc=f\nmes=\u8868\u793a\n\n");
    EXPECT_FALSE(std::filesystem::exists("log.txt"));
}

} // namespace
