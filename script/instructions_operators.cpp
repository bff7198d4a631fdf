// Assignment and operator instructions. The two-operand and unary operators
// work on a copy of the left operand, so the result keeps the left operand's
// type and constants shared by PUSH_* are never changed; the compound
// assignments and prefix steps change the left holder in place.
#include "instructions.h"

#include "env.h"
#include "numbers.h"

namespace Kel {

using namespace variable::Variable;

namespace {

using InPlace = void (vBase::*)(const Ref&);
using Comparison = bool (vBase::*)(const Ref&);

// b = pop; a = pop; push a copy of a with `operation` of b applied.
int applyToCopy(Env& env, InPlace operation) {
    Ref right = env.pop();
    Ref left = env.pop();
    Ref result = Ref::adopt(left->cloneHolder());
    vBase* value = result.value();
    (value->*operation)(right);
    value->setOwner(result.get());
    env.push(std::move(result));
    return STATUS_CONTINUE;
}

// b = pop; apply `operation` of b to the top holder, which stays.
int applyInPlace(Env& env, InPlace operation) {
    Ref right = env.pop();
    Holder* left = env.top();
    vBase* value = left->value();
    (value->*operation)(right);
    value->setOwner(left);
    return STATUS_CONTINUE;
}

Ref makeInt(bool truth) {
    return Ref::adopt(Holder::makeInt(truth ? 1 : 0));
}

// b = pop; a = pop; push int 1 or 0 from a's `comparison` with b.
int compare(Env& env, Comparison comparison) {
    Ref right = env.pop();
    Ref left = env.pop();
    env.push(makeInt((left.value()->*comparison)(right)));
    return STATUS_CONTINUE;
}

// a = pop; push a copy of a after `operation`.
int unaryOnCopy(Env& env, void (vBase::*operation)()) {
    Ref operand = env.pop();
    Ref result = Ref::adopt(operand->cloneHolder());
    (result.value()->*operation)();
    env.push(std::move(result));
    return STATUS_CONTINUE;
}

// Postfix step: push a copy of the old value, then step the holder itself.
int postfixStep(Env& env, InPlace step, const Ref& one) {
    Ref operand = env.pop();
    env.push(Ref::adopt(operand->cloneHolder()));
    vBase* value = operand.value();
    (value->*step)(one);
    value->setOwner(operand.get());
    return STATUS_CONTINUE;
}

// Prefix step: step the top holder in place; it stays on the stack.
int prefixStep(Env& env, InPlace step, const Ref& one) {
    Holder* operand = env.top();
    vBase* value = operand->value();
    (value->*step)(one);
    value->setOwner(operand);
    return STATUS_CONTINUE;
}

} // namespace

int SUBSTITUTION::execute(Env& env) {
    Ref right = env.pop();
    env.top()->substitute(right);
    return STATUS_CONTINUE;
}

int ASSIGNMENT::execute(Env& env) {
    Ref right = env.pop();
    env.top()->assign(right);
    return STATUS_CONTINUE;
}

int ARGUMENT::execute(Env& env) {
    Ref target = env.pop();
    Ref source = env.pop();
    target->substitute(source);
    env.push(std::move(target));
    return STATUS_CONTINUE;
}

int PLUS::execute(Env&) {
    return STATUS_CONTINUE;
}
int MINUS::execute(Env& env) {
    return unaryOnCopy(env, &vBase::negate);
}
int COMPL::execute(Env& env) {
    return unaryOnCopy(env, &vBase::complement);
}

int NOT::execute(Env& env) {
    Ref operand = env.pop();
    env.push(makeInt(!operand.value()->toBool()));
    return STATUS_CONTINUE;
}

INC::INC() : m_one(new vInt(1)) {}
DEC::DEC() : m_one(new vInt(1)) {}
PINC::PINC() : m_one(new vInt(1)) {}
PDEC::PDEC() : m_one(new vInt(1)) {}
int INC::execute(Env& env) {
    return postfixStep(env, &vBase::addAssign, m_one);
}
int DEC::execute(Env& env) {
    return postfixStep(env, &vBase::subAssign, m_one);
}
int PINC::execute(Env& env) {
    return prefixStep(env, &vBase::addAssign, m_one);
}
int PDEC::execute(Env& env) {
    return prefixStep(env, &vBase::subAssign, m_one);
}

int ADD::execute(Env& env) {
    return applyToCopy(env, &vBase::addAssign);
}
int SUB::execute(Env& env) {
    return applyToCopy(env, &vBase::subAssign);
}
int MUL::execute(Env& env) {
    return applyToCopy(env, &vBase::mulAssign);
}
int DIV::execute(Env& env) {
    return applyToCopy(env, &vBase::divAssign);
}
int MOD::execute(Env& env) {
    return applyToCopy(env, &vBase::modAssign);
}
int AND::execute(Env& env) {
    return applyToCopy(env, &vBase::andAssign);
}
int OR::execute(Env& env) {
    return applyToCopy(env, &vBase::orAssign);
}
int XOR::execute(Env& env) {
    return applyToCopy(env, &vBase::xorAssign);
}
int SHL::execute(Env& env) {
    return applyToCopy(env, &vBase::shlAssign);
}
int SHR::execute(Env& env) {
    return applyToCopy(env, &vBase::shrAssign);
}

int SADD::execute(Env& env) {
    return applyInPlace(env, &vBase::addAssign);
}
int SSUB::execute(Env& env) {
    return applyInPlace(env, &vBase::subAssign);
}
int SMUL::execute(Env& env) {
    return applyInPlace(env, &vBase::mulAssign);
}
int SDIV::execute(Env& env) {
    return applyInPlace(env, &vBase::divAssign);
}
int SMOD::execute(Env& env) {
    return applyInPlace(env, &vBase::modAssign);
}
int SAND::execute(Env& env) {
    return applyInPlace(env, &vBase::andAssign);
}
int SOR::execute(Env& env) {
    return applyInPlace(env, &vBase::orAssign);
}
int SXOR::execute(Env& env) {
    return applyInPlace(env, &vBase::xorAssign);
}
int SSHL::execute(Env& env) {
    return applyInPlace(env, &vBase::shlAssign);
}
int SSHR::execute(Env& env) {
    return applyInPlace(env, &vBase::shrAssign);
}

int EQ::execute(Env& env) {
    return compare(env, &vBase::equals);
}
int NEQ::execute(Env& env) {
    return compare(env, &vBase::notEquals);
}
int LE::execute(Env& env) {
    return compare(env, &vBase::lessEqual);
}
int GE::execute(Env& env) {
    return compare(env, &vBase::greaterEqual);
}
int LT::execute(Env& env) {
    return compare(env, &vBase::less);
}
int GT::execute(Env& env) {
    return compare(env, &vBase::greater);
}

int BAND::execute(Env& env) {
    Ref right = env.pop();
    Ref left = env.pop();
    env.push(makeInt(left.value()->toBool() && right.value()->toBool()));
    return STATUS_CONTINUE;
}

int BOR::execute(Env& env) {
    Ref right = env.pop();
    Ref left = env.pop();
    env.push(makeInt(left.value()->toBool() || right.value()->toBool()));
    return STATUS_CONTINUE;
}

} // namespace Kel
