// The icon's open and close animation, frame by frame, and its size checks.
#include "of/Icon.h"

#include "scratch_dir.h"

using Kura::Icon;

namespace {

// The updates after Open (or Close) until the state first differs from `from`.
int UpdatesUntilLeaving(Icon& icon, int from) {
    for (int n = 1; n <= 100; ++n) {
        icon.Update();
        if (icon.GetState() != from) return n;
    }
    return -1;
}

using IconTest = ScratchDirTest;

// A width w opens at the first update n with n * 30 > w: 90 wide at the fifth,
// 0 wide at the second; open is kept.
TEST_F(IconTest, OpensOnceItsCounterPassesItsWidth) {
    for (auto [width, updates] : {std::pair{90, 5}, {59, 3}, {0, 2}}) {
        Icon icon;
        icon.SetW(width);
        icon.Open();
        EXPECT_EQ(UpdatesUntilLeaving(icon, Icon::STATE_OPENING), updates) << width;
        EXPECT_EQ(icon.GetState(), Icon::STATE_OPEN);
        EXPECT_EQ(icon.GetCounter(), updates);
        icon.Update();
        EXPECT_EQ(icon.GetState(), Icon::STATE_OPEN);
    }
}

TEST_F(IconTest, CloseRunsThroughJustClosedToClosed) {
    Icon icon;
    icon.SetW(59);
    icon.Close();
    EXPECT_EQ(icon.GetCounter(), 0);
    EXPECT_EQ(UpdatesUntilLeaving(icon, Icon::STATE_CLOSING), 3);
    EXPECT_EQ(icon.GetState(), Icon::STATE_JUST_CLOSED);
    EXPECT_EQ(icon.GetCounter(), 2) << "the counter stops once closed";
    icon.Update();
    EXPECT_EQ(icon.GetState(), Icon::STATE_CLOSED);
    EXPECT_EQ(icon.GetCounter(), 0);
}

TEST_F(IconTest, NegativeSizesAreReportedAndKept) {
    Icon icon;
    icon.SetRect(1, 2, 3, 4);
    EXPECT_FALSE(std::filesystem::exists("log.txt"));
    icon.SetW(-1);
    icon.SetH(-2);
    EXPECT_EQ(icon.GetW(), -1);
    EXPECT_EQ(icon.GetH(), -2);
    const std::string log = ReadFile("log.txt");
    EXPECT_NE(log.find("File=src\\of\\Icon\nLine="), std::string::npos);
    EXPECT_NE(log.find("Func=Kura::Icon::SetW\nmes=w>=0\n"), std::string::npos);
    EXPECT_NE(log.find("Func=Kura::Icon::SetH\nmes=h>=0\n"), std::string::npos);
}

} // namespace
