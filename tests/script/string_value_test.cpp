// Strings: text to number, the text arithmetic at its edges, byte ordering
// on signed bytes, sharing of buffers. The everyday text operators are
// checked by values/strings.kel.
#include "value_support.h"

namespace valuetest {
namespace {

using StringTest = ValueTest;

TEST_F(StringTest, TextToNumber) {
    EXPECT_EQ(text("\t\t17").value()->toInt(), 17);
    EXPECT_EQ(text("").value()->toInt(), 0);
    EXPECT_EQ(text("-").value()->toInt(), 0);
    EXPECT_EQ(text("\n5").value()->toInt(), 0);        // only spaces and tabs are skipped
    EXPECT_EQ(text("4294967297").value()->toInt(), 1); // wraps
    EXPECT_EQ(text("-2147483648").value()->toInt(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(text("  -1.5e2x").value()->toFloat(), -150.0);
    EXPECT_EQ(text("+.5").value()->toFloat(), 0.5);
    EXPECT_FALSE(text("").value()->toBool());
    EXPECT_TRUE(text("0").value()->toBool());
    EXPECT_EQ(text("abc").value()->count(), 1);
    Ref s = text("shared");
    SharedString out = s.value()->toString();
    EXPECT_EQ(out.shareCount(), 2u); // the buffer, not a copy
}

TEST_F(StringTest, CutsAtTheirEdges) {
    struct Row {
        void (vBase::*operation)(const Ref&);
        int count;
        const char* result;
    };
    const Row rows[] = {
        {&vBase::subAssign, 6, ""},       {&vBase::subAssign, -1, "abcdef"},
        {&vBase::divAssign, 6, "abcdef"}, {&vBase::divAssign, 0, ""},
        {&vBase::modAssign, 6, ""},       {&vBase::modAssign, -1, ""},
        {&vBase::modAssign, 0, "abcdef"}, {&vBase::andAssign, 1, "abcdef"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(str(binary(text("abcdef"), row.operation, integer(row.count))), row.result)
            << row.count;
    Ref s = text("abc");
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
    EXPECT_TRUE(text("").value()->less(text("a")));
    EXPECT_FALSE(text("abc").value()->less(text("abc")));
    EXPECT_TRUE(text("abc").value()->lessEqual(text("abc")));
    EXPECT_TRUE(text("abc").value()->greaterEqual(text("abc")));
    EXPECT_FALSE(text("abc").value()->greater(text("abc")));
    // A byte of 0x80 and above is negative, so it sorts before ASCII.
    EXPECT_TRUE(text("\xE3\x81\x82").value()->less(text("a")));
    EXPECT_TRUE(text("a").value()->greater(text("\xE3")));
    EXPECT_FALSE(text("").value()->equals(makeEmpty())); // an empty object reads "[null]"
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
