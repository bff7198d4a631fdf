// Pointers: everything but identity, retargeting and a few own questions is
// handed on to the target's value; without a target the nothing value's
// behaviour applies, with a few answers of the pointer's own.
#include "pointer.h"

#include "env.h"
#include "forwarding.h"
#include "object.h"

namespace Kel::variable::Variable {

vBase* vPointer::clone() const {
    return new vPointer(m_target.get());
}

void vPointer::gcTrace(Holder* root, int& counter) {
    if (m_target) m_target->gcTrace(root, counter);
}

void vPointer::gcMarkChildren() {
    if (m_target) m_target->gcMark();
}

vBase* vPointer::substitute(const Ref& rhs) {
    if (rhs.value()->typeCode() == TYPE_POINTER) {
        m_target = Ref(rhs.value()->pointee());
    } else if (m_target) {
        Ref target = m_target; // the write may drop this pointer's own holder
        target->substitute(rhs);
    } else {
        m_target = rhs;
    }
    return this;
}

void vPointer::addAssign(const Ref& rhs) {
    applyInPlace(m_target.get(), &vBase::addAssign, rhs);
}
void vPointer::subAssign(const Ref& rhs) {
    applyInPlace(m_target.get(), &vBase::subAssign, rhs);
}
void vPointer::mulAssign(const Ref& rhs) {
    applyInPlace(m_target.get(), &vBase::mulAssign, rhs);
}
void vPointer::divAssign(const Ref& rhs) {
    applyInPlace(m_target.get(), &vBase::divAssign, rhs);
}
void vPointer::modAssign(const Ref& rhs) {
    applyInPlace(m_target.get(), &vBase::modAssign, rhs);
}
void vPointer::andAssign(const Ref& rhs) {
    applyInPlace(m_target.get(), &vBase::andAssign, rhs);
}
void vPointer::orAssign(const Ref& rhs) {
    applyInPlace(m_target.get(), &vBase::orAssign, rhs);
}
void vPointer::xorAssign(const Ref& rhs) {
    applyInPlace(m_target.get(), &vBase::xorAssign, rhs);
}
void vPointer::shlAssign(const Ref& rhs) {
    applyInPlace(m_target.get(), &vBase::shlAssign, rhs);
}
void vPointer::shrAssign(const Ref& rhs) {
    applyInPlace(m_target.get(), &vBase::shrAssign, rhs);
}

// Equality is identity of targets; two pointers without targets are equal.
bool vPointer::equals(const Ref& rhs) {
    return rhs.value()->pointee() == m_target.get();
}

bool vPointer::notEquals(const Ref& rhs) {
    return !equals(rhs);
}

bool vPointer::lessEqual(const Ref& rhs) {
    return askValue(m_target.get(), false, [&](vBase* v) { return v->lessEqual(rhs); });
}
bool vPointer::greaterEqual(const Ref& rhs) {
    return askValue(m_target.get(), false, [&](vBase* v) { return v->greaterEqual(rhs); });
}
bool vPointer::less(const Ref& rhs) {
    return askValue(m_target.get(), false, [&](vBase* v) { return v->less(rhs); });
}
bool vPointer::greater(const Ref& rhs) {
    return askValue(m_target.get(), false, [&](vBase* v) { return v->greater(rhs); });
}

void vPointer::negate() {
    askValue(m_target.get(), 0, [](vBase* v) {
        v->negate();
        return 0;
    });
}

int32_t vPointer::toInt() {
    return askValue(m_target.get(), 0, [](vBase* v) { return v->toInt(); });
}

double vPointer::toFloat() {
    return askValue(m_target.get(), 0.0, [](vBase* v) { return v->toFloat(); });
}

SharedString vPointer::toString() {
    if (!m_target) return SharedString("[nullptr]");
    return askValue(m_target.get(), SharedString(), [](vBase* v) { return v->toString(); });
}

int vPointer::count() {
    return askValue(m_target.get(), 0, [](vBase* v) { return v->count(); });
}

bool vPointer::hasMember(std::string_view name) {
    return askValue(m_target.get(), false, [&](vBase* v) { return v->hasMember(name); });
}

Holder* vPointer::elementAt(int index) {
    return askValue(m_target.get(), static_cast<Holder*>(nullptr),
                    [&](vBase* v) { return v->elementAt(index); });
}

Holder* vPointer::member(std::string_view name) {
    return askValue(m_target.get(), static_cast<Holder*>(nullptr),
                    [&](vBase* v) { return v->member(name); });
}

Ref vPointer::keys() {
    Ref names = askValue(m_target.get(), Ref(), [](vBase* v) { return v->keys(); });
    return names ? names : makeEmpty();
}

bool vPointer::setMember(std::string_view name, const Ref& item) {
    return askValue(m_target.get(), false, [&](vBase* v) { return v->setMember(name, item); });
}

void vPointer::removeMember(std::string_view name) {
    askValue(m_target.get(), 0, [&](vBase* v) {
        v->removeMember(name);
        return 0;
    });
}

void vPointer::call(Env& env, Holder*) {
    if (!m_target) {
        // Without a target, calling makes a pointer to the argument.
        Ref argument = env.pop();
        env.push(Ref(new vPointer(argument.get())));
        return;
    }
    Ref target = m_target;
    askValue(target.get(), 0, [&](vBase* v) {
        v->call(env, target.get());
        return 0;
    });
}

void vPointer::instantiate(Env& env, Holder* self) {
    if (!m_target) {
        env.push(Ref::adopt(self->cloneHolder()));
        return;
    }
    Ref target = m_target;
    askValue(target.get(), 0, [&](vBase* v) {
        v->instantiate(env, target.get());
        return 0;
    });
}

Ref vPointer::callSync(Env& env, const Ref& argument, Holder*) {
    Ref target = m_target;
    Ref result = askValue(target.get(), Ref(),
                          [&](vBase* v) { return v->callSync(env, argument, target.get()); });
    return result ? result : Ref(new vBase);
}

Ref vPointer::instantiateSync(Env& env, const Ref& argument, Holder* self) {
    if (!m_target) return vBase::instantiateSync(env, argument, self);
    Ref target = m_target;
    Ref result = askValue(target.get(), Ref(), [&](vBase* v) {
        return v->instantiateSync(env, argument, target.get());
    });
    return result ? result : Ref(new vBase);
}

int vPointer::codeLength() {
    return askValue(m_target.get(), 0, [](vBase* v) { return v->codeLength(); });
}

CodeBlock* vPointer::code() {
    return askValue(m_target.get(), static_cast<CodeBlock*>(nullptr),
                    [](vBase* v) { return v->code(); });
}

void vPointer::appendOp(OpCode* op) {
    bool taken = askValue(m_target.get(), false, [&](vBase* v) {
        v->appendOp(op);
        return true;
    });
    if (!taken) vBase::appendOp(op); // the instruction must not leak
}

void vPointer::addLabel(std::string_view name) {
    askValue(m_target.get(), 0, [&](vBase* v) {
        v->addLabel(name);
        return 0;
    });
}

void vPointer::serialize(std::string_view name, ByteWriter& out) {
    askValue(m_target.get(), 0, [&](vBase* v) {
        v->serialize(name, out);
        return 0;
    });
}

} // namespace Kel::variable::Variable
