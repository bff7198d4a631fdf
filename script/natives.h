// Bound and native callables: vMethod (a script function bound to the object
// that holds it), vCFunction and vCMethod (host functions), and vCPointer (an
// opaque host pointer that scripts store, compare and hand back).
#pragma once

#include "value.h"

namespace Kel {
// A host function: takes the call's argument, answers its result.
using NativeFunction = Ref (*)(const Ref& argument);
// A host method: also gets the holder of the object it is bound to.
using NativeMethod = Ref (*)(Holder* self, const Ref& argument);
} // namespace Kel

namespace Kel::variable::Variable {

// A script function bound to an object. The function is counted; the object
// is not, because the object owns the method and a counted back-reference
// would make every method a cycle.
class vMethod final : public vBase {
public:
    vMethod(Holder* function, Holder* self) : m_function(function), m_self(self) {}
    Holder* function() const { return m_function.get(); }
    Holder* self() const { return m_self; }

    int typeCode() const override { return TYPE_METHOD; }
    vBase* clone() const override;
    void gcTrace(Holder* root, int& counter) override;
    void gcMarkChildren() override;
    vBase* substitute(const Ref& rhs) override;
    bool toBool() override { return true; }
    int32_t toInt() override { return 1; }
    SharedString toString() override;
    int count() override { return 1; }
    Holder* elementAt(int index) override;
    void append(const Ref& item) override {
        m_self = item.get();
        m_keeper.reset();
    }
    void call(Env& env, Holder* self) override;
    Ref callSync(Env& env, const Ref& argument, Holder* self) override;
    CodeBlock* code() override;
    // A method read from a temporary object that nothing else holds keeps
    // `owner` (the object, or the pointer to it) alive, so the call that
    // follows never reaches a freed object.
    void keepAlive(const Ref& owner) { m_keeper = owner; }
    Holder* keeper() const { return m_keeper.get(); }

private:
    Ref m_function;
    Holder* m_self;
    Ref m_keeper;
};

class vCFunction final : public vBase {
public:
    explicit vCFunction(NativeFunction function) : m_function(function) {}
    NativeFunction function() const { return m_function; }

    int typeCode() const override { return TYPE_CFUNCTION; }
    vBase* clone() const override;
    vBase* substitute(const Ref& rhs) override;
    bool toBool() override { return true; }
    int32_t toInt() override { return 1; }
    SharedString toString() override;
    int count() override { return 1; }
    void call(Env& env, Holder* self) override;
    Ref callSync(Env& env, const Ref& argument, Holder* self) override;

private:
    NativeFunction m_function;
};

// A host method bound (uncounted, like vMethod) to an object.
class vCMethod final : public vBase {
public:
    vCMethod(NativeMethod method, Holder* self) : m_method(method), m_self(self) {}
    NativeMethod method() const { return m_method; }
    Holder* self() const { return m_self; }

    int typeCode() const override { return TYPE_CMETHOD; }
    vBase* clone() const override;
    vBase* substitute(const Ref& rhs) override;
    bool toBool() override { return true; }
    int32_t toInt() override { return m_self ? 1 : 0; }
    SharedString toString() override;
    int count() override { return 1; }
    Holder* elementAt(int index) override;
    void append(const Ref& item) override {
        m_self = item.get();
        m_keeper.reset();
    }
    void call(Env& env, Holder* self) override;
    Ref callSync(Env& env, const Ref& argument, Holder* self) override;
    void gcTrace(Holder* root, int& counter) override;
    void gcMarkChildren() override;
    // As vMethod::keepAlive.
    void keepAlive(const Ref& owner) { m_keeper = owner; }
    Holder* keeper() const { return m_keeper.get(); }

private:
    NativeMethod m_method;
    Holder* m_self;
    Ref m_keeper;
};

class vCPointer final : public vBase {
public:
    explicit vCPointer(void* pointer = nullptr) : m_pointer(pointer) {}
    void* pointer() const { return m_pointer; }

    int typeCode() const override { return TYPE_CPOINTER; }
    vBase* clone() const override;
    vBase* substitute(const Ref& rhs) override;
    bool equals(const Ref& rhs) override;
    bool notEquals(const Ref& rhs) override;
    bool toBool() override { return m_pointer != nullptr; }
    int32_t toInt() override { return m_pointer ? 1 : 0; }
    SharedString toString() override;
    void* nativePointer() override { return m_pointer; }
    int count() override { return m_pointer ? 1 : 0; }

private:
    void* m_pointer;
};

} // namespace Kel::variable::Variable
