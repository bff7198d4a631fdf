// Grid index arithmetic with its zero-width check.
#include "util/Calc.h"

#include "scratch_dir.h"

#include <filesystem>

namespace {

using Calc = ScratchDirTest;

TEST_F(Calc, RowMajorIndex) {
    EXPECT_EQ(Kura::Calc::Get1dIndexFrom2dIndex(1, 2, 3), 5u);
    EXPECT_EQ(Kura::Calc::Get1dIndexFrom2dIndex(0, 0, 1), 0u);
    EXPECT_EQ(Kura::Calc::Get1dIndexFrom2dIndex(4, 0, 6), 24u);
    EXPECT_FALSE(std::filesystem::exists("log.txt"));
}

TEST_F(Calc, ZeroColumnsIsReportedAndStillComputed) {
    EXPECT_EQ(Kura::Calc::Get1dIndexFrom2dIndex(3, 2, 0), 2u);
    std::string log = ReadFile("log.txt");
    EXPECT_EQ(log.rfind("File=src\\Util\\Calc\nLine=", 0), 0u) << log;
    EXPECT_NE(log.find("\nFunc=Kura::Calc::Get1dIndexFrom2dIndex\nmes=colSize\n"),
              std::string::npos);
}

} // namespace
