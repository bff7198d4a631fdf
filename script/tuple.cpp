// Tuples. A one-element tuple is the parenthesised form of its element and
// stands for it; any other tuple is a list of shared holders whose `=` and
// `:=` go element by element, so the elements' own variables change.
#include "tuple.h"

#include "env.h"
#include "forwarding.h"
#include "object.h"

namespace Kel::variable::Variable {

vBase* vRArray::clone() const {
    if (m_elements.size() == 1) {
        NestingGuard guard;
        return guard ? m_elements[0].value()->clone() : new vObject;
    }
    auto* copy = new vObject;
    copy->elements().reserve(m_elements.size());
    for (const Ref& element : m_elements)
        copy->elements().push_back(Ref::adopt(element->cloneHolder()));
    return copy;
}

void vRArray::gcTrace(Holder* root, int& counter) {
    for (const Ref& element : m_elements)
        element->gcTrace(root, counter);
}

void vRArray::gcMarkChildren() {
    for (const Ref& element : m_elements)
        element->gcMark();
}

// A tuple on the right is copied first, so that `(a, b) = (b, a)` reads both
// before writing either; pointer elements get the original holders instead,
// so they are retargeted rather than pointed at copies. A right-hand side
// without elements (a number, a string) counts as a sequence of itself.
namespace {

// Elements above this are not compared pairwise; such a list is copied.
constexpr size_t MAX_UNCOPIED_LIST = 8;

bool isScalar(vBase* value) {
    int type = value->typeCode();
    return type == TYPE_INT || type == TYPE_HEX || type == TYPE_FLOAT || type == TYPE_STRING;
}

// Writing into such a target replaces that holder's own value and touches no
// other holder.
bool isPlainTarget(vBase* value) {
    return isScalar(value) ||
           (value->typeCode() == TYPE_OBJECT && static_cast<vObject*>(value)->isEmpty());
}

} // namespace

// The copy of the right-hand side only keeps later reads from seeing earlier
// writes. It is not needed when the targets are plain (fresh parameters,
// numbers) and the sources are numbers or texts that are not targets
// themselves: then no write can reach a source. Argument passing is the
// common case.
bool vRArray::needsCopyToDistribute(const vRArray& sources) const {
    if (sources.m_elements.size() < 2 || sources.m_elements.size() > MAX_UNCOPIED_LIST ||
        m_elements.size() > MAX_UNCOPIED_LIST)
        return true;
    for (const Ref& source : sources.m_elements) {
        if (!isScalar(source.value())) return true;
    }
    for (const Ref& target : m_elements) {
        if (!isPlainTarget(target.value())) return true;
        for (const Ref& source : sources.m_elements) {
            if (source == target) return true;
        }
    }
    return false;
}

void vRArray::distribute(const Ref& rhs, bool byAssign) {
    Ref source = rhs;
    if (rhs.value()->typeCode() == TYPE_TUPLE &&
        needsCopyToDistribute(*static_cast<vRArray*>(rhs.value())))
        source = Ref::adopt(rhs->cloneHolder());
    int available = source.value()->count();
    for (int i = 0; i < available && static_cast<size_t>(i) < m_elements.size(); ++i) {
        Ref target = m_elements[static_cast<size_t>(i)]; // the list may change meanwhile
        const Ref& from = target.value()->typeCode() == TYPE_POINTER ? rhs : source;
        Ref item(from.value()->elementAt(i));
        if (!item) {
            if (i != 0) continue;
            item = from;
        }
        if (byAssign)
            target->assign(item);
        else
            target->substitute(item);
    }
}

vBase* vRArray::substitute(const Ref& rhs) {
    distribute(rhs, false);
    return this;
}

vBase* vRArray::assign(const Ref& rhs) {
    distribute(rhs, true);
    return this;
}

namespace {
// The in-place operators reach only the element a single-element tuple has.
Holder* soleHolder(const TupleElements& elements) {
    return elements.size() == 1 ? elements[0].get() : nullptr;
}
} // namespace

void vRArray::addAssign(const Ref& rhs) {
    applyInPlace(soleHolder(m_elements), &vBase::addAssign, rhs);
}
void vRArray::subAssign(const Ref& rhs) {
    applyInPlace(soleHolder(m_elements), &vBase::subAssign, rhs);
}
void vRArray::mulAssign(const Ref& rhs) {
    applyInPlace(soleHolder(m_elements), &vBase::mulAssign, rhs);
}
void vRArray::divAssign(const Ref& rhs) {
    applyInPlace(soleHolder(m_elements), &vBase::divAssign, rhs);
}
void vRArray::modAssign(const Ref& rhs) {
    applyInPlace(soleHolder(m_elements), &vBase::modAssign, rhs);
}
void vRArray::andAssign(const Ref& rhs) {
    applyInPlace(soleHolder(m_elements), &vBase::andAssign, rhs);
}
void vRArray::orAssign(const Ref& rhs) {
    applyInPlace(soleHolder(m_elements), &vBase::orAssign, rhs);
}
void vRArray::xorAssign(const Ref& rhs) {
    applyInPlace(soleHolder(m_elements), &vBase::xorAssign, rhs);
}
void vRArray::shlAssign(const Ref& rhs) {
    applyInPlace(soleHolder(m_elements), &vBase::shlAssign, rhs);
}
void vRArray::shrAssign(const Ref& rhs) {
    applyInPlace(soleHolder(m_elements), &vBase::shrAssign, rhs);
}

bool vRArray::equals(const Ref& rhs) {
    if (Holder* sole = soleHolder(m_elements))
        return askValue(sole, false, [&](vBase* v) { return v->equals(rhs); });
    if (rhs.value()->count() != static_cast<int>(m_elements.size())) return false;
    for (size_t i = 0; i < m_elements.size(); ++i) {
        Ref other(rhs.value()->elementAt(static_cast<int>(i)));
        if (m_elements[i].value()->notEquals(other ? other : rhs)) return false;
    }
    return true;
}

bool vRArray::notEquals(const Ref& rhs) {
    return askValue(soleHolder(m_elements), false, [&](vBase* v) { return v->notEquals(rhs); });
}
bool vRArray::lessEqual(const Ref& rhs) {
    return askValue(soleHolder(m_elements), false, [&](vBase* v) { return v->lessEqual(rhs); });
}
bool vRArray::greaterEqual(const Ref& rhs) {
    return askValue(soleHolder(m_elements), false, [&](vBase* v) { return v->greaterEqual(rhs); });
}
bool vRArray::less(const Ref& rhs) {
    return askValue(soleHolder(m_elements), false, [&](vBase* v) { return v->less(rhs); });
}
bool vRArray::greater(const Ref& rhs) {
    return askValue(soleHolder(m_elements), false, [&](vBase* v) { return v->greater(rhs); });
}

void vRArray::negate() {
    Holder* sole = soleHolder(m_elements);
    askValue(sole, 0, [&](vBase* v) {
        v->negate();
        v->setOwner(sole);
        return 0;
    });
}

void vRArray::complement() {
    Holder* sole = soleHolder(m_elements);
    askValue(sole, 0, [&](vBase* v) {
        v->complement();
        v->setOwner(sole);
        return 0;
    });
}

Holder* vRArray::pointee() {
    return askValue(soleHolder(m_elements), static_cast<Holder*>(nullptr),
                    [](vBase* v) { return v->pointee(); });
}

bool vRArray::toBool() {
    if (Holder* sole = soleHolder(m_elements))
        return askValue(sole, false, [](vBase* v) { return v->toBool(); });
    return !m_elements.empty();
}

int32_t vRArray::toInt() {
    if (Holder* sole = soleHolder(m_elements))
        return askValue(sole, 0, [](vBase* v) { return v->toInt(); });
    return static_cast<int32_t>(m_elements.size());
}

double vRArray::toFloat() {
    if (Holder* sole = soleHolder(m_elements))
        return askValue(sole, 0.0, [](vBase* v) { return v->toFloat(); });
    return static_cast<double>(m_elements.size());
}

SharedString vRArray::toString() {
    if (Holder* sole = soleHolder(m_elements))
        return askValue(sole, SharedString(), [](vBase* v) { return v->toString(); });
    return SharedString("[tuple]");
}

void* vRArray::nativePointer() {
    return askValue(soleHolder(m_elements), static_cast<void*>(nullptr),
                    [](vBase* v) { return v->nativePointer(); });
}

int vRArray::count() {
    if (Holder* sole = soleHolder(m_elements))
        return askValue(sole, 0, [](vBase* v) { return v->count(); });
    return static_cast<int>(m_elements.size());
}

bool vRArray::hasMember(std::string_view name) {
    return askValue(soleHolder(m_elements), false, [&](vBase* v) { return v->hasMember(name); });
}

Holder* vRArray::elementAt(int index) {
    if (Holder* sole = soleHolder(m_elements)) {
        return askValue(sole, static_cast<Holder*>(nullptr),
                        [&](vBase* v) { return v->elementAt(index); });
    }
    return growingElement(m_elements, index);
}

Holder* vRArray::member(std::string_view name) {
    return askValue(soleHolder(m_elements), static_cast<Holder*>(nullptr),
                    [&](vBase* v) { return v->member(name); });
}

Ref vRArray::keys() {
    Ref names = askValue(soleHolder(m_elements), Ref(), [](vBase* v) { return v->keys(); });
    return names ? names : makeEmpty();
}

void vRArray::call(Env& env, Holder*) {
    Ref sole(soleHolder(m_elements)); // the call may rebuild this tuple's element list
    askValue(sole.get(), 0, [&](vBase* v) {
        v->call(env, sole.get());
        return 0;
    });
}

void vRArray::instantiate(Env& env, Holder*) {
    Ref sole(soleHolder(m_elements));
    askValue(sole.get(), 0, [&](vBase* v) {
        v->instantiate(env, sole.get());
        return 0;
    });
}

Ref vRArray::callSync(Env& env, const Ref& argument, Holder*) {
    Ref sole(soleHolder(m_elements));
    Ref result = askValue(sole.get(), Ref(),
                          [&](vBase* v) { return v->callSync(env, argument, sole.get()); });
    return result ? result : Ref(new vBase);
}

} // namespace Kel::variable::Variable
