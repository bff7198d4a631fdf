// Scopes through their C++ interface: how far a name lookup reaches, where
// declarations land, how return/break/continue/goto unwind a chain, statics
// kept in the function object, and closures sharing the captured variables.
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

// A function's scope entered in an environment of its own.
struct InFunction {
    Block code;
    Ref function = makeFunction();
    Env env;
    InFunction() { env.enter(new FunctionScope(code.block, function.get())); }
};

TEST(ScopeLookup, BlocksSeeOutwardButFunctionsStopAtTheirFunctionObject) {
    Block code;
    Ref caller = makeFunction(), callee = makeFunction();
    Env env;
    env.enter(new FunctionScope(code.block, caller.get()));
    env.current()->declare("callerLocal", intValue(1), nullptr);
    env.enter(new AnonymousScope(code.block));
    ASSERT_NE(env.current()->lookup("callerLocal"), nullptr);

    env.enter(new FunctionScope(code.block, callee.get()));
    EXPECT_EQ(env.current()->lookup("callerLocal"), nullptr);
    callee.value()->setMember("member", intValue(7));
    ASSERT_NE(env.current()->lookup("member"), nullptr);
    EXPECT_EQ(env.current()->lookup("member")->value()->toInt(), 7);
}

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

TEST(ScopeDeclare, RedeclaringReportsNotNewAndRebinds) {
    InFunction f;
    EXPECT_TRUE(f.env.current()->declare("x", intValue(1), nullptr));
    EXPECT_FALSE(f.env.current()->declare("x", intValue(2), nullptr));
    EXPECT_EQ(f.env.current()->lookup("x")->value()->toInt(), 2);
}

TEST(ScopeStatics, InitialisedOnceAndKeptInTheFunctionObject) {
    Block code;
    Ref function = makeFunction();
    {
        Env env;
        env.enter(new FunctionScope(code.block, function.get()));
        EXPECT_TRUE(env.current()->declareStatic("counter", intValue(10), &env));
        Ref pushed = env.pop();
        pushed->substitute(intValue(11));
    }
    Env env;
    env.enter(new FunctionScope(code.block, function.get()));
    // The second run's initialiser goes to a throw-away object.
    EXPECT_FALSE(env.current()->declareStatic("counter", intValue(99), &env));
    Ref throwaway = env.pop();
    EXPECT_EQ(throwaway.value()->typeCode(), TYPE_OBJECT);
    EXPECT_EQ(env.current()->lookup("counter")->value()->toInt(), 11);
}

TEST(ScopeStatics, BlocksHandStaticsToTheirFunction) {
    InFunction f;
    f.env.enter(new LoopScope(f.code.block, 0));
    f.env.enter(new AnonymousScope(f.code.block));
    EXPECT_TRUE(f.env.current()->declareStatic("s", intValue(1), &f.env));
    f.env.pop();
    EXPECT_TRUE(f.function.value()->hasMember("s"));
}

// Builds caller function -> callee function -> loop -> block -> block.
struct NestedChain {
    Block code;
    Ref caller = makeFunction(), callee = makeFunction();
    Env env;
    Scope* callerScope;
    Scope* calleeScope;
    Scope* loop;
    NestedChain() {
        env.enter(callerScope = new FunctionScope(code.block, caller.get()));
        env.enter(calleeScope = new FunctionScope(code.block, callee.get()));
        env.enter(loop = new LoopScope(code.block, 2));
        env.enter(new AnonymousScope(code.block));
        env.enter(new AnonymousScope(code.block));
    }
};

TEST(ScopeUnwinding, ReturnLeavesEveryBlockAndTheFunction) {
    NestedChain chain;
    chain.env.setCurrent(chain.env.current()->onReturn());
    EXPECT_EQ(chain.env.current(), chain.callerScope);
    EXPECT_EQ(chain.env.current()->depth(), 1);
}

TEST(ScopeUnwinding, BreakLeavesTheBlocksAndTheLoop) {
    NestedChain chain;
    chain.env.setCurrent(chain.env.current()->onBreak());
    EXPECT_EQ(chain.env.current(), chain.calleeScope);
}

TEST(ScopeUnwinding, ContinueRestartsTheLoop) {
    NestedChain chain;
    chain.loop->pc() = 7;
    chain.env.setCurrent(chain.env.current()->onContinue());
    EXPECT_EQ(chain.env.current(), chain.loop);
    EXPECT_EQ(chain.loop->pc(), 2);
}

TEST(ScopeUnwinding, BreakAndContinueOutsideALoopStayInTheFunction) {
    InFunction f;
    Scope* scope = f.env.current();
    EXPECT_EQ(scope->onBreak(), scope);
    EXPECT_EQ(scope->onContinue(), scope);
}

TEST(ScopeUnwinding, EndOfACodeBlockLeavesOnlyThatScope) {
    NestedChain chain;
    Scope* inner = chain.env.current();
    Scope* outer = inner->outer();
    chain.env.setCurrent(inner->onEnd(chain.env));
    EXPECT_EQ(chain.env.current(), outer);
}

TEST(ScopeUnwinding, ConstructorEndLeavesTheInstanceOnTheStack) {
    Block code;
    Ref cls = makeFunction(), instance = makeEmpty();
    Env env;
    env.enter(new ConstructorScope(code.block, cls.get(), instance.get()));
    env.push(intValue(42));
    env.setCurrent(env.current()->onEnd(env));
    EXPECT_EQ(env.current(), nullptr);
    EXPECT_EQ(env.pop(), instance);
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

TEST(ScopeGoto, ALabelOfAnEnclosingBlockLeavesTheInnerBlocks) {
    Block outerCode, innerCode;
    outerCode.block->addLabel("again", 5);
    Ref function = makeFunction();
    Env env;
    env.enter(new FunctionScope(outerCode.block, function.get()));
    Scope* outerBlock = new AnonymousScope(outerCode.block);
    env.enter(outerBlock);
    env.enter(new AnonymousScope(innerCode.block));
    env.enter(new AnonymousScope(innerCode.block));
    Scope* found = env.current()->findLabel("again");
    ASSERT_EQ(found, outerBlock);
    env.setCurrent(found);
    EXPECT_EQ(found->pc(), 5);
    EXPECT_EQ(found->depth(), 2);
}

TEST(ScopeGoto, ALabelInAnotherFunctionIsNotFoundAndNothingIsLeft) {
    Block callerCode, calleeCode;
    callerCode.block->addLabel("elsewhere", 1);
    Ref caller = makeFunction(), callee = makeFunction();
    Env env;
    env.enter(new FunctionScope(callerCode.block, caller.get()));
    env.enter(new FunctionScope(calleeCode.block, callee.get()));
    env.enter(new AnonymousScope(calleeCode.block));
    Scope* inner = env.current();
    EXPECT_EQ(inner->findLabel("elsewhere"), nullptr);
    EXPECT_EQ(env.current()->depth(), 3);
}

TEST(ScopeClosure, CapturedVariablesAreSharedBothWays) {
    Block code;
    Ref function = makeFunction(), closure = makeFunction();
    Env env;
    env.enter(new FunctionScope(code.block, function.get()));
    Ref counter = intValue(1);
    env.current()->declare("counter", counter, nullptr);
    env.current()->declare("self", closure, nullptr); // the variable being assigned
    env.current()->capture(closure);

    Holder* captured = closure.value()->findMember("counter");
    ASSERT_EQ(captured, counter.get());
    EXPECT_FALSE(closure.value()->hasMember("self"));
    counter->substitute(intValue(5));
    EXPECT_EQ(captured->value()->toInt(), 5);
}

TEST(ScopeClosure, InnerNamesWinOverOuterOnesAndFunctionsBoundTheCapture) {
    Block code;
    Ref caller = makeFunction(), function = makeFunction(), closure = makeFunction();
    Env env;
    env.enter(new FunctionScope(code.block, caller.get()));
    env.current()->declare("hidden", intValue(0), nullptr);
    env.enter(new FunctionScope(code.block, function.get()));
    env.current()->declare("x", intValue(1), nullptr);
    env.enter(new AnonymousScope(code.block));
    env.current()->declare("x", intValue(2), nullptr);
    env.current()->capture(closure);
    EXPECT_EQ(closure.value()->findMember("x")->value()->toInt(), 2);
    EXPECT_FALSE(closure.value()->hasMember("hidden"));
}

TEST(ScopeClone, VariablesAreCopiedAndTheChainIsCloned) {
    InFunction f;
    Env& env = f.env;
    env.enter(new LoopScope(f.code.block, 3));
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
