// Methods and host callables. A call pops its argument and leaves one result
// on the stack; host results are copied onto the stack so that a holder the
// host keeps is never changed by the script in place.
#include "natives.h"

#include "code_block.h"
#include "env.h"
#include "object.h"
#include "opcode.h"
#include "scope.h"

#include <algorithm>

namespace Kel::variable::Variable {
namespace {

bool isPlain(const vBase& value) {
    return isPlainType(value.typeCode());
}

// What the host answered, as a stack value of the script's own. A number or
// a text that only the answer holds is that already: its copy could not be
// told from it, and dropping it runs nothing.
Ref copyOfResult(Ref result) {
    if (!result) return makeEmpty();
    if (result->count() == 1 && isPlainType(result->typeCode())) return result;
    return Ref::adopt(result->cloneHolder());
}

// A value whose copy, made and dropped, runs no script code: a number, a
// text or a native callable.
bool isInert(const vBase& value) {
    return isPlain(value) || value.typeCode() == TYPE_CFUNCTION || value.typeCode() == TYPE_CMETHOD;
}

// A list (or table) of inert values without a destructor: neither making a
// copy of it nor dropping that copy runs script code.
bool isInertList(const vBase& value) {
    if (value.typeCode() != TYPE_OBJECT) return false;
    const auto& object = static_cast<const vObject&>(value);
    bool inert = object.members().find("destructor") == nullptr;
    object.members().forEach([&inert](const MemberTable::Entry& entry) {
        inert = inert && isInert(*entry.value.value());
    });
    return inert && std::all_of(object.elements().begin(), object.elements().end(),
                                [](const Ref& element) { return isInert(*element.value()); });
}

// An answer the next instruction pops is never seen: its copy would be made
// only to be dropped, and for an inert list neither the copy nor its drop
// runs script code, so the list goes on the stack as it is (a sort answers
// the whole list it sorted).
Ref answerFor(Env& env, Ref result) {
    if (!result || result->typeCode() != TYPE_OBJECT) return copyOfResult(std::move(result));
    Scope* scope = env.current();
    if (scope && scope->code()->kindAt(scope->pc()) == KIND_POP && isInertList(*result.value()))
        return result;
    return copyOfResult(std::move(result));
}

} // namespace

// --- vMethod ----------------------------------------------------------------

// A copy lives outside the object it is bound to (in a variable, a result, on
// the stack), so it holds that object counted: the object may go first. Bound
// again inside an object, it drops the count (append).
vBase* vMethod::clone() const {
    auto* copy = new vMethod(m_function.get(), m_self);
    copy->m_keeper = m_self ? Ref(m_self) : m_keeper;
    return copy;
}

void vMethod::gcTrace(Holder* root, int& counter) {
    if (m_function) m_function->gcTrace(root, counter);
    if (m_keeper) m_keeper->gcTrace(root, counter);
}

void vMethod::gcMarkChildren() {
    if (m_function) m_function->gcMark();
    if (m_keeper) m_keeper->gcMark();
}

vBase* vMethod::substitute(const Ref& rhs) {
    vBase* value = rhs.value();
    switch (value->typeCode()) {
    case TYPE_METHOD:
        m_function = Ref(static_cast<vMethod*>(value)->function());
        return this;
    case TYPE_OBJECT:
        if (value->code()) m_function = rhs;
        return this;
    case TYPE_CFUNCTION: {
        vBase* copy = value->clone();
        delete this;
        return copy;
    }
    case TYPE_CMETHOD: {
        vBase* bound = value->clone();
        bound->append(Ref(m_self));
        delete this;
        return bound;
    }
    default:
        return this;
    }
}

SharedString vMethod::toString() {
    return SharedString("[Method]");
}

Holder* vMethod::elementAt(int index) {
    if (index == 0) return m_function.get();
    return index == 1 ? m_self : nullptr;
}

CodeBlock* vMethod::code() {
    return m_function ? m_function.value()->code() : nullptr;
}

// A method without a bound object runs as a plain function call.
void vMethod::call(Env& env, Holder*) {
    CodeBlock* block = code();
    if (!block) return;
    Scope* scope = m_self ? new MethodScope(block, m_function.get(), m_self)
                          : new FunctionScope(block, m_function.get());
    if (!env.enterCall(scope)) refuseCall(env);
}

Ref vMethod::callSync(Env& env, const Ref& argument, Holder*) {
    CodeBlock* block = code();
    if (!block) return Ref(new vBase);
    if (m_self) return runSync(env, new MethodScope(block, m_function.get(), m_self), argument);
    return runSync(env, new FunctionScope(block, m_function.get()), argument);
}

// --- vCFunction -------------------------------------------------------------

vBase* vCFunction::clone() const {
    return new vCFunction(m_function);
}

vBase* vCFunction::substitute(const Ref& rhs) {
    if (rhs.value()->typeCode() != TYPE_CFUNCTION) return this;
    vBase* copy = rhs.value()->clone();
    delete this;
    return copy;
}

SharedString vCFunction::toString() {
    return SharedString("[CFunction]");
}

void vCFunction::call(Env& env, Holder*) {
    Ref argument = env.pop();
    env.push(answerFor(env, m_function ? m_function(argument) : Ref()));
}

Ref vCFunction::callSync(Env&, const Ref& argument, Holder*) {
    return copyOfResult(m_function ? m_function(argument) : Ref());
}

// --- vCMethod ---------------------------------------------------------------

// Copies hold their object counted, as method copies do.
vBase* vCMethod::clone() const {
    auto* copy = new vCMethod(m_method, m_self);
    copy->m_keeper = m_self ? Ref(m_self) : m_keeper;
    return copy;
}

void vCMethod::gcTrace(Holder* root, int& counter) {
    if (m_keeper) m_keeper->gcTrace(root, counter);
}

void vCMethod::gcMarkChildren() {
    if (m_keeper) m_keeper->gcMark();
}

vBase* vCMethod::substitute(const Ref& rhs) {
    int type = rhs.value()->typeCode();
    if (type != TYPE_CMETHOD && type != TYPE_METHOD) return this;
    vBase* bound = rhs.value()->clone();
    bound->append(Ref(m_self));
    delete this;
    return bound;
}

SharedString vCMethod::toString() {
    return SharedString("[CMethod]");
}

Holder* vCMethod::elementAt(int index) {
    return index == 1 ? m_self : nullptr;
}

void vCMethod::call(Env& env, Holder*) {
    Ref argument = env.pop();
    env.push(answerFor(env, m_method ? m_method(m_self, argument) : Ref()));
}

Ref vCMethod::callSync(Env&, const Ref& argument, Holder*) {
    return copyOfResult(m_method ? m_method(m_self, argument) : Ref());
}

// --- vCPointer --------------------------------------------------------------

vBase* vCPointer::clone() const {
    return new vCPointer(m_pointer);
}

vBase* vCPointer::substitute(const Ref& rhs) {
    m_pointer = rhs.value()->nativePointer();
    return this;
}

bool vCPointer::equals(const Ref& rhs) {
    return m_pointer == rhs.value()->nativePointer();
}
bool vCPointer::notEquals(const Ref& rhs) {
    return m_pointer != rhs.value()->nativePointer();
}

SharedString vCPointer::toString() {
    return SharedString(m_pointer ? "[cpointer]" : "NULL");
}

} // namespace Kel::variable::Variable
