// Scopes: each is at once an activation record (code block and position) and
// a name space (its variables). The kinds differ in how far a name lookup, a
// return, a break, a continue or a goto travels. Slot order is fixed.
#pragma once

#include "holder.h"
#include "shared_string.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Kel {

class CodeBlock;
class Env;
class MemberTable;
struct ParameterList;

enum ScopeKind {
    SCOPE_BASE = 0,
    SCOPE_ANONYMOUS = 1,
    SCOPE_LOOP = 2,
    SCOPE_FUNCTION = 3,
    SCOPE_CONSTRUCTOR = 4,
    SCOPE_METHOD = 5,
};

class Scope {
public:
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

    // Deletes the whole outer chain too.
    virtual ~Scope();                                // 0
    virtual int scopeKind() const { return m_kind; } // 1
    virtual Scope* clone() const = 0;                // 2
    virtual Holder* lookup(std::string_view name);   // 3
    // Control transfers answer the scope that becomes current; a scope that
    // is left has deleted itself (but not its outer chain).
    virtual Scope* onReturn() = 0;                                                 // 4
    virtual Scope* onBreak() = 0;                                                  // 5
    virtual Scope* onContinue() = 0;                                               // 6
    virtual Scope* findLabel(std::string_view name);                               // 7
    virtual Scope* onEnd(Env& env);                                                // 8
    virtual bool declareStatic(std::string_view name, const Ref& value, Env* env); // 9
    virtual bool declare(const SharedString& name, const Ref& value, Env* env);    // 10
    virtual Ref visibleVariables();                                                // 11
    virtual Ref capture(const Ref& function);                                      // 12

    // The declaration of the base class whatever the kind: a true local.
    bool declareLocal(const SharedString& name, const Ref& value, Env* env);
    // Declares a call's parameters in a scope that has no variables yet,
    // sharing `values` (one holder per name of `list`, in order). They
    // stay in a plain array until something needs the variables table, which
    // is then built as their declarations would have built it. `list` must
    // outlive the scope (the execution form of the scope's own code).
    void declareParameters(const ParameterList& list, const Ref* values);
    // The same, moving the handles out of `values`.
    void takeParameters(const ParameterList& list, Ref* values);
    // Own variables or parameters exist.
    bool hasVariables() const { return m_variables || m_parameters; }
    // The parameter list whose holders this scope keeps apart from a table,
    // or none; parameterAt(i) is the holder of its name i.
    const ParameterList* parameterList() const { return m_parameters ? m_parameterList : nullptr; }
    Holder* parameterAt(uint32_t index) const { return m_parameters[index].get(); }

    // Names what the scope's lookups resolve against: a new number whenever
    // its own variables change, and never one an earlier scope had, so a
    // scope is not mistaken for one that lived at the same address. A scope's
    // chain of outer scopes never changes while it lives, and only the current
    // scope ever declares, so the scopes outward stay as they were.
    uint64_t serial() const { return m_serial; }
    // Where a lookup from here really starts: blocks and loops without
    // variables of their own hand every lookup on to their outer scope.
    Scope* lookupOrigin() { return m_origin; }
    // Blocks and loops: a name not among their own variables is looked up
    // from their outer scope.
    bool passesLookups() const { return m_passesLookups; }
    // scopeKind() without a virtual call, for the paths every call takes.
    ScopeKind kind() const { return static_cast<ScopeKind>(m_kind); }
    CodeBlock* code() const { return m_code; }
    int& pc() { return m_pc; }
    Scope* outer() const { return m_outer; }
    void setOuter(Scope* outer) {
        m_outer = outer;
        m_depth = outer ? outer->m_depth + 1 : 1;
        settleOrigin();
    }
    // Gives up the outer chain without deleting it.
    Scope* detachOuter();
    // The variables object, made when first needed.
    Holder* variables();
    // The variables object if one was made; none otherwise (parameters not
    // yet in a table are reached through parameter()).
    Holder* ownVariables() const { return m_variables.get(); }
    // Nesting depth of the chain (this scope counts 1); for tests and limits.
    int depth() const { return m_depth; }

    static void* operator new(std::size_t size);
    static void operator delete(void* slot);

protected:
    explicit Scope(CodeBlock* code);
    // Block and loop scopes hand return, break and continue outward: the outer
    // scope answers, then this scope goes.
    Scope* passOutward(Scope* (Scope::*transfer)());
    // passOutward(&Scope::onReturn), which leaves a function's scope at once.
    Scope* returnOutward();
    // Copies code, pc and a deep copy of the variables; the outer chain is
    // cloned by cloneOuterInto.
    Scope(const Scope& source, int);
    void cloneOuterInto(Scope* copy) const;
    // Detaches the outer scope, deletes this one and answers the outer.
    Scope* leave();
    Holder* ownVariable(std::string_view name) const;
    // Shares every variable of this scope with `function` (closure capture).
    Ref captureOwnVariables(const Ref& function);
    // Moves parameters held apart into the variables table.
    void materialize();
    // Works out lookupOrigin() once the outer scope or the own variables are
    // set. It then holds while the scope lives: its chain never changes, and
    // only the current scope declares, so no scope between it and its origin
    // comes to have variables.
    void settleOrigin() {
        m_origin = m_passesLookups && !m_variables && m_outer ? m_outer->m_origin : this;
    }
    // Room for `count` parameters' holders, not yet made, and its release.
    Ref* parameterStorage(size_t count);
    void freeParameters(Ref* values, size_t count);
    // The room alone, its handles already gone.
    void freeStorage(Ref* values, size_t count);
    // Drops parameters held apart when that is unobservable: every one holds
    // a number or a text, whose release runs no script code; otherwise they
    // go into the table, whose teardown keeps its own order.
    void releaseParameters();

    Ref m_variables;
    // A call's parameters while nothing has needed them by name in a table.
    const ParameterList* m_parameterList = nullptr;
    Ref* m_parameters = nullptr;
    // Most functions take a few parameters: they stay in the scope itself.
    static constexpr size_t INLINE_PARAMETERS = 3;
    alignas(Ref) unsigned char m_parameterRoom[INLINE_PARAMETERS * sizeof(Ref)];
    Scope* m_outer = nullptr;
    Scope* m_origin = this;
    CodeBlock* m_code;
    int m_pc = 0;
    int m_depth = 1;
    uint64_t m_serial;
    // Set by the kinds whose lookup is the base one (blocks and loops).
    bool m_passesLookups = false;
    // Set by each kind; a clone keeps its source's.
    uint8_t m_kind = SCOPE_BASE;
    static inline uint64_t s_nextSerial = 0;
};

// A `{ ... }` block.
class AnonymousScope : public Scope {
public:
    explicit AnonymousScope(CodeBlock* code) : Scope(code) {
        m_passesLookups = true;
        m_kind = SCOPE_ANONYMOUS;
    }
    Scope* clone() const override;
    Scope* onReturn() override;
    Scope* onBreak() override;
    Scope* onContinue() override;

protected:
    AnonymousScope(const AnonymousScope& source, int) : Scope(source, 0) { m_passesLookups = true; }
};

// The body of a loop; continue resets pc to the restart index.
class LoopScope : public Scope {
public:
    LoopScope(CodeBlock* code, int restart) : Scope(code), m_restart(restart) {
        m_passesLookups = true;
        m_kind = SCOPE_LOOP;
    }
    Scope* clone() const override;
    Scope* onReturn() override;
    Scope* onBreak() override;
    Scope* onContinue() override;
    int restart() const { return m_restart; }

private:
    LoopScope(const LoopScope& source, int) : Scope(source, 0), m_restart(source.m_restart) {
        m_passesLookups = true;
    }
    int m_restart;
};

// A function call: names stop at the function object's members.
class FunctionScope : public Scope {
public:
    FunctionScope(CodeBlock* code, Holder* function) : Scope(code), m_function(function) {
        m_kind = SCOPE_FUNCTION;
    }
    Scope* clone() const override;
    Holder* lookup(std::string_view name) override;
    Scope* onReturn() override;
    Scope* onBreak() override;
    Scope* onContinue() override;
    Scope* findLabel(std::string_view name) override;
    bool declareStatic(std::string_view name, const Ref& value, Env* env) override;
    Ref capture(const Ref& function) override;
    Holder* function() const { return m_function.get(); }

protected:
    FunctionScope(const FunctionScope& source, int)
        : Scope(source, 0), m_function(source.m_function) {}
    Ref m_function;
};

// A method call: names also reach the bound object's members, and
// declarations make instance variables.
class MethodScope : public FunctionScope {
public:
    MethodScope(CodeBlock* code, Holder* function, Holder* self)
        : FunctionScope(code, function), m_self(self) {
        m_kind = SCOPE_METHOD;
    }
    Scope* clone() const override;
    Holder* lookup(std::string_view name) override;
    bool declare(const SharedString& name, const Ref& value, Env* env) override;
    Holder* self() const { return m_self.get(); }

protected:
    MethodScope(const MethodScope& source, int) : FunctionScope(source, 0), m_self(source.m_self) {}
    Ref m_self;
};

// A constructor run: at its end the new instance replaces the stack top.
class ConstructorScope : public MethodScope {
public:
    ConstructorScope(CodeBlock* code, Holder* cls, Holder* instance)
        : MethodScope(code, cls, instance) {
        m_kind = SCOPE_CONSTRUCTOR;
    }
    Scope* clone() const override;
    Scope* onEnd(Env& env) override;

private:
    ConstructorScope(const ConstructorScope& source, int) : MethodScope(source, 0) {}
};

} // namespace Kel
