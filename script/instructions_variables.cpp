// Instructions that name storage: variable reads, the four declarations,
// member and element selection, pointers and tuples. Whatever they select,
// they push a holder: where a value has no such place (a member of a number,
// the target of a non-pointer) a fresh empty object stands in for it.
#include "instructions.h"

#include "env.h"
#include "exec_form.h"
#include "member_table.h"
#include "natives.h"
#include "numbers.h"
#include "object.h"
#include "pointer.h"
#include "printer.h"
#include "scope.h"
#include "tuple.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

namespace Kel {

using namespace variable::Variable;

namespace {

// Elements a tuple made by LIST has room for before it first grows.
constexpr size_t LIST_START_CAPACITY = 4;
constexpr const char* MSG_SLICE_TOO_LONG =
    "runtime error : a slice of %d elements is longer than a list may be (%d)\n";

// Pushes `holder`, or a fresh empty object when the value had no such place.
void pushOrEmpty(Env& env, Holder* holder) {
    if (holder)
        env.push(holder);
    else
        env.push(makeEmpty());
}

// Pushes the member holder of `owner`. Methods are bound to their object
// without counting it, so a method read from a temporary (an instance made in
// the expression, that nothing else holds) is pushed as a copy that keeps the
// temporary alive; otherwise the call would reach a freed object.
void pushMember(Env& env, const Ref& owner, Holder* member) {
    if (member && owner->count() == 1) {
        vBase* value = member->value();
        int type = value->typeCode();
        if (type == TYPE_METHOD || type == TYPE_CMETHOD) {
            vBase* copy = value->clone();
            if (type == TYPE_METHOD)
                static_cast<vMethod*>(copy)->keepAlive(owner);
            else
                static_cast<vCMethod*>(copy)->keepAlive(owner);
            env.push(Ref(copy));
            return;
        }
    }
    pushOrEmpty(env, member);
}

// The element of `container` at `index`; an index outside 0..INT32_MAX has none.
Ref elementOrEmpty(vBase* container, int64_t index) {
    bool valid = index >= 0 && index <= INT32_MAX;
    Holder* element = valid ? container->elementAt(static_cast<int>(index)) : nullptr;
    return element ? Ref(element) : makeEmpty();
}

void reportRedeclared(std::string_view name) {
    report(DIAG_REDECLARED, name);
}

// A slice: `count` elements from `start` upward, or downward for a negative
// count. The tuple shares the container's holders, so writing into the slice
// writes into the container.
Ref slice(vBase* container, vRArray& range) {
    const TupleElements& bounds = range.elements();
    int start = bounds[0].value()->toInt();
    int count = bounds[1].value()->toInt();
    // Checked before anything is made: a slice is a list like any other.
    if (count > MAX_ELEMENTS || count < -MAX_ELEMENTS) {
        printMessage(MSG_SLICE_TOO_LONG, count, MAX_ELEMENTS);
        return makeEmpty();
    }
    if (start < 0) start = std::max(start + container->count(), 0);
    auto* tuple = new vRArray;
    Ref result(tuple);
    int step = count < 0 ? -1 : 1;
    for (int k = 0; k != count; k += step)
        tuple->add(elementOrEmpty(container, int64_t{start} + k));
    return result;
}

// A name found nowhere becomes a local of the current scope (reported).
Holder* declareUndeclared(Scope* scope, const SharedString& name) {
    report(DIAG_UNDECLARED, name.view());
    Ref fresh = makeEmpty();
    scope->declareLocal(name, fresh, nullptr);
    return fresh.get();
}

// The member table of a scope's own variables, if it has one.
MemberTable* ownTable(Scope* scope) {
    Holder* variables = scope->ownVariables();
    if (!variables || variables->typeCode() != TYPE_OBJECT) return nullptr;
    return &static_cast<vObject*>(variables->value())->members();
}

// The usual index: an int within an object's elements, which selects an
// element that is there already.
Holder* existingElement(const std::vector<Ref>& stack) {
    if (stack.size() < 2) return nullptr;
    vBase* key = stack.back().value();
    vBase* target = stack[stack.size() - 2].value();
    if (key->typeCode() != TYPE_INT || target->typeCode() != TYPE_OBJECT) return nullptr;
    return static_cast<vObject*>(target)->presentElement(static_cast<vInt*>(key)->value());
}

} // namespace

Holder* resolveVariable(Env& env, std::string_view name) {
    Scope* scope = env.current();
    if (scope)
        if (Holder* found = scope->lookup(name)) return found;
    if (Holder* global = Env::global().value()->findMember(name)) return global;
    return scope ? declareUndeclared(scope, name) : nullptr;
}

// The memos of the searches past the ones answered at once. Most reads of a
// compiled program never run, and those that do mostly stop short of these.
struct VARIABLE::SearchMemos {
    // The function object and the binding epoch of what a plain function's
    // frame of the list met last found.
    vBase* frameFunction = nullptr;
    uint64_t frameEpoch = 0;
    uint64_t globalEpoch = UINT64_MAX; // no epoch yet
    Holder* global = nullptr;
    // Kept shared, so no other name can come to have this buffer's address.
    SharedString ownName;
    // The name a read declares when it is found nowhere, made once.
    SharedString undeclaredName;
    uint32_t ownSlot = 0;
    // The function object last found without a member of the name, as of its
    // binding epoch.
    vBase* memberless = nullptr;
    uint64_t memberlessEpoch = UINT64_MAX;
    MemberTable::SlotMemo functionMemo;
    MemberTable::SlotMemo selfMemo;
    // Found outward: the serial of the outer scope the lookup went on from
    // (0 for none), the binding epoch, and the holder.
    uint64_t outwardScope = 0;
    uint64_t outwardEpoch = 0;
    Holder* outwardFound = nullptr;
    // The one variable the origin had then, when it had one (a loop's
    // counter): a table holding only that other name lacks this one.
    MemberTable::SlotMemo otherOwnName;
    // Found nowhere from the origin of this serial, as of this binding epoch.
    uint64_t absentFrom = 0;
    uint64_t absentEpoch = 0;
};

VARIABLE::VARIABLE(std::string_view name) : m_name(name) {}

VARIABLE::~VARIABLE() = default;

Holder* VARIABLE::globalMember() {
    uint64_t epoch = MemberTable::bindingEpoch();
    if (epoch != m_search->globalEpoch) {
        m_search->global = Env::global().value()->findMember(m_name);
        m_search->globalEpoch = epoch;
    }
    return m_search->global;
}

// A lookup searches the origin's own variables first, and names are unique in
// a table: an entry in the remembered slot under the remembered name is the
// one it would find.
Holder* VARIABLE::rememberedOwnVariable(Scope* origin) const {
    if (!m_search->ownName.hasBuffer()) return nullptr;
    MemberTable* table = ownTable(origin);
    if (!table || m_search->ownSlot >= table->slotCount()) return nullptr;
    MemberTable::Entry* entry = table->slot(m_search->ownSlot);
    return entry && entry->name.sharesBuffer(m_search->ownName) ? entry->value.get() : nullptr;
}

void VARIABLE::rememberOwnVariable(Scope* origin, Holder* found) {
    MemberTable* table = ownTable(origin);
    MemberTable::Entry* entry = table ? table->find(m_name) : nullptr;
    if (entry && entry->value.get() == found) {
        m_search->ownName = entry->name;
        m_search->ownSlot = table->slotIndex(*entry);
    } else {
        m_search->ownName = SharedString();
    }
}

// A name is one of the parameters or none of the frame's own variables; in a
// method's scope the bound object's members come next, then in every call's
// scope the function's members, and a name missing there stays missing until
// a binding moves somewhere.
Holder* VARIABLE::inFrame(Scope* origin, uint64_t epoch) {
    const ParameterList* list = origin->parameterList();
    if (!list) return nullptr;
    if (list->serial != m_frameSerial) {
        m_frameSerial = list->serial;
        m_frameIndex = list->indexOf(m_name);
        m_frameFound = nullptr;
    }
    if (m_frameIndex != ParameterList::ABSENT) return origin->parameterAt(m_frameIndex);
    int kind = origin->kind();
    if (kind != SCOPE_FUNCTION) {
        bool method = kind == SCOPE_METHOD || kind == SCOPE_CONSTRUCTOR;
        return method ? inMethodFrame(static_cast<MethodScope*>(origin), epoch) : nullptr;
    }
    Holder* function = static_cast<FunctionScope*>(origin)->function();
    if (!function) return nullptr;
    m_search->frameFunction = function->value();
    m_search->frameEpoch = epoch;
    m_frameFound = functionOrGlobal(m_search->frameFunction, epoch);
    return m_frameFound;
}

// A method's bound object comes before the function's members.
Holder* VARIABLE::inMethodFrame(MethodScope* origin, uint64_t epoch) {
    Holder* self = origin->self();
    if (Holder* member = self ? rememberedMember(self->value(), m_search->selfMemo) : nullptr)
        return member;
    Holder* function = origin->function();
    return function ? functionOrGlobal(function->value(), epoch) : nullptr;
}

[[gnu::always_inline]] inline Holder* VARIABLE::selfMemberInFrame(Scope* origin) const {
    Holder* self = static_cast<MethodScope*>(origin)->self();
    if (!self || self->typeCode() != TYPE_OBJECT) return nullptr;
    MemberTable& table = static_cast<vObject*>(self->value())->members();
    MemberTable::Entry* entry = m_search->selfMemo.recall(table);
    return entry ? entry->value.get() : nullptr;
}

Holder* VARIABLE::functionOrGlobal(vBase* function, uint64_t epoch) {
    if (function != m_search->memberless || epoch != m_search->memberlessEpoch) {
        if (Holder* member = rememberedMember(function, m_search->functionMemo)) return member;
        m_search->memberless = function;
        m_search->memberlessEpoch = epoch;
    }
    return globalMember();
}

[[gnu::always_inline]] inline Holder* VARIABLE::foundInFrame(Scope* origin, uint64_t epoch) const {
    if (!m_frameFound || epoch != m_search->frameEpoch) return nullptr;
    Holder* function = static_cast<FunctionScope*>(origin)->function();
    return function && function->value() == m_search->frameFunction ? m_frameFound : nullptr;
}

Holder* VARIABLE::rememberedMember(vBase* owner, MemberTable::SlotMemo& memo) {
    if (owner->typeCode() != TYPE_OBJECT) return owner->findMember(m_name);
    MemberTable& table = static_cast<vObject*>(owner)->members();
    MemberTable::Entry* entry = memo.recall(table);
    if (!entry && (entry = table.find(m_name)) != nullptr) memo.remember(table, *entry);
    return entry ? entry->value.get() : nullptr;
}

Scope* VARIABLE::outwardOrigin(Scope* origin) const {
    if (!origin->passesLookups() || !origin->outer()) return nullptr;
    if (Holder* own = origin->ownVariables()) {
        MemberTable* table = ownTable(origin);
        bool onlyOther = table && table->size() == 1 && m_search->otherOwnName.recall(*table);
        if (!onlyOther && own->value()->findMember(m_name)) return nullptr;
    }
    return origin->outer()->lookupOrigin();
}

Holder* VARIABLE::foundOutward(Scope* origin, uint64_t epoch) const {
    if (epoch != m_search->outwardEpoch) return nullptr;
    Scope* outward = outwardOrigin(origin);
    return outward && outward->serial() == m_search->outwardScope ? m_search->outwardFound
                                                                  : nullptr;
}

void VARIABLE::rememberOutward(Scope* origin, Holder* found, uint64_t epoch) {
    Scope* outward = outwardOrigin(origin);
    m_search->outwardScope = outward ? outward->serial() : 0;
    m_search->outwardEpoch = epoch;
    m_search->outwardFound = found;
    m_search->otherOwnName = MemberTable::SlotMemo();
    MemberTable* table = ownTable(origin);
    if (!outward || !table || table->size() != 1) return;
    table->forEach([this, table](const MemberTable::Entry& entry) {
        if (entry.name.view() != m_name) m_search->otherOwnName.remember(*table, entry);
    });
}

Holder* VARIABLE::search(Scope* scope, Scope* origin, uint64_t epoch) {
    if (!m_search) m_search = std::make_unique<SearchMemos>();
    Holder* found = inFrame(origin, epoch);
    if (!found) found = rememberedOwnVariable(origin);
    if (!found && m_search->outwardScope != 0) found = foundOutward(origin, epoch);
    // Scopes outward of the origin stand as they were while it lives.
    if (!found && (origin->serial() != m_search->absentFrom || epoch != m_search->absentEpoch) &&
        (found = scope->lookup(m_name)) != nullptr) {
        rememberOwnVariable(origin, found);
        if (origin->passesLookups()) rememberOutward(origin, found, epoch);
    } else if (!found && (found = globalMember()) == nullptr) {
        m_search->absentFrom = origin->serial();
        m_search->absentEpoch = epoch;
        if (s_readingAhead) return nullptr;
        // The same name buffer on every declaration: a loop scope that is new
        // on each entry lays the name out where the reads remember it.
        if (!m_search->undeclaredName.hasBuffer()) m_search->undeclaredName = SharedString(m_name);
        found = declareUndeclared(scope, m_search->undeclaredName);
        // A name new to the scope now lives in it.
        origin = scope->lookupOrigin();
        rememberOwnVariable(origin, found);
    }
    m_foundInScope = origin->serial();
    m_foundInEpoch = MemberTable::bindingEpoch();
    m_found = found;
    return found;
}

// Every call's scope is new: a parameter of the frame met last is found by
// its place in the list, with nothing to remember.
[[gnu::always_inline]] inline bool VARIABLE::inFrameMetLast(Scope* origin) const {
    const ParameterList* list = origin->parameterList();
    return list && list->serial == m_frameSerial;
}

[[gnu::always_inline]] inline Holder* VARIABLE::frameParameter(Scope* origin) const {
    return inFrameMetLast(origin) && m_frameIndex != ParameterList::ABSENT
               ? origin->parameterAt(m_frameIndex)
               : nullptr;
}

// Inlined into the read: every call's frame is new, and the search's call
// cost a closure's captured variable or a method's instance member a third
// more.
[[gnu::always_inline]] inline Holder* VARIABLE::rememberedInFrame(Scope* origin,
                                                                  uint64_t epoch) const {
    if (!inFrameMetLast(origin)) return nullptr;
    if (m_frameIndex != ParameterList::ABSENT) return origin->parameterAt(m_frameIndex);
    switch (origin->kind()) {
    case SCOPE_FUNCTION:
        return foundInFrame(origin, epoch);
    case SCOPE_METHOD:
    case SCOPE_CONSTRUCTOR:
        return selfMemberInFrame(origin);
    default:
        return nullptr;
    }
}

// Inlined into each of its callers: a read is the commonest instruction.
[[gnu::always_inline]] inline Holder* VARIABLE::lookUp(Env& env) {
    Scope* scope = env.current();
    if (!scope) return resolveVariable(env, m_name);
    Scope* origin = scope->lookupOrigin();
    uint64_t epoch = MemberTable::bindingEpoch();
    if (Holder* found = remembered(origin->serial(), epoch)) return found;
    if (Holder* found = rememberedInFrame(origin, epoch)) return found;
    return search(scope, origin, epoch);
}

int VARIABLE::execute(Env& env) {
    if (Holder* found = lookUp(env))
        env.push(found);
    else
        env.push(makeEmpty());
    return STATUS_CONTINUE;
}

Holder* VARIABLE::find(Env& env) {
    return lookUp(env);
}

Holder* VARIABLE::findDeclared(Env& env) {
    // A parameter needs no search, which alone may declare.
    if (Scope* scope = env.current())
        if (Holder* parameter = frameParameter(scope->lookupOrigin())) return parameter;
    s_readingAhead = true;
    Holder* found = find(env);
    s_readingAhead = false;
    return found;
}

int POP::execute(Env& env) {
    env.pop();
    return STATUS_CONTINUE;
}

int GLOBAL::execute(Env& env) {
    Ref value = env.pop();
    if (!Env::global().value()->setMember(m_name, value)) reportRedeclared(m_name);
    env.push(std::move(value));
    return STATUS_CONTINUE;
}

int LOCAL::execute(Env& env) {
    Ref value = env.pop();
    if (!env.current()->declareLocal(m_name, value, &env)) reportRedeclared(m_name.view());
    return STATUS_CONTINUE;
}

int STATIC::execute(Env& env) {
    Ref value = env.pop();
    env.current()->declareStatic(m_name, value, &env);
    return STATUS_CONTINUE;
}

int DECLARATION::execute(Env& env) {
    Ref value = env.pop();
    if (!env.current()->declare(m_name, value, &env)) reportRedeclared(m_name.view());
    return STATUS_CONTINUE;
}

Holder* MEMBER::objectMember(MemberTable& table) {
    if (MemberTable::Entry* entry = m_memo.recall(table)) return entry->value.get();
    // What vObject::member does, remembering where.
    bool inserted = false;
    MemberTable::Entry& entry = table.findOrInsert(std::string_view(m_name), inserted);
    if (inserted) entry.value = makeEmpty();
    m_memo.remember(table, entry);
    return entry.value.get();
}

Holder* MEMBER::memberOf(Holder* holder) {
    vBase* value = holder->value();
    return holder->typeCode() == TYPE_OBJECT ? objectMember(static_cast<vObject*>(value)->members())
                                             : value->member(m_name);
}

int MEMBER::execute(Env& env) {
    Ref object = env.pop();
    pushMember(env, object, memberOf(object.get()));
    return STATUS_CONTINUE;
}

// A string or float index names a member; a tuple of two is a slice; anything
// else is an element number, counted from the end when negative.
int INDEX::execute(Env& env) {
    if (Holder* element = existingElement(env.stack())) {
        // The element is counted before the container can go.
        env.stack().pop_back();
        env.stack().back() = Ref(element);
        return STATUS_CONTINUE;
    }
    Ref index = env.pop();
    Ref container = env.pop();
    vBase* key = index.value();
    vBase* target = container.value();
    int type = key->typeCode();
    if (type == TYPE_STRING || type == TYPE_FLOAT) {
        pushMember(env, container, target->member(key->toString().view()));
    } else if (type == TYPE_TUPLE && static_cast<vRArray*>(key)->elements().size() >= 2) {
        env.push(slice(target, *static_cast<vRArray*>(key)));
    } else {
        int position = key->toInt();
        if (position < 0) position = std::max(position + target->count(), 0);
        pushOrEmpty(env, target->elementAt(position));
    }
    return STATUS_CONTINUE;
}

int LOCALINDEX::execute(Env& env) {
    if (m_index < 0)
        env.push(makeEmpty());
    else
        pushOrEmpty(env, env.current()->variables()->value()->elementAt(m_index));
    return STATUS_CONTINUE;
}

void LOCALINDEX::serialize(ByteWriter& out) const {
    out.byte(CODE);
    out.i32(m_index);
}

int DEREF::execute(Env& env) {
    Ref pointer = env.pop();
    pushOrEmpty(env, pointer.value()->pointee());
    return STATUS_CONTINUE;
}

int REF::execute(Env& env) {
    Ref target = env.pop();
    env.push(Ref(new vPointer(target.get())));
    return STATUS_CONTINUE;
}

int CLOSURE::execute(Env& env) {
    Ref function(env.top());
    env.current()->capture(function);
    return STATUS_CONTINUE;
}

// Every call with two or more arguments runs this once per argument after the
// first, so the operands are worked on where they lie on the stack.
int LIST::execute(Env& env) {
    std::vector<Ref>& stack = env.stack();
    if (stack.size() < 2) {
        // Popping reports each missing operand and stands in a fresh value.
        Ref last = env.pop();
        Ref first = env.pop();
        env.push(std::move(first));
        env.push(std::move(last));
    }
    Ref& first = stack[stack.size() - 2];
    if (first->typeCode() == TYPE_TUPLE) {
        static_cast<vRArray*>(first.value())->add(stack.back());
    } else {
        // Argument lists are the usual tuples; room for four saves regrowing.
        TupleElements items;
        items.reserve(LIST_START_CAPACITY);
        items.push_back(std::move(first));
        items.push_back(std::move(stack.back()));
        first = Ref(new vRArray(std::move(items)));
    }
    stack.pop_back();
    return STATUS_CONTINUE;
}

int PARENTHESES::execute(Env& env) {
    Ref item = env.pop();
    env.push(Ref(new vRArray({std::move(item)})));
    return STATUS_CONTINUE;
}

} // namespace Kel
