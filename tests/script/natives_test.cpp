// Host callables called from C++: native pointers compare by address, and a
// call pops its argument and pushes a copy of the host's result.
#include "script_support.h"

namespace script_test {
namespace {

using NativesTest = ValueTest;

Ref g_hostResult;

Ref twice(const Ref& argument) {
    return integer(argument.value()->toInt() * 2);
}
Ref answerKept(const Ref&) {
    return g_hostResult;
}
Ref nothing(const Ref&) {
    return Ref();
}
Ref selfText(Holder* self, const Ref& argument) {
    return text(str(Ref(self->value()->member("name"))) + str(argument));
}

TEST_F(NativesTest, CPointersCompareByAddress) {
    int a = 0;
    int b = 0;
    Ref pa = Ref(new vCPointer(&a));
    EXPECT_TRUE(pa.value()->equals(Ref(new vCPointer(&a))));
    EXPECT_TRUE(pa.value()->notEquals(Ref(new vCPointer(&b))));
    EXPECT_FALSE(pa.value()->less(Ref(new vCPointer(&b))));
    pa->substitute(Ref(new vCPointer(&b)));
    EXPECT_EQ(type(pa), TYPE_CPOINTER);
    EXPECT_EQ(pa.value()->nativePointer(), &b);
    pa->substitute(integer(5)); // an int carries no pointer
    EXPECT_EQ(pa.value()->nativePointer(), nullptr);
}

TEST_F(NativesTest, HostCallsPushACopyOfTheResult) {
    Env env;
    Ref cfunction = Ref(new vCFunction(twice));
    env.push(integer(21));
    cfunction.value()->call(env, cfunction.get());
    EXPECT_EQ(env.pop().value()->toInt(), 42);
    EXPECT_EQ(env.stackSize(), 0u);

    g_hostResult = integer(5);
    Ref kept = Ref(new vCFunction(answerKept));
    env.push(makeEmpty());
    kept.value()->call(env, kept.get());
    Ref result = env.pop();
    EXPECT_NE(result.get(), g_hostResult.get());
    result.value()->addAssign(integer(1));
    EXPECT_EQ(g_hostResult.value()->toInt(), 5);
    g_hostResult.reset();

    Ref empty = Ref(new vCFunction(nothing));
    EXPECT_EQ(str(empty.value()->callSync(env, makeEmpty(), empty.get())), "[null]");

    Ref owner = makeEmpty();
    member(owner, "name")->substitute(text("obj:"));
    Ref cmethod = Ref(new vCMethod(selfText, owner.get()));
    env.push(text("arg"));
    cmethod.value()->call(env, cmethod.get());
    EXPECT_EQ(str(env.pop()), "obj:arg");
    EXPECT_EQ(str(cmethod.value()->callSync(env, text("x"), cmethod.get())), "obj:x");
}

} // namespace
} // namespace script_test
