// Numbers: conversions, `=` against `:=`, the left-operand rule of the
// two-operand operators, wrapping, division by zero and the smallest int,
// and hex values read as unsigned.
#include "value_support.h"

#include <cmath>
#include <limits>

namespace valuetest {
namespace {

using NumbersTest = ValueTest;

constexpr int32_t SMALLEST = std::numeric_limits<int32_t>::min();
constexpr int32_t LARGEST = std::numeric_limits<int32_t>::max();

int32_t asInt(const Ref& value) { return value.value()->toInt(); }

TEST_F(NumbersTest, IntConversions) {
    EXPECT_EQ(str(integer(0)), "0");
    EXPECT_EQ(str(integer(-42)), "-42");
    EXPECT_EQ(str(integer(1234567)), "1234567");
    EXPECT_EQ(str(integer(SMALLEST)), "-2147483648");
    EXPECT_EQ(str(integer(LARGEST)), "2147483647");
    EXPECT_FALSE(integer(0).value()->toBool());
    EXPECT_TRUE(integer(-1).value()->toBool());
    EXPECT_EQ(integer(-7).value()->toFloat(), -7.0);
    EXPECT_EQ(integer(9).value()->count(), 1);
    EXPECT_EQ(type(integer(1)), TYPE_INT);
}

TEST_F(NumbersTest, HexIsUnsigned) {
    Ref all = hex(0xFFFFFFFFu);
    EXPECT_EQ(str(all), "FFFFFFFF");
    EXPECT_EQ(str(hex(0xabcu)), "ABC");
    EXPECT_EQ(str(hex(0)), "0");
    EXPECT_TRUE(all.value()->greater(integer(1)));
    EXPECT_FALSE(integer(-1).value()->greater(integer(1)));
    EXPECT_EQ(str(integer(-1)), "-1");
    EXPECT_EQ(all.value()->toFloat(), 4294967295.0);
    EXPECT_EQ(asInt(all), -1); // the same bits
    EXPECT_EQ(str(binary(all, &vBase::shrAssign, integer(28))), "F");   // logical
    EXPECT_EQ(asInt(binary(integer(-16), &vBase::shrAssign, integer(2))), -4); // arithmetic
    EXPECT_EQ(str(binary(hex(0x80000000u), &vBase::divAssign, integer(2))), "40000000");
    EXPECT_EQ(str(binary(hex(7), &vBase::divAssign, integer(0))), "0");
    EXPECT_EQ(str(binary(hex(7), &vBase::modAssign, integer(0))), "0");
    EXPECT_TRUE(hex(0x80000000u).value()->equals(integer(SMALLEST)));
    EXPECT_EQ(type(binary(hex(1), &vBase::addAssign, text("2"))), TYPE_HEX);
}

TEST_F(NumbersTest, FloatConversions) {
    EXPECT_EQ(str(real(2.5)), "2.500000");
    EXPECT_EQ(str(real(-0.125)), "-0.125000");
    EXPECT_EQ(str(real(1e20)), "100000000000000000000.000000");
    EXPECT_EQ(asInt(real(-3.9)), -3);
    EXPECT_EQ(asInt(real(3.9)), 3);
    EXPECT_FALSE(real(0.0).value()->toBool());
    EXPECT_TRUE(real(0.1).value()->toBool());
    // No 32-bit result: saturate, and NaN gives 0 (a plain cast is undefined).
    EXPECT_EQ(asInt(real(1e12)), LARGEST);
    EXPECT_EQ(asInt(real(-1e12)), SMALLEST);
    EXPECT_EQ(asInt(real(std::nan(""))), 0);
    EXPECT_EQ(str(real(1e308)).size(), 316u); // 309 digits, point, six decimals
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

TEST_F(NumbersTest, LeftOperandDecidesTheType) {
    Ref sum = binary(integer(1), &vBase::addAssign, text("2"));
    EXPECT_EQ(type(sum), TYPE_INT);
    EXPECT_EQ(asInt(sum), 3);
    Ref mixed = binary(integer(1), &vBase::addAssign, real(2.9));
    EXPECT_EQ(type(mixed), TYPE_INT);
    EXPECT_EQ(asInt(mixed), 3);
    Ref fsum = binary(real(1.5), &vBase::addAssign, integer(2));
    EXPECT_EQ(type(fsum), TYPE_FLOAT);
    EXPECT_EQ(fsum.value()->toFloat(), 3.5);
    // The left operand itself is untouched.
    Ref left = integer(10);
    binary(left, &vBase::subAssign, integer(4));
    EXPECT_EQ(asInt(left), 10);
}

TEST_F(NumbersTest, IntDivisionAndRemainder) {
    EXPECT_EQ(asInt(binary(integer(7), &vBase::divAssign, integer(2))), 3);
    EXPECT_EQ(asInt(binary(integer(-7), &vBase::divAssign, integer(2))), -3);
    EXPECT_EQ(asInt(binary(integer(-7), &vBase::modAssign, integer(2))), -1);
    EXPECT_EQ(asInt(binary(integer(7), &vBase::modAssign, integer(-2))), 1);
    EXPECT_EQ(asInt(binary(integer(7), &vBase::divAssign, integer(0))), 0);
    EXPECT_EQ(asInt(binary(integer(7), &vBase::modAssign, integer(0))), 0);
    Ref zero = binary(real(7.0), &vBase::divAssign, real(0.0));
    EXPECT_EQ(zero.value()->toFloat(), 0.0);
    EXPECT_FALSE(std::signbit(zero.value()->toFloat()));
    EXPECT_EQ(binary(real(7.0), &vBase::divAssign, integer(2)).value()->toFloat(), 3.5);
    EXPECT_EQ(binary(real(7.0), &vBase::modAssign, integer(2)).value()->toFloat(), 7.0);
}

TEST_F(NumbersTest, SmallestIntAndWrapping) {
    EXPECT_EQ(asInt(binary(integer(SMALLEST), &vBase::divAssign, integer(-1))), SMALLEST);
    EXPECT_EQ(asInt(binary(integer(SMALLEST), &vBase::modAssign, integer(-1))), 0);
    EXPECT_EQ(asInt(binary(integer(LARGEST), &vBase::addAssign, integer(1))), SMALLEST);
    EXPECT_EQ(asInt(binary(integer(SMALLEST), &vBase::subAssign, integer(1))), LARGEST);
    EXPECT_EQ(asInt(binary(integer(65536), &vBase::mulAssign, integer(65536))), 0);
    EXPECT_EQ(asInt(binary(integer(-3), &vBase::mulAssign, integer(LARGEST))), -2147483645);
    EXPECT_EQ(asInt(negated(integer(SMALLEST))), SMALLEST);
    EXPECT_EQ(asInt(negated(integer(5))), -5);
    EXPECT_EQ(asInt(binary(integer(1), &vBase::shlAssign, integer(31))), SMALLEST);
    EXPECT_EQ(asInt(binary(integer(1), &vBase::shlAssign, integer(33))), 2); // count AND 31
    EXPECT_EQ(asInt(binary(integer(-1), &vBase::shrAssign, integer(-1))), -1);
}

TEST_F(NumbersTest, BitwiseAndComplement) {
    EXPECT_EQ(asInt(binary(integer(12), &vBase::andAssign, integer(10))), 8);
    EXPECT_EQ(asInt(binary(integer(12), &vBase::orAssign, integer(10))), 14);
    EXPECT_EQ(asInt(binary(integer(12), &vBase::xorAssign, integer(10))), 6);
    Ref c = Ref::adopt(integer(0)->cloneHolder());
    c.value()->complement();
    EXPECT_EQ(asInt(c), -1);
    Ref f = real(1.5);
    f.value()->complement();
    f.value()->andAssign(integer(0));
    EXPECT_EQ(f.value()->toFloat(), 1.5); // floats have no bitwise operators
}

TEST_F(NumbersTest, Comparisons) {
    EXPECT_TRUE(integer(3).value()->equals(text("3")));
    EXPECT_TRUE(integer(-2).value()->less(integer(1)));
    EXPECT_TRUE(integer(2).value()->lessEqual(real(2.9))); // converted to int 2
    EXPECT_FALSE(integer(2).value()->notEquals(integer(2)));
    Ref nan = real(std::nan(""));
    for (auto compare : {&vBase::equals, &vBase::less, &vBase::lessEqual, &vBase::greater,
                         &vBase::greaterEqual}) {
        EXPECT_FALSE((nan.value()->*compare)(real(1.0)));
        EXPECT_FALSE((real(1.0).value()->*compare)(nan));
    }
    EXPECT_TRUE(nan.value()->notEquals(nan));
    EXPECT_TRUE(real(1.5).value()->greater(integer(1)));
    // The nothing value is neither equal nor unequal to anything.
    EXPECT_FALSE(nil().value()->equals(nil()));
    EXPECT_FALSE(nil().value()->notEquals(nil()));
}

} // namespace
} // namespace valuetest
