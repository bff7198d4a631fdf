// Numbers: conversions, `=` against `:=`, wrapping at the edges of 32 bits,
// saturation of floats, NaN, and hex values read as unsigned. The everyday
// operator results are checked by the Kel scripts under values/.
#include "value_support.h"

#include <cmath>
#include <limits>

namespace valuetest {
namespace {

using NumbersTest = ValueTest;

constexpr int32_t SMALLEST = std::numeric_limits<int32_t>::min();
constexpr int32_t LARGEST = std::numeric_limits<int32_t>::max();

int32_t asInt(const Ref& value) {
    return value.value()->toInt();
}

TEST_F(NumbersTest, TextsAndConversions) {
    EXPECT_EQ(str(integer(SMALLEST)), "-2147483648");
    EXPECT_EQ(str(integer(LARGEST)), "2147483647");
    EXPECT_FALSE(integer(0).value()->toBool());
    EXPECT_TRUE(integer(-1).value()->toBool());
    EXPECT_EQ(integer(9).value()->count(), 1);
    EXPECT_EQ(str(hex(0xabcu)), "ABC");
    EXPECT_EQ(str(hex(0)), "0");
    EXPECT_EQ(str(real(-0.125)), "-0.125000");
    EXPECT_EQ(str(real(1e20)), "100000000000000000000.000000");
    EXPECT_EQ(str(real(1e308)).size(), 316u); // 309 digits, point, six decimals
    EXPECT_FALSE(real(0.0).value()->toBool());
    EXPECT_TRUE(real(0.1).value()->toBool());
    // No 32-bit result: saturate, and NaN gives 0 (a plain cast is undefined).
    EXPECT_EQ(asInt(real(1e12)), LARGEST);
    EXPECT_EQ(asInt(real(-1e12)), SMALLEST);
    EXPECT_EQ(asInt(real(std::nan(""))), 0);
}

// Each row: left operand, operator, right operand, and the result as text.
TEST_F(NumbersTest, OperatorsAtTheEdges) {
    struct Row {
        Ref left;
        void (vBase::*operation)(const Ref&);
        Ref right;
        const char* result;
    };
    const Row rows[] = {
        {hex(0x80000000u), &vBase::divAssign, integer(2), "40000000"},
        {hex(7), &vBase::divAssign, integer(0), "0"},
        {hex(7), &vBase::modAssign, integer(0), "0"},
        {integer(SMALLEST), &vBase::subAssign, integer(1), "2147483647"},
        {integer(65536), &vBase::mulAssign, integer(65536), "0"},
        {integer(-3), &vBase::mulAssign, integer(LARGEST), "-2147483645"},
        {integer(1), &vBase::shlAssign, integer(31), "-2147483648"},
        {integer(-1), &vBase::shrAssign, integer(-1), "-1"},
        {integer(7), &vBase::modAssign, integer(-2), "1"},
        {real(7.0), &vBase::divAssign, integer(2), "3.500000"},
        // Floats have no bitwise operators.
        {real(1.5), &vBase::andAssign, integer(0), "1.500000"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(str(binary(row.left, row.operation, row.right)), row.result)
            << str(row.left) << " " << str(row.right);
    EXPECT_EQ(asInt(negated(integer(SMALLEST))), SMALLEST);
    // The left operand itself is untouched.
    Ref left = integer(10);
    binary(left, &vBase::subAssign, integer(4));
    EXPECT_EQ(asInt(left), 10);
}

TEST_F(NumbersTest, HexComparesUnsigned) {
    Ref all = hex(0xFFFFFFFFu);
    EXPECT_TRUE(all.value()->greater(integer(1)));
    EXPECT_FALSE(integer(-1).value()->greater(integer(1)));
    EXPECT_EQ(asInt(all), -1); // the same bits
    EXPECT_TRUE(hex(0x80000000u).value()->equals(integer(SMALLEST)));
}

TEST_F(NumbersTest, SubstituteConvertsButAssignReplaces) {
    Ref variable = makeEmpty();
    variable->substitute(integer(5));
    EXPECT_EQ(type(variable), TYPE_INT);
    variable->substitute(text("12"));
    EXPECT_EQ(type(variable), TYPE_INT);
    EXPECT_EQ(asInt(variable), 12);
    variable->assign(text("12"));
    EXPECT_EQ(type(variable), TYPE_STRING);
    EXPECT_EQ(str(variable), "12");

    Ref h = hex(0);
    h->substitute(integer(-1));
    EXPECT_EQ(type(h), TYPE_HEX);
    EXPECT_EQ(str(h), "FFFFFFFF");
    Ref f = real(0);
    f->substitute(text(" 2.5e1xyz"));
    EXPECT_EQ(type(f), TYPE_FLOAT);
    EXPECT_EQ(f.value()->toFloat(), 25.0);
    f->assign(integer(3));
    EXPECT_EQ(type(f), TYPE_INT);
}

TEST_F(NumbersTest, NanIsUnorderedAndUnequal) {
    Ref nan = real(std::nan(""));
    for (auto compare :
         {&vBase::equals, &vBase::less, &vBase::lessEqual, &vBase::greater, &vBase::greaterEqual}) {
        EXPECT_FALSE((nan.value()->*compare)(real(1.0)));
        EXPECT_FALSE((real(1.0).value()->*compare)(nan));
    }
    EXPECT_TRUE(nan.value()->notEquals(nan));
    EXPECT_TRUE(integer(2).value()->lessEqual(real(2.9))); // converted to int 2
}

} // namespace
} // namespace valuetest
