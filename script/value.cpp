// What every value does unless its class says otherwise: the nothing value's
// behaviour, and the conversion call that lets any plain value convert its
// argument into its own type. Values come from the size-class pools.
#include "value.h"

#include "env.h"
#include "object.h"
#include "opcode.h"
#include "pool.h"
#include "printer.h"

namespace Kel::variable::Variable {

vBase::~vBase() = default;

int vBase::typeCode() const {
    return TYPE_NIL;
}

vBase* vBase::clone() const {
    return new vBase;
}

void vBase::gcTrace(Holder*, int&) {}

void vBase::gcMarkChildren() {}

void vBase::onRelease() {}

vBase* vBase::substitute(const Ref& rhs) {
    if (!rhs) return this;
    vBase* copy = rhs.value()->clone();
    delete this;
    return copy;
}

vBase* vBase::assign(const Ref& rhs) {
    return vBase::substitute(rhs);
}

void vBase::addAssign(const Ref&) {}
void vBase::subAssign(const Ref&) {}
void vBase::mulAssign(const Ref&) {}
void vBase::divAssign(const Ref&) {}
void vBase::modAssign(const Ref&) {}
void vBase::andAssign(const Ref&) {}
void vBase::orAssign(const Ref&) {}
void vBase::xorAssign(const Ref&) {}
void vBase::shlAssign(const Ref&) {}
void vBase::shrAssign(const Ref&) {}

bool vBase::equals(const Ref&) {
    return false;
}
bool vBase::notEquals(const Ref&) {
    return false;
}
bool vBase::lessEqual(const Ref&) {
    return false;
}
bool vBase::greaterEqual(const Ref&) {
    return false;
}
bool vBase::less(const Ref&) {
    return false;
}
bool vBase::greater(const Ref&) {
    return false;
}

void vBase::negate() {}
void vBase::complement() {}
Holder* vBase::pointee() {
    return nullptr;
}

bool vBase::toBool() {
    return false;
}
int32_t vBase::toInt() {
    return 0;
}
double vBase::toFloat() {
    return 0.0;
}
SharedString vBase::toString() {
    return SharedString();
}
void* vBase::nativePointer() {
    return nullptr;
}

int vBase::count() {
    return 0;
}
bool vBase::hasMember(std::string_view) {
    return false;
}
Holder* vBase::elementAt(int) {
    return nullptr;
}
Holder* vBase::member(std::string_view) {
    return nullptr;
}
void vBase::append(const Ref&) {}
Ref vBase::keys() {
    return makeEmpty();
}
Holder* vBase::findMember(std::string_view) {
    return nullptr;
}
bool vBase::setMember(std::string_view, const Ref&) {
    return false;
}
void vBase::removeMember(std::string_view) {}
void vBase::setOwner(Holder*) {}

// Calling a plain value converts the argument into a copy of the callee.
void vBase::call(Env& env, Holder* self) {
    Ref argument = env.pop();
    Ref result = Ref::adopt(self->cloneHolder());
    result->substitute(argument);
    env.push(std::move(result));
}

void vBase::instantiate(Env& env, Holder* self) {
    env.push(Ref::adopt(self->cloneHolder()));
}

Ref vBase::callSync(Env&, const Ref&, Holder*) {
    return Ref(new vBase);
}

Ref vBase::instantiateSync(Env&, const Ref&, Holder* self) {
    return Ref::adopt(self->cloneHolder());
}

int vBase::codeLength() {
    return 0;
}
CodeBlock* vBase::code() {
    return nullptr;
}
void vBase::appendOp(OpCode* op) {
    delete op;
}
void vBase::addLabel(std::string_view) {}
void vBase::serialize(std::string_view, ByteWriter&) {}

void vBase::dump() {
    printMessage("vBase\n");
}

} // namespace Kel::variable::Variable
