// Strings: text to number, the text arithmetic (append, cut, repeat, head,
// tail, reverse), byte ordering on signed bytes, sharing of buffers.
#include "value_support.h"

namespace valuetest {
namespace {

using StringTest = ValueTest;

TEST_F(StringTest, TextToInt) {
    EXPECT_EQ(text(" -42abc").value()->toInt(), -42);
    EXPECT_EQ(text("\t\t17").value()->toInt(), 17);
    EXPECT_EQ(text("+5").value()->toInt(), 0);
    EXPECT_EQ(text("abc").value()->toInt(), 0);
    EXPECT_EQ(text("").value()->toInt(), 0);
    EXPECT_EQ(text("-").value()->toInt(), 0);
    EXPECT_EQ(text("\n5").value()->toInt(), 0); // only spaces and tabs are skipped
    EXPECT_EQ(text("4294967297").value()->toInt(), 1); // wraps
    EXPECT_EQ(text("-2147483648").value()->toInt(), std::numeric_limits<int32_t>::min());
}

TEST_F(StringTest, TextToFloat) {
    EXPECT_EQ(text("  -1.5e2x").value()->toFloat(), -150.0);
    EXPECT_EQ(text("+.5").value()->toFloat(), 0.5);
    EXPECT_EQ(text("x1").value()->toFloat(), 0.0);
    EXPECT_EQ(text("").value()->toFloat(), 0.0);
}

TEST_F(StringTest, Conversions) {
    EXPECT_FALSE(text("").value()->toBool());
    EXPECT_TRUE(text("0").value()->toBool());
    EXPECT_EQ(text("abc").value()->count(), 1);
    Ref s = text("shared");
    SharedString out = s.value()->toString();
    EXPECT_EQ(out.shareCount(), 2u); // the buffer, not a copy
}

TEST_F(StringTest, Arithmetic) {
    EXPECT_EQ(str(binary(text("1"), &vBase::addAssign, integer(2))), "12");
    EXPECT_EQ(str(binary(text("x"), &vBase::addAssign, real(0.5))), "x0.500000");
    EXPECT_EQ(str(binary(text("ab"), &vBase::mulAssign, integer(3))), "ababab");
    EXPECT_EQ(str(binary(text("abc"), &vBase::mulAssign, integer(0))), "abc");
    EXPECT_EQ(str(binary(text("abc"), &vBase::mulAssign, integer(1))), "abc");
    EXPECT_EQ(str(binary(text("abc"), &vBase::mulAssign, integer(-2))), "abc");
    EXPECT_EQ(str(binary(text("abcdef"), &vBase::subAssign, integer(2))), "abcd");
    EXPECT_EQ(str(binary(text("abcdef"), &vBase::subAssign, integer(6))), "");
    EXPECT_EQ(str(binary(text("abcdef"), &vBase::subAssign, integer(99))), "");
    EXPECT_EQ(str(binary(text("abcdef"), &vBase::subAssign, integer(-1))), "abcdef");
    EXPECT_EQ(str(binary(text("abcdef"), &vBase::divAssign, integer(2))), "ab");
    EXPECT_EQ(str(binary(text("abcdef"), &vBase::divAssign, integer(6))), "abcdef");
    EXPECT_EQ(str(binary(text("abcdef"), &vBase::divAssign, integer(-1))), "abcdef");
    EXPECT_EQ(str(binary(text("abcdef"), &vBase::divAssign, integer(0))), "");
    EXPECT_EQ(str(binary(text("abcdef"), &vBase::modAssign, integer(2))), "cdef");
    EXPECT_EQ(str(binary(text("abcdef"), &vBase::modAssign, integer(6))), "");
    EXPECT_EQ(str(binary(text("abcdef"), &vBase::modAssign, integer(-1))), "");
    EXPECT_EQ(str(binary(text("abcdef"), &vBase::modAssign, integer(0))), "abcdef");
    EXPECT_EQ(str(negated(text("abc"))), "cba");
    Ref s = text("abc");
    s.value()->andAssign(integer(1));
    s.value()->complement();
    EXPECT_EQ(str(s), "abc");
}

TEST_F(StringTest, WritesDoNotReachSharedCopies) {
    Ref original = text("base");
    Ref copy = Ref::adopt(original->cloneHolder());
    copy.value()->addAssign(text("+"));
    copy.value()->negate();
    EXPECT_EQ(str(original), "base");
    EXPECT_EQ(str(copy), "+esab");
    Ref self = text("ab");
    self.value()->addAssign(self);
    EXPECT_EQ(str(self), "abab");
}

TEST_F(StringTest, OversizedRepetitionLeavesTheText) {
    Ref s = text("abc");
    s.value()->mulAssign(integer(std::numeric_limits<int32_t>::max()));
    EXPECT_EQ(str(s), "abc");
    s.value()->mulAssign(integer(100000));
    EXPECT_EQ(s.value()->toString().size(), 300000u);
}

TEST_F(StringTest, OrderingOnSignedBytes) {
    EXPECT_TRUE(text("abc").value()->less(text("abd")));
    EXPECT_TRUE(text("ab").value()->less(text("abc")));   // shorter is smaller
    EXPECT_TRUE(text("").value()->less(text("a")));
    EXPECT_FALSE(text("abc").value()->less(text("abc")));
    EXPECT_TRUE(text("abc").value()->lessEqual(text("abc")));
    EXPECT_TRUE(text("abc").value()->greaterEqual(text("abc")));
    EXPECT_FALSE(text("abc").value()->greater(text("abc")));
    // A byte of 0x80 and above is negative, so it sorts before ASCII.
    EXPECT_TRUE(text("\xE3\x81\x82").value()->less(text("a")));
    EXPECT_TRUE(text("a").value()->greater(text("\xE3")));
    EXPECT_TRUE(text("10").value()->less(integer(9))); // compared as text
    EXPECT_TRUE(text("abc").value()->equals(text("abc")));
    EXPECT_TRUE(text("abc").value()->notEquals(text("abcd")));
    EXPECT_TRUE(text("").value()->equals(makeEmpty() /* prints "[null]" */) == false);
    EXPECT_TRUE(text("[null]").value()->equals(makeEmpty()));
}

TEST_F(StringTest, SubstituteConvertsButAssignReplaces) {
    Ref s = text("old");
    s->substitute(integer(-5));
    EXPECT_EQ(type(s), TYPE_STRING);
    EXPECT_EQ(str(s), "-5");
    s->substitute(real(1));
    EXPECT_EQ(str(s), "1.000000");
    s->assign(integer(2));
    EXPECT_EQ(type(s), TYPE_INT);
}

} // namespace
} // namespace valuetest
