// Scopes through their C++ interface: where a method's declarations land, deep
// chains and clones. How far a lookup reaches, statics declared in blocks,
// captures, and how blocks, return, break, continue and goto unwind are checked
// by the Kel scripts under scopes/ and control/.
#include "code_block.h"
#include "env.h"
#include "numbers.h"
#include "object.h"
#include "scope.h"

#include <gtest/gtest.h>

namespace {

using namespace Kel;
using namespace Kel::variable::Variable;

Ref intValue(int value) {
    return Ref(new vInt(value));
}

// A function object: an object with a (here empty) code block.
Ref makeFunction() {
    Ref function = makeEmpty();
    function.value()->addLabel("entry");
    return function;
}

// A code block owned by the test for the scopes that share it.
struct Block {
    CodeBlock* block = CodeBlock::create();
    ~Block() { block->release(); }
};

TEST(ScopeLookup, MethodsReachTheirObjectAndDeclareInstanceVariables) {
    Block code;
    Ref function = makeFunction(), self = makeEmpty();
    self.value()->setMember("field", intValue(3));
    Env env;
    env.enter(new MethodScope(code.block, function.get(), self.get()));
    EXPECT_EQ(env.current()->lookup("field")->value()->toInt(), 3);

    EXPECT_TRUE(env.current()->declare("added", intValue(4), &env));
    EXPECT_TRUE(self.value()->hasMember("added"));
    EXPECT_TRUE(env.current()->declareLocal("local", intValue(5), &env));
    EXPECT_FALSE(self.value()->hasMember("local"));
    EXPECT_EQ(env.current()->lookup("local")->value()->toInt(), 5);
    env.stack().clear();
}

TEST(ScopeUnwinding, AVeryDeepChainIsDeletedWithoutRecursion) {
    Block code;
    Ref function = makeFunction();
    auto* env = new Env;
    env->enter(new FunctionScope(code.block, function.get()));
    for (int i = 0; i < 1000000; ++i)
        env->enter(new AnonymousScope(code.block));
    ASSERT_EQ(env->current()->depth(), 1000001);
    delete env; // would overflow the native stack if the chain were deleted recursively
}

TEST(ScopeClone, VariablesAreCopiedAndTheChainIsCloned) {
    Block code;
    Ref function = makeFunction();
    Env env;
    env.enter(new FunctionScope(code.block, function.get()));
    env.enter(new LoopScope(code.block, 3));
    env.current()->declare("v", intValue(1), nullptr);
    env.current()->pc() = 4;

    Scope* copy = env.current()->clone();
    EXPECT_EQ(copy->scopeKind(), SCOPE_LOOP);
    EXPECT_EQ(copy->pc(), 4);
    EXPECT_EQ(copy->depth(), 2);
    copy->lookup("v")->substitute(intValue(9));
    EXPECT_EQ(env.current()->lookup("v")->value()->toInt(), 1);
    delete copy;
}

} // namespace
