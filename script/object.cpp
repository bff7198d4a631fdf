// Objects: element array, member table and shared code block. The merging
// operators read the whole right-hand side before writing anything, because
// the right-hand side may be reached from this object (or be this object).
#include "object.h"

#include "code_block.h"
#include "env.h"
#include "natives.h"
#include "opcode.h"
#include "printer.h"
#include "scope.h"
#include "spare_env.h"
#include "string_value.h"

#include <utility>

namespace Kel::variable::Variable {
namespace {

using NamedRef = std::pair<SharedString, Ref>;

// Methods are rebound to whichever object holds them.
bool isBindableType(int type) {
    return type == TYPE_METHOD || type == TYPE_CMETHOD || type == TYPE_BIND_METHOD;
}
bool isBindable(vBase* value) {
    return isBindableType(value->typeCode());
}

// Element i of any value for merging and comparing: what elementAt gives, or
// for a value without elements (a number, a string) the value itself as its
// only element.
Ref sequenceItem(const Ref& sequence, int index) {
    Ref item(sequence.value()->elementAt(index));
    if (!item && index == 0) return sequence;
    return item;
}

std::vector<Ref> sequenceItems(const Ref& sequence) {
    int available = sequence.value()->count();
    std::vector<Ref> items;
    items.reserve(static_cast<size_t>(available > 0 ? available : 0));
    for (int i = 0; i < available; ++i)
        items.push_back(sequenceItem(sequence, i));
    return items;
}

// The members of any value in table order: an object's own table, or what
// keys and member answer for values that hand them on.
std::vector<NamedRef> memberList(vBase* value) {
    std::vector<NamedRef> list;
    if (value->typeCode() == TYPE_OBJECT) {
        const MemberTable& table = static_cast<vObject*>(value)->members();
        list.reserve(table.size());
        table.forEach(
            [&](MemberTable::Entry& entry) { list.emplace_back(entry.name, entry.value); });
        return list;
    }
    Ref names = value->keys();
    int count = names.value()->count();
    for (int i = 0; i < count; ++i) {
        Holder* name = names.value()->elementAt(i);
        SharedString text = name ? name->value()->toString() : SharedString();
        list.emplace_back(text, Ref(value->member(text.view())));
    }
    return list;
}

} // namespace

void refuseCall(Env& env) {
    env.pop();
    env.push(makeEmpty());
}

Ref runSync(Env& env, Scope* scope, const Ref& argument) {
    Scope* caller = env.current();
    if (!env.enterCall(scope)) return makeEmpty();
    env.push(argument ? argument : makeEmpty());
    // Only the entered scope and what it calls run here, not the caller's rest.
    env.run(caller);
    return env.pop();
}

vObject::~vObject() {
    // The methods inside are bound to this object without counting it; one
    // that outlives it (on the stack, behind a pointer) runs unbound from now
    // on instead of reaching a freed object.
    // The holder's own type code: a list of numbers asks it of every element.
    for (const Ref& element : m_elements) {
        if (element && isBindableType(element->typeCode())) element.value()->append(Ref());
    }
    m_members.forEach([](MemberTable::Entry& entry) {
        if (entry.value && isBindableType(entry.value->typeCode()))
            entry.value.value()->append(Ref());
    });
    if (m_code) m_code->release();
}

void vObject::shareCode(CodeBlock* block) {
    if (block == m_code) return;
    if (block) block->addRef();
    if (m_code) m_code->release();
    m_code = block;
}

vBase* vObject::clone() const {
    auto* copy = new vObject;
    copy->m_elements.reserve(m_elements.size());
    for (const Ref& element : m_elements)
        copy->m_elements.push_back(Ref::adopt(element->cloneHolder()));
    m_members.forEach([&](MemberTable::Entry& entry) {
        copy->m_members.insert(entry.name).value = Ref::adopt(entry.value->cloneHolder());
    });
    copy->shareCode(m_code);
    return copy;
}

void vObject::gcTrace(Holder* root, int& counter) {
    for (const Ref& element : m_elements)
        element->gcTrace(root, counter);
    m_members.forEach([&](MemberTable::Entry& entry) { entry.value->gcTrace(root, counter); });
}

void vObject::gcMarkChildren() {
    for (const Ref& element : m_elements)
        element->gcMark();
    m_members.forEach([&](MemberTable::Entry& entry) { entry.value->gcMark(); });
}

// The destructor member runs once: it is taken out before it runs, so that a
// collection started by the destructor itself cannot run it a second time.
void vObject::onRelease() {
    MemberTable::Entry* entry = m_members.find("destructor");
    if (!entry || !isBindable(entry->value.value())) return;
    Ref destructor = entry->value;
    m_members.remove("destructor");
    SpareEnv env;
    destructor.value()->callSync(*env, makeEmpty(), destructor.get());
}

// `=` into fresh storage takes a copy of the right-hand side; into an object
// with contents it merges.
vBase* vObject::substitute(const Ref& rhs) {
    if (!isEmpty()) {
        merge(rhs, false);
        return this;
    }
    vBase* copy = rhs.value()->clone();
    delete this;
    return copy;
}

vBase* vObject::assign(const Ref& rhs) {
    int type = rhs.value()->typeCode();
    if (!isEmpty() && (type == TYPE_OBJECT || type == TYPE_TUPLE)) {
        merge(rhs, true);
        return this;
    }
    vBase* copy = rhs.value()->clone();
    delete this;
    return copy;
}

void vObject::merge(const Ref& rhs, bool byAssign) {
    if (rhs.value() == this) return;
    Ref source = rhs;
    if (rhs.value()->typeCode() == TYPE_TUPLE) source = Ref::adopt(rhs->cloneHolder());
    std::vector<Ref> items = sequenceItems(source);
    std::vector<NamedRef> members = memberList(source.value());
    CodeBlock* code = source.value()->code();
    if (code) code->addRef(); // the writes below may drop the source's last hold on it

    if (!items.empty()) growingElement(m_elements, static_cast<int>(items.size()) - 1);
    for (size_t i = 0; i < items.size() && i < m_elements.size(); ++i) {
        Ref target = m_elements[i]; // a write may rebuild the element array
        if (!items[i]) continue;
        if (byAssign)
            target->assign(items[i]);
        else
            target->substitute(items[i]);
    }
    for (const NamedRef& named : members) {
        Ref target(member(named.first.view()));
        if (byAssign)
            target->assign(named.second);
        else
            target->substitute(named.second);
    }
    if (code) {
        shareCode(code);
        code->release();
    }
}

// `+=`: appends copies of the right-hand side's elements, merges its members
// and extends the code, which is how a class is extended by another.
void vObject::addAssign(const Ref& rhs) {
    std::vector<Ref> items = sequenceItems(rhs);
    std::vector<NamedRef> members = memberList(rhs.value());
    CodeBlock* code = rhs.value()->code();
    if (code) code->addRef();

    for (const Ref& item : items) {
        if (!item || m_elements.size() >= static_cast<size_t>(MAX_ELEMENTS)) continue;
        Ref slot = makeEmpty();
        slot->substitute(item);
        m_elements.push_back(std::move(slot));
    }
    for (const NamedRef& named : members) {
        Ref target(member(named.first.view()));
        target->substitute(named.second);
    }
    if (code) {
        if (!m_code)
            shareCode(code);
        else
            extendCode(code);
        code->release();
    }
}

void vObject::extendCode(CodeBlock* source) {
    // The caller holds `source`, so if it is this object's own block it counts
    // as shared and is copied before being extended: reading and writing stay
    // apart.
    CodeBlock* block = writableCode();
    if (block->kindAt(block->size() - 1) == KIND_RETURN) block->removeLast();
    int length = source->size();
    for (int i = 0; i < length; ++i)
        block->append(source->at(i)->clone());
}

CodeBlock* vObject::writableCode() {
    if (!m_code) {
        m_code = CodeBlock::create();
    } else if (m_code->isShared()) {
        CodeBlock* copy = m_code->copy();
        // A copy carries no labels; the instructions keep their places, so
        // the labels stay valid and go along, or a goto in the copy would
        // find nothing.
        if (copy->size() == m_code->size()) {
            m_code->labels().forEach([&](MemberTable::Entry& label) {
                copy->addLabel(label.name.view(), label.number);
            });
        }
        m_code->release();
        m_code = copy;
    }
    return m_code;
}

// Equality compares elements and members; a member missing here compares as
// an empty object would (never unequal), and nothing is created to look.
bool vObject::equals(const Ref& rhs) {
    vBase* other = rhs.value();
    if (other->count() != static_cast<int>(m_elements.size())) return false;
    for (size_t i = 0; i < m_elements.size(); ++i) {
        Ref item = sequenceItem(rhs, static_cast<int>(i));
        if (item && m_elements[i].value()->notEquals(item)) return false;
    }
    std::vector<NamedRef> members = memberList(other);
    if (members.size() != m_members.size()) return false;
    for (const NamedRef& named : members) {
        Holder* mine = findMember(named.first.view());
        if (mine && mine->value()->notEquals(named.second)) return false;
    }
    return true;
}

SharedString vObject::toString() {
    if (!m_elements.empty() || !m_members.empty()) return SharedString("[Object]");
    return SharedString(m_code ? "[function]" : "[null]");
}

bool vObject::hasMember(std::string_view name) {
    return m_members.find(name) != nullptr;
}

Holder* vObject::elementAt(int index) {
    return growingElement(m_elements, index);
}

Holder* vObject::member(std::string_view name) {
    bool inserted = false;
    MemberTable::Entry& entry = m_members.findOrInsert(name, inserted);
    if (inserted) entry.value = makeEmpty();
    return entry.value.get();
}

void vObject::append(const Ref& item) {
    if (m_elements.size() < static_cast<size_t>(MAX_ELEMENTS))
        m_elements.push_back(item ? Ref::adopt(item->cloneHolder()) : makeEmpty());
}

Ref vObject::keys() {
    auto* names = new vObject;
    names->m_elements.reserve(m_members.size());
    m_members.forEach([&](MemberTable::Entry& entry) {
        names->m_elements.emplace_back(new vString(entry.name));
    });
    return Ref(names);
}

Holder* vObject::findMember(std::string_view name) {
    MemberTable::Entry* entry = m_members.find(name);
    return entry ? entry->value.get() : nullptr;
}

bool vObject::setMember(std::string_view name, const Ref& item) {
    return declareMember(SharedString(name), item);
}

bool vObject::declareMember(const SharedString& name, const Ref& item) {
    bool inserted = false;
    MemberTable::Entry& entry = m_members.findOrInsert(name, inserted);
    entry.value = item ? item : makeEmpty();
    if (!m_members.isQuiet()) MemberTable::bindingsChanged();
    return inserted;
}

void vObject::removeMember(std::string_view name) {
    m_members.remove(name);
}

void vObject::setOwner(Holder* holder) {
    // Fresh storage is an empty object: nothing in it to bind.
    if (!holder || (m_elements.empty() && m_members.empty())) return;
    Ref self(holder);
    for (const Ref& element : m_elements) {
        if (isBindable(element.value())) element.value()->append(self);
    }
    m_members.forEach([&](MemberTable::Entry& entry) {
        if (isBindable(entry.value.value())) entry.value.value()->append(self);
    });
}

// Instance creation: copies of the class's elements and plain members; its
// functions become methods and its methods copies, bound when the instance
// gets its holder.
Ref vObject::makeInstance() {
    auto* instance = new vObject;
    instance->m_elements.reserve(m_elements.size());
    for (const Ref& element : m_elements)
        instance->m_elements.push_back(Ref::adopt(element->cloneHolder()));
    m_members.forEach([&](MemberTable::Entry& entry) {
        vBase* value = entry.value.value();
        Ref copy;
        if (isBindable(value))
            copy = Ref(value->clone());
        else if (value->typeCode() == TYPE_OBJECT && value->code())
            copy = Ref(new vMethod(entry.value.get(), nullptr));
        else
            copy = Ref::adopt(entry.value->cloneHolder());
        instance->m_members.insert(entry.name).value = std::move(copy);
    });
    return Ref(instance);
}

// Calling an object without code leaves its argument as the result; a host
// that wants to hear of such calls (a misspelled command) enables the report.
void vObject::call(Env& env, Holder* self) {
    if (!m_code) {
        report(DIAG_NOT_CALLABLE);
        return;
    }
    if (!env.enterCall(new FunctionScope(m_code, self))) refuseCall(env);
}

void vObject::instantiate(Env& env, Holder* self) {
    Ref instance = makeInstance();
    if (!m_code) {
        env.push(std::move(instance));
        return;
    }
    // Entered, the empty object is the constructor's argument; refused, it is
    // the expression's value.
    env.enterCall(new ConstructorScope(m_code, self, instance.get()));
    env.push(makeEmpty());
}

Ref vObject::callSync(Env& env, const Ref& argument, Holder* self) {
    if (!m_code) return Ref(new vBase);
    return runSync(env, new FunctionScope(m_code, self), argument);
}

Ref vObject::instantiateSync(Env& env, const Ref& argument, Holder* self) {
    Ref instance = makeInstance();
    if (!m_code) return instance;
    return runSync(env, new ConstructorScope(m_code, self, instance.get()), argument);
}

int vObject::codeLength() {
    return m_code ? m_code->size() : 0;
}

void vObject::appendOp(OpCode* op) {
    writableCode()->append(op);
}

void vObject::addLabel(std::string_view name) {
    CodeBlock* block = writableCode();
    block->addLabel(name, block->size());
}

} // namespace Kel::variable::Variable
