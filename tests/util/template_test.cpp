// The shared templates: wrapping enum steps, the null check, and the array's
// checked indexing (writes inside land, writes outside land nowhere in it) with
// the reports each failure writes.
#include "util/_Template.h"

#include "scratch_dir.h"

#include <filesystem>

namespace {

using Templates = ScratchDirTest;

enum class Season { Spring, Summer, Autumn, Winter, Count };

struct Slot {
    int value = 7;
};

} // namespace

template <> struct Kura::ArrayElementName<Slot> {
    static std::string Get() { return "struct Slot"; }
};

namespace {

TEST_F(Templates, LoopsWalkTheRangeAndWrapAround) {
    // value, start, sentry, next, previous
    const int rows[][5] = {{0, 0, 5, 1, 4}, {3, 0, 5, 4, 2},  {4, 0, 5, 0, 3},
                           {9, 0, 5, 0, 8}, {-1, 0, 5, 0, 4}, {2, 2, 4, 3, 3}};
    for (const auto& row : rows) {
        EXPECT_EQ(Kura::EnumPlusplusLoop(row[0], row[1], row[2]), row[3]) << row[0];
        EXPECT_EQ(Kura::EnumMinusminusLoop(row[0], row[1], row[2]), row[4]) << row[0];
    }
    EXPECT_EQ(Kura::EnumPlusplusLoop(Season::Winter, Season::Spring, Season::Count),
              Season::Spring);
    EXPECT_EQ(Kura::EnumMinusminusLoop(Season::Spring, Season::Spring, Season::Count),
              Season::Winter);
    EXPECT_FALSE(std::filesystem::exists("log.txt"));
}

TEST_F(Templates, EmptyRangeIsReportedByBothLoops) {
    EXPECT_EQ(Kura::EnumPlusplusLoop(0, 0, 0), 0);
    EXPECT_EQ(Kura::EnumMinusminusLoop(0, 3, 3), 2);
    EXPECT_EQ(ReadFile("log.txt"), "File=src\\Util/_Template\nLine=323\nFunc=EnumPlusplusLoop\n"
                                   "mes=sentryEnum>startEnum\n"
                                   "File=src\\Util/_Template\nLine=338\n"
                                   "Func=EnumMinusminusLoop\nmes=sentryEnum>startEnum\n");
}

TEST_F(Templates, NullReferenceIsReportedAndRefused) {
    int value = 0;
    EXPECT_TRUE(Kura::IsEnableReference(&value));
    EXPECT_FALSE(std::filesystem::exists("log.txt"));
    EXPECT_FALSE(Kura::IsEnableReference<int>(nullptr));
    EXPECT_EQ(ReadFile("log.txt"), "File=src\\Util/_Template\nLine=270\nFunc=IsEnableReference\n"
                                   "mes=&refValue!=NULL\n");
}

TEST_F(Templates, BadIndexIsReportedAndNeverLeavesTheArray) {
    Kura::Array<Slot> slots(2);
    ASSERT_EQ(slots.GetSize(), 2);
    slots[-1].value = 1;
    slots[2].value = 2;
    slots[1000000].value = 3;
    EXPECT_EQ(slots[0].value, 7);
    EXPECT_EQ(slots[1].value, 7);
    slots[1].value = 42;
    EXPECT_EQ(static_cast<const Kura::Array<Slot>&>(slots)[1].value, 42);
    std::string log = ReadFile("log.txt");
    std::string report =
        "Func=Kura::Array<struct Slot>::operator []\nmes=index>=0 && index<m_Size\n";
    size_t first = log.find(report);
    ASSERT_NE(first, std::string::npos) << log;
    size_t second = log.find(report, first + 1);
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(log.find(report, second + 1), std::string::npos);
    EXPECT_EQ(log.rfind("File=src\\Util/_Template\nLine=", 0), 0u);
}

TEST_F(Templates, NegativeSizeIsReportedAndGivesAnEmptyArray) {
    Kura::Array<int> numbers(-4);
    EXPECT_EQ(numbers.GetSize(), 0);
    EXPECT_NE(ReadFile("log.txt").find("Func=Kura::Array<int>::Array\n"
                                       "mes=!\"invalid Array construction!\"\n"),
              std::string::npos);
    numbers[0] = 5;
    EXPECT_NE(ReadFile("log.txt").find("Func=Kura::Array<int>::operator []\n"), std::string::npos);
}

} // namespace
