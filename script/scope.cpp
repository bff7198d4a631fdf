// Name resolution, declarations, control transfers and closure capture of the
// scope kinds. Scopes come from one free list whose slot fits the largest kind,
// because every call, block and loop makes and drops one.
#include "scope.h"

#include "code_block.h"
#include "env.h"
#include "exec_form.h"
#include "object.h"
#include "pool.h"
#include "value.h"

#include <cstdlib>
#include <new>

namespace Kel {
namespace {

// The constructor scope is the largest kind (checked below), so its size is
// the one slot every kind is made in.
constexpr size_t SCOPE_SLOT_SIZE = sizeof(ConstructorScope);

struct FreeSlot {
    FreeSlot* next;
};
FreeSlot* g_freeScopes = nullptr;

bool isPointerWithoutTarget(Holder* holder) {
    vBase* value = holder->value();
    return value->typeCode() == variable::Variable::TYPE_POINTER && !value->pointee();
}

} // namespace

static_assert(sizeof(AnonymousScope) <= SCOPE_SLOT_SIZE && sizeof(LoopScope) <= SCOPE_SLOT_SIZE &&
                  sizeof(FunctionScope) <= SCOPE_SLOT_SIZE &&
                  sizeof(MethodScope) <= SCOPE_SLOT_SIZE,
              "every scope kind must fit the shared slot");

void* Scope::operator new(std::size_t) {
    if (FreeSlot* slot = g_freeScopes) {
        g_freeScopes = slot->next;
        return slot;
    }
    return ::operator new(SCOPE_SLOT_SIZE);
}

void Scope::operator delete(void* slot) {
    FreeSlot* freed = static_cast<FreeSlot*>(slot);
    freed->next = g_freeScopes;
    g_freeScopes = freed;
}

// Every scope gets a serial of its own: a remembered lookup is only reused
// by the scope whose serial it was made under.
Scope::Scope(CodeBlock* code) : m_code(code), m_serial(++s_nextSerial) {
    if (m_code) m_code->addRef();
}

// The start of a clone: the same code and place, copies of the variables.
Scope::Scope(const Scope& source, int)
    : m_code(source.m_code), m_pc(source.m_pc), m_depth(source.m_depth), m_serial(++s_nextSerial),
      m_kind(source.m_kind) {
    if (m_code) m_code->addRef();
    // The copy deep-copies the table, so the source's parameters go into one
    // first; that changes none of the source's bindings.
    const_cast<Scope&>(source).materialize();
    if (source.m_variables) m_variables = Ref::adopt(source.m_variables->cloneHolder());
}

Scope::~Scope() {
    // Iterative, so that a very deep chain cannot exhaust the native stack.
    Scope* outer = detachOuter();
    while (outer) {
        Scope* next = outer->detachOuter();
        delete outer;
        outer = next;
    }
    releaseParameters();
    if (m_code) m_code->release();
}

Scope* Scope::detachOuter() {
    Scope* outer = m_outer;
    m_outer = nullptr;
    return outer;
}

void Scope::cloneOuterInto(Scope* copy) const {
    copy->m_outer = m_outer ? m_outer->clone() : nullptr;
    copy->settleOrigin();
}

Holder* Scope::variables() {
    materialize();
    if (!m_variables) {
        m_variables = makeEmpty();
        static_cast<variable::Variable::vObject*>(m_variables.value())->members().setQuiet();
        settleOrigin();
    }
    return m_variables.get();
}

Holder* Scope::ownVariable(std::string_view name) const {
    if (m_parameters) {
        uint32_t index = m_parameterList->indexOf(name);
        return index == ParameterList::ABSENT ? nullptr : parameterAt(index);
    }
    return m_variables ? m_variables.value()->findMember(name) : nullptr;
}

// Parameters beyond the room in the scope itself live in a pooled array.
Ref* Scope::parameterStorage(size_t count) {
    if (count <= INLINE_PARAMETERS) return reinterpret_cast<Ref*>(m_parameterRoom);
    return static_cast<Ref*>(pool::allocate(count * sizeof(Ref)));
}

void Scope::freeParameters(Ref* values, size_t count) {
    for (size_t i = 0; i < count; ++i)
        values[i].~Ref();
    freeStorage(values, count);
}

void Scope::freeStorage(Ref* values, size_t count) {
    if (count > INLINE_PARAMETERS) pool::release(values, count * sizeof(Ref));
}

void Scope::declareParameters(const ParameterList& list, const Ref* values) {
    size_t count = list.names.size();
    m_parameterList = &list;
    m_parameters = parameterStorage(count);
    for (size_t i = 0; i < count; ++i)
        new (&m_parameters[i]) Ref(values[i]);
    m_serial = ++s_nextSerial;
}

void Scope::takeParameters(const ParameterList& list, Ref* values) {
    size_t count = list.names.size();
    m_parameterList = &list;
    m_parameters = parameterStorage(count);
    for (size_t i = 0; i < count; ++i)
        new (&m_parameters[i]) Ref(std::move(values[i]));
    m_serial = ++s_nextSerial;
}

// The table the parameters' declarations would have built: their layout
// copied, each name bound to its holder.
void Scope::materialize() {
    if (!m_parameters) return;
    Ref* values = std::exchange(m_parameters, nullptr);
    const ParameterList& list = *m_parameterList;
    m_variables = makeEmpty();
    settleOrigin();
    MemberTable& table = static_cast<variable::Variable::vObject*>(m_variables.value())->members();
    table.setQuiet();
    table.copyLayout(list.layout);
    for (size_t i = 0; i < list.names.size(); ++i)
        table.slot(list.slots[i])->value = std::move(values[i]);
    freeParameters(values, list.names.size());
}

void Scope::releaseParameters() {
    if (!m_parameters) return;
    size_t count = m_parameterList->names.size();
    for (size_t i = 0; i < count; ++i) {
        int type = m_parameters[i]->typeCode();
        if (type == variable::Variable::TYPE_NIL || type > variable::Variable::TYPE_STRING) {
            materialize();
            return;
        }
    }
    Ref* values = std::exchange(m_parameters, nullptr);
    for (size_t i = 0; i < count; ++i)
        values[i].release()->releasePlain();
    // Every handle is empty now: only their storage is left.
    freeStorage(values, count);
}

Scope* Scope::leave() {
    Scope* outer = detachOuter();
    delete this;
    return outer;
}

Scope* Scope::passOutward(Scope* (Scope::*transfer)()) {
    Scope* outer = detachOuter();
    Scope* result = outer ? (outer->*transfer)() : nullptr;
    delete this;
    return result;
}

// Every kind from the function's on answers a return by leaving.
Scope* Scope::returnOutward() {
    Scope* outer = detachOuter();
    Scope* result = !outer                            ? nullptr
                    : outer->m_kind >= SCOPE_FUNCTION ? outer->leave()
                                                      : outer->onReturn();
    delete this;
    return result;
}

// Lookup: own variables, then outward through blocks and loops.
Holder* Scope::lookup(std::string_view name) {
    if (Holder* found = ownVariable(name)) return found;
    return m_outer ? m_outer->lookup(name) : nullptr;
}

// Goto: a label of this block, or of an enclosing block (leaving this one).
Scope* Scope::findLabel(std::string_view name) {
    int index;
    if (m_code && m_code->findLabel(name, index)) {
        m_pc = index;
        return this;
    }
    if (!m_outer) return nullptr;
    Scope* found = m_outer->findLabel(name);
    if (!found) return nullptr;
    // The outer chain up to `found` has already gone; only this scope is left.
    m_outer = nullptr;
    delete this;
    return found;
}

Scope* Scope::onEnd(Env&) {
    return leave();
}

// Blocks and loops hand a static to the function around them. Outside every
// function there is nowhere to keep it, so it is only a value on the stack.
bool Scope::declareStatic(std::string_view name, const Ref& value, Env* env) {
    if (m_outer) return m_outer->declareStatic(name, value, env);
    if (env) env->push(value);
    return false;
}

bool Scope::declareLocal(const SharedString& name, const Ref& value, Env* env) {
    vBase* variables = this->variables()->value();
    // An object keeps the declared name's shared string instead of copying it.
    bool isNew =
        variables->typeCode() == variable::Variable::TYPE_OBJECT
            ? static_cast<variable::Variable::vObject*>(variables)->declareMember(name, value)
            : variables->setMember(name.view(), value);
    // What was looked up from here may now resolve differently.
    m_serial = ++s_nextSerial;
    if (env) env->push(value);
    return isNew;
}

bool Scope::declare(const SharedString& name, const Ref& value, Env* env) {
    return declareLocal(name, value, env);
}

Ref Scope::visibleVariables() {
    for (Scope* scope = this; scope; scope = scope->m_outer) {
        int kind = scope->kind();
        if (kind == SCOPE_FUNCTION || kind == SCOPE_METHOD || kind == SCOPE_CONSTRUCTOR)
            return Ref(scope->variables());
    }
    return Ref(variables());
}

// Capture: outer variables first, so inner ones of the same name win.
Ref Scope::capture(const Ref& function) {
    if (m_outer) m_outer->capture(function);
    return captureOwnVariables(function);
}

// A variable is skipped when it holds the very function being built (the one
// it is being assigned to) or is a pointer to nothing.
Ref Scope::captureOwnVariables(const Ref& function) {
    materialize();
    if (!m_variables) return function;
    vBase* target = function.value();
    Ref names = m_variables.value()->keys();
    int count = names.value()->count();
    for (int i = 0; i < count; ++i) {
        SharedString name = names.value()->elementAt(i)->value()->toString();
        Holder* variable = m_variables.value()->findMember(name.view());
        if (!variable || variable->value() == target || isPointerWithoutTarget(variable)) continue;
        target->setMember(name.view(), Ref(variable));
    }
    return function;
}

Scope* AnonymousScope::clone() const {
    AnonymousScope* copy = new AnonymousScope(*this, 0);
    cloneOuterInto(copy);
    return copy;
}

Scope* AnonymousScope::onReturn() {
    return returnOutward();
}
Scope* AnonymousScope::onBreak() {
    return passOutward(&Scope::onBreak);
}
Scope* AnonymousScope::onContinue() {
    return passOutward(&Scope::onContinue);
}

Scope* LoopScope::clone() const {
    LoopScope* copy = new LoopScope(*this, 0);
    cloneOuterInto(copy);
    return copy;
}

Scope* LoopScope::onReturn() {
    return returnOutward();
}
Scope* LoopScope::onBreak() {
    return leave();
}

Scope* LoopScope::onContinue() {
    m_pc = m_restart;
    return this;
}

Scope* FunctionScope::clone() const {
    FunctionScope* copy = new FunctionScope(*this, 0);
    cloneOuterInto(copy);
    return copy;
}

// Lookup stops at the function object: the caller's names are not visible.
Holder* FunctionScope::lookup(std::string_view name) {
    if (Holder* found = ownVariable(name)) return found;
    return m_function ? m_function.value()->findMember(name) : nullptr;
}

Scope* FunctionScope::onReturn() {
    return leave();
}
// Break and continue outside any loop of the function do nothing.
Scope* FunctionScope::onBreak() {
    return this;
}
Scope* FunctionScope::onContinue() {
    return this;
}

// A goto never leaves a function.
Scope* FunctionScope::findLabel(std::string_view name) {
    int index;
    if (m_code && m_code->findLabel(name, index)) {
        m_pc = index;
        return this;
    }
    return nullptr;
}

// Statics live in the function object, so the initialiser counts only once.
bool FunctionScope::declareStatic(std::string_view name, const Ref& value, Env* env) {
    vBase* function = m_function.value();
    if (function->hasMember(name)) {
        // Already there: the initialiser's value is not kept, and a fresh empty
        // object takes its place on the stack, where the statement expects one.
        if (env) env->push(makeEmpty());
        return false;
    }
    function->setMember(name, value);
    if (env) env->push(value);
    return true;
}

// Closures capture up to their own function scope, no further.
Ref FunctionScope::capture(const Ref& function) {
    return captureOwnVariables(function);
}

Scope* MethodScope::clone() const {
    MethodScope* copy = new MethodScope(*this, 0);
    cloneOuterInto(copy);
    return copy;
}

// Own variables, then the bound object's members, then the function's.
Holder* MethodScope::lookup(std::string_view name) {
    if (Holder* found = ownVariable(name)) return found;
    if (m_self)
        if (Holder* found = m_self.value()->findMember(name)) return found;
    return m_function ? m_function.value()->findMember(name) : nullptr;
}

// A declaration in a method makes an instance variable of the bound object.
bool MethodScope::declare(const SharedString& name, const Ref& value, Env* env) {
    vBase* self = m_self.value();
    bool isNew = self->typeCode() == variable::Variable::TYPE_OBJECT
                     ? static_cast<variable::Variable::vObject*>(self)->declareMember(name, value)
                     : self->setMember(name.view(), value);
    if (env) env->push(value);
    return isNew;
}

Scope* ConstructorScope::clone() const {
    ConstructorScope* copy = new ConstructorScope(*this, 0);
    cloneOuterInto(copy);
    return copy;
}

// The expression `new`-ing a class evaluates to the instance.
Scope* ConstructorScope::onEnd(Env& env) {
    // The instance takes the place of whatever the constructor's last
    // statement left, so the expression yields one value either way.
    std::vector<Ref>& stack = env.stack();
    if (stack.empty())
        stack.push_back(m_self);
    else
        stack.back() = m_self;
    return leave();
}

} // namespace Kel
