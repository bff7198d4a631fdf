// Methods and host callables: their texts and conversions, what `=` does to
// each, binding to an object, and calls that pop an argument and push a copy
// of the host's result.
#include "code_block.h"
#include "instructions.h"
#include "value_support.h"

namespace valuetest {
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

Ref function(std::initializer_list<OpCode*> ops) {
    Ref result = makeEmpty();
    CodeBlock* block = CodeBlock::create();
    for (OpCode* op : ops)
        block->appendRaw(op);
    static_cast<vObject*>(result.value())->shareCode(block);
    block->release();
    return result;
}

TEST_F(NativesTest, TextsAndConversions) {
    Ref f = makeEmpty();
    Ref method = Ref(new vMethod(f.get(), nullptr));
    Ref cfunction = Ref(new vCFunction(twice));
    Ref unbound = Ref(new vCMethod(selfText, nullptr));
    int anything = 0;
    Ref cpointer = Ref(new vCPointer(&anything));
    Ref null = Ref(new vCPointer(nullptr));
    EXPECT_EQ(str(method), "[Method]");
    EXPECT_EQ(str(cfunction), "[CFunction]");
    EXPECT_EQ(str(unbound), "[CMethod]");
    EXPECT_EQ(str(cpointer), "[cpointer]");
    EXPECT_EQ(str(null), "NULL");
    for (const Ref& callable : {method, cfunction, unbound}) {
        EXPECT_TRUE(callable.value()->toBool());
        EXPECT_EQ(callable.value()->count(), 1);
        EXPECT_EQ(callable.value()->toFloat(), 0.0);
    }
    EXPECT_EQ(method.value()->toInt(), 1);
    EXPECT_EQ(cfunction.value()->toInt(), 1);
    EXPECT_EQ(unbound.value()->toInt(), 0); // no bound object
    EXPECT_EQ(Ref(new vCMethod(selfText, f.get())).value()->toInt(), 1);
    EXPECT_EQ(cpointer.value()->toInt(), 1);
    EXPECT_EQ(null.value()->toInt(), 0);
    EXPECT_EQ(null.value()->count(), 0);
    EXPECT_FALSE(null.value()->toBool());
    EXPECT_EQ(cpointer.value()->nativePointer(), &anything);
    EXPECT_EQ(type(method), TYPE_METHOD);
    EXPECT_EQ(type(cfunction), TYPE_CFUNCTION);
    EXPECT_EQ(type(unbound), TYPE_CMETHOD);
    EXPECT_EQ(type(cpointer), TYPE_CPOINTER);
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

TEST_F(NativesTest, SubstituteIntoAMethod) {
    Ref owner = makeEmpty();
    Ref f = function({new RETURN});
    Ref g = function({new RETURN});
    Ref method = Ref(new vMethod(f.get(), owner.get()));
    method->substitute(Ref(new vMethod(g.get(), nullptr)));
    EXPECT_EQ(method.value()->elementAt(0), g.get()); // takes over the function
    EXPECT_EQ(method.value()->elementAt(1), owner.get());
    method->substitute(f); // an object with code becomes the function
    EXPECT_EQ(method.value()->elementAt(0), f.get());
    method->substitute(integer(3)); // anything else: no change
    EXPECT_EQ(type(method), TYPE_METHOD);
    method->substitute(Ref(new vCMethod(selfText, nullptr)));
    EXPECT_EQ(type(method), TYPE_CMETHOD);
    EXPECT_EQ(method.value()->elementAt(1), owner.get()); // bound to the method's object
    Ref other = Ref(new vMethod(f.get(), owner.get()));
    other->substitute(Ref(new vCFunction(twice)));
    EXPECT_EQ(type(other), TYPE_CFUNCTION);
    Ref assigned = Ref(new vMethod(f.get(), owner.get()));
    assigned->assign(integer(1));
    EXPECT_EQ(type(assigned), TYPE_INT);
}

TEST_F(NativesTest, SubstituteIntoHostCallables) {
    Ref owner = makeEmpty();
    Ref cfunction = Ref(new vCFunction(twice));
    cfunction->substitute(integer(1));
    EXPECT_EQ(type(cfunction), TYPE_CFUNCTION);
    cfunction->substitute(Ref(new vCFunction(nothing)));
    EXPECT_EQ(static_cast<vCFunction*>(cfunction.value())->function(), &nothing);

    Ref cmethod = Ref(new vCMethod(selfText, owner.get()));
    cmethod->substitute(Ref(new vCFunction(twice)));
    EXPECT_EQ(type(cmethod), TYPE_CMETHOD);
    Ref f = function({new RETURN});
    cmethod->substitute(Ref(new vMethod(f.get(), nullptr)));
    EXPECT_EQ(type(cmethod), TYPE_METHOD);
    EXPECT_EQ(cmethod.value()->elementAt(1), owner.get());
}

TEST_F(NativesTest, MethodParts) {
    Ref owner = makeEmpty();
    Ref f = function({new RETURN});
    Ref method = Ref(new vMethod(f.get(), nullptr));
    method.value()->append(owner); // rebinds
    EXPECT_EQ(method.value()->elementAt(1), owner.get());
    EXPECT_EQ(method.value()->elementAt(2), nullptr);
    EXPECT_EQ(method.value()->code(), f.value()->code());
    Ref copy = Ref::adopt(method->cloneHolder());
    EXPECT_EQ(copy.value()->elementAt(0), f.get());
    EXPECT_EQ(copy.value()->elementAt(1), owner.get());
    Ref cmethod = Ref(new vCMethod(selfText, owner.get()));
    EXPECT_EQ(cmethod.value()->elementAt(0), nullptr);
    EXPECT_EQ(cmethod.value()->elementAt(1), owner.get());
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

TEST_F(NativesTest, MethodCallRunsInItsObject) {
    // Returns the bound object's member `name`.
    Ref f = function({new POP, new VARIABLE("name"), new RETURN});
    Ref owner = makeEmpty();
    member(owner, "name")->substitute(text("mine"));
    owner.value()->setMember("get", Ref(new vMethod(f.get(), nullptr)));
    owner.value()->setOwner(owner.get());
    Ref get = member(owner, "get");
    Env env;
    EXPECT_EQ(str(get.value()->callSync(env, makeEmpty(), get.get())), "mine");
    env.push(makeEmpty());
    get.value()->call(env, get.get());
    env.drive();
    EXPECT_EQ(str(env.pop()), "mine");
}

} // namespace
} // namespace valuetest
