// The run loop: executes a block's steps (its execution form) with a switch.
// Every step counts its instructions against the budget and moves the pc as
// its instructions would; a step that stands for several instructions takes
// its shortcut only when the values on the stack make the outcome the one the
// instructions themselves would reach, with no script code running between
// them, and otherwise runs its first instruction as that instruction does.
#include "env.h"

#include "code_block.h"
#include "exec_form.h"
#include "instructions.h"
#include "natives.h"
#include "nesting.h"
#include "numbers.h"
#include "object.h"
#include "opcode.h"
#include "scope.h"
#include "tuple.h"

#include <algorithm>

namespace Kel {

using namespace variable::Variable;

namespace {

using InPlace = void (vBase::*)(const Ref&);

// In byte order: ADD to SHR.
constexpr InPlace OPERATORS[] = {
    &vBase::addAssign, &vBase::subAssign, &vBase::mulAssign, &vBase::divAssign, &vBase::modAssign,
    &vBase::andAssign, &vBase::orAssign,  &vBase::xorAssign, &vBase::shlAssign, &vBase::shrAssign};

// A comparison of two ints (EQ to GT, in byte order), as an int's own.
bool compareValues(uint8_t operation, int32_t left, int32_t right) {
    switch (operation) {
    case 0:
        return left == right;
    case 1:
        return left != right;
    case 2:
        return left <= right;
    case 3:
        return left >= right;
    case 4:
        return left < right;
    default:
        return left > right;
    }
}

int32_t wrapValues(uint8_t operation, int32_t left, int32_t right) {
    auto a = static_cast<uint32_t>(left);
    auto b = static_cast<uint32_t>(right);
    return static_cast<int32_t>(operation == 0 ? a + b : operation == 1 ? a - b : a * b);
}

bool isPlain(vBase* value) {
    return isPlainType(value->typeCode());
}

// A holder only the stack refers to: the operator's copy of it would be its
// last trace anyway, so the operator may work on it in place.
bool isTemporary(const Ref& operand) {
    return operand->count() == 1 && isPlainType(operand->typeCode());
}

// `a op b` on a temporary left operand: the copy the operator makes would be
// indistinguishable from the operand changed in place.
bool operateInPlace(Env& env, const Step& step) {
    std::vector<Ref>& stack = env.stack();
    if (stack.size() < 2 || !isTemporary(stack[stack.size() - 2])) return false;
    Ref right = env.pop();
    (env.top()->value()->*OPERATORS[step.operation])(right);
    return true;
}

// Both operands ints: the comparison's outcome, with no script code run.
bool compareInts(Env& env, const Step& step, bool& outcome) {
    std::vector<Ref>& stack = env.stack();
    if (stack.size() < 2) return false;
    vBase* left = stack[stack.size() - 2].value();
    if (stack[stack.size() - 2]->typeCode() != TYPE_INT || stack.back()->typeCode() != TYPE_INT)
        return false;
    outcome = compareValues(step.operation, static_cast<vInt*>(left)->value(),
                            static_cast<vInt*>(stack.back().value())->value());
    return true;
}

// A comparison of two ints leaves its 0 or 1 in the left operand's place when
// that is a temporary int, instead of a new holder.
bool compareInPlace(Env& env, const Step& step) {
    bool outcome = false;
    if (!compareInts(env, step, outcome)) return false;
    std::vector<Ref>& stack = env.stack();
    stack.pop_back();
    Ref& left = stack.back();
    if (left->count() == 1)
        static_cast<vInt*>(left.value())->setValue(outcome ? 1 : 0);
    else
        left = Ref::adopt(Holder::makeInt(outcome ? 1 : 0));
    return true;
}

// `=` of an int into an int only copies the number; Holder::substitute's
// depth guard still has its say.
bool substituteInt(Env& env) {
    std::vector<Ref>& stack = env.stack();
    if (stack.size() < 2 || NestingGuard::depth() >= MAX_VALUE_NESTING) return false;
    vBase* left = stack[stack.size() - 2].value();
    vBase* right = stack.back().value();
    if (stack[stack.size() - 2]->typeCode() != TYPE_INT || stack.back()->typeCode() != TYPE_INT)
        return false;
    static_cast<vInt*>(left)->setValue(static_cast<vInt*>(right)->value());
    stack.pop_back();
    return true;
}

// `x += y` (or -=, *=) on two ints: x changes as the int's own operation
// changes it, and y, an int, goes without running script code.
bool compoundInts(Env& env, const Step& step) {
    std::vector<Ref>& stack = env.stack();
    if (stack.size() < 2) return false;
    vBase* left = stack[stack.size() - 2].value();
    vBase* right = stack.back().value();
    if (stack[stack.size() - 2]->typeCode() != TYPE_INT || stack.back()->typeCode() != TYPE_INT)
        return false;
    auto* target = static_cast<vInt*>(left);
    target->setValue(
        wrapValues(step.operation, target->value(), static_cast<vInt*>(right)->value()));
    stack.pop_back();
    return true;
}

// A new int holding `value`: the step's own copy holder when only the step
// holds it (nothing can tell it from a new one), else a new holder.
Ref freshCopy(Holder* own, int32_t value) {
    if (own->count() != 1) return Ref::adopt(Holder::makeInt(value));
    static_cast<vInt*>(own->value())->setValue(value);
    return Ref(own);
}

// ++ and -- on an int: the postfix form leaves a copy of the old value where
// the operand was; both wrap as the int's own addition does.
bool stepInt(Env& env, const Step& step) {
    std::vector<Ref>& stack = env.stack();
    if (stack.empty() || stack.back()->typeCode() != TYPE_INT) return false;
    auto* number = static_cast<vInt*>(stack.back().value());
    uint32_t old = static_cast<uint32_t>(number->value());
    Ref operand;
    if (!step.when) {
        operand = std::move(stack.back());
        stack.back() = freshCopy(step.constant, static_cast<int32_t>(old));
    }
    number->setValue(static_cast<int32_t>(step.operation == 0 ? old + 1u : old - 1u));
    return true;
}

// What a variable's read found last from the current scope's lookup origin,
// while every binding stays the same; none otherwise. Checked where the read
// is made, as a call of its own would cost as much again.
[[gnu::always_inline]] inline Holder* rememberedRead(Env& env, OpCode* op) {
    Scope* scope = env.current();
    return scope ? static_cast<VARIABLE*>(op)->remembered(scope->lookupOrigin()->serial(),
                                                          MemberTable::bindingEpoch())
                 : nullptr;
}

// A variable's read by a fused step; the search stays out of line.
[[gnu::always_inline]] inline Holder* readOf(Env& env, OpCode* op) {
    if (Holder* found = rememberedRead(env, op)) return found;
    return static_cast<VARIABLE*>(op)->find(env);
}

// A variable's read and ++ or -- of it, on an int: what the read would push,
// stepped as stepInt steps it.
bool readIntStep(Env& env, const Step& step) {
    Holder* found = readOf(env, step.op);
    if (!found || found->typeCode() != TYPE_INT) return false;
    auto* number = static_cast<vInt*>(found->value());
    uint32_t old = static_cast<uint32_t>(number->value());
    if (step.when)
        env.push(found);
    else
        env.push(freshCopy(step.constant, static_cast<int32_t>(old)));
    number->setValue(static_cast<int32_t>(step.operation == 0 ? old + 1u : old - 1u));
    return true;
}

// An argument only the stack holds needs no copy: nothing else can see it,
// so it may become the parameter (or, for a list, the list of parameters)
// itself. Each element only the list holds becomes its parameter as it is,
// the others are replaced by copies, as the argument instruction's
// substitution into fresh storage would give them.
bool bindInPlace(Env& env, const ParameterList& list, const TupleElements* elements) {
    Ref& argument = env.stack().back();
    if (argument->count() != 1) return false;
    if (!elements) {
        if (list.names.size() != 1 || !isPlain(argument.value())) return false;
        env.current()->declareParameters(list, &argument);
        return true;
    }
    if (elements->size() != list.names.size()) return false;
    auto* tuple = static_cast<vRArray*>(argument.value());
    for (size_t i = 0; i < elements->size(); ++i) {
        const Ref& element = (*elements)[i];
        if (element->count() != 1) tuple->replaceElement(i, Ref(element.value()->clone()));
    }
    env.current()->declareParameters(list, elements->data());
    return true;
}

// The fresh parameters of a call: each takes a copy of its argument, as the
// argument instruction's substitution into fresh storage would give it.
// Arguments that are numbers or texts only: copying anything else may copy
// and drop objects whose destructors run, which the instructions' own path
// keeps in its order.
//
// Inlined into the run loop, as the compiler did of its own accord until the
// loop grew: a call of its own saves and restores registers on every call.
[[gnu::always_inline]] inline bool bindParameters(Env& env, const ParameterList& list) {
    Scope* scope = env.current();
    if (!scope || scope->hasVariables() || env.stack().empty()) return false;
    // The argument's substitution nests two deep (the list, then each element).
    NestingGuard list_level;
    NestingGuard element_level;
    if (!element_level) return false;
    const Ref& argument = env.stack().back();
    vBase* value = argument.value();
    size_t count = list.names.size();
    const TupleElements* elements = nullptr;
    if (value->typeCode() == TYPE_TUPLE) {
        elements = &static_cast<vRArray*>(value)->elements();
        if (count == 1 || elements->size() < 2) return false;
        for (const Ref& element : *elements)
            if (!isPlain(element.value())) return false;
    } else if (count > 1 && !isPlain(value)) {
        return false;
    }
    if (bindInPlace(env, list, elements)) return true;
    TupleElements holders;
    holders.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        vBase* source = nullptr;
        if (elements)
            source = i < elements->size() ? (*elements)[i].value() : nullptr;
        else
            source = i == 0 ? value : nullptr;
        holders.push_back(source ? Ref(source->clone()) : makeEmpty());
    }
    scope->declareParameters(list, holders.data());
    env.pop();
    if (count == 1)
        env.push(std::move(holders[0]));
    else
        env.push(Ref(new vRArray(std::move(holders))));
    return true;
}

// What a fused operand stands for: the holder its read finds, or the
// constant's own. Inlined into every fused step: the profiled build made it
// a call of its own, which cost loops and sieves 7 to 11% more.
[[gnu::always_inline]] inline Holder* operandHolder(Env& env, OpCode* op, bool constant) {
    return constant ? static_cast<PUSH_INT*>(op)->holder().get() : readOf(env, op);
}

// Both operands of a STEP_OPERANDS_ step, when they are ints, read in the
// order their instructions would read them. Inlined into the run loop: as a
// call of its own it saved and restored registers on every comparison and
// operator it fused.
[[gnu::always_inline]] inline bool intOperands(Env& env, const Step& step, Holder*& first,
                                               Holder*& second) {
    first = operandHolder(env, step.op, step.operands & FIRST_IS_CONSTANT);
    if (!first || first->typeCode() != TYPE_INT) return false;
    second = operandHolder(env, step.second, step.operands & SECOND_IS_CONSTANT);
    return second && second->typeCode() == TYPE_INT;
}

int32_t intOf(Holder* holder) {
    return static_cast<vInt*>(holder->value())->value();
}

// A STEP_OPERANDS_COMPARE_JUMP's outcome when its operands are ints: whether
// execution goes on after it rather than jumping.
[[gnu::always_inline]] inline bool testHolds(Env& env, const Step& test) {
    Holder* first = nullptr;
    Holder* second = nullptr;
    return intOperands(env, test, first, second) &&
           compareValues(test.operation, intOf(first), intOf(second)) != test.when;
}

// The same for a loop's step, whose stepped int `stepped` the test reads
// first when the step says so: the read would find that very holder.
[[gnu::always_inline]] inline bool loopTestHolds(Env& env, const Step& step, const Step& test,
                                                 Holder* stepped) {
    if (!(step.operands & TEST_READS_STEPPED)) return testHolds(env, test);
    Holder* second = operandHolder(env, test.second, test.operands & SECOND_IS_CONSTANT);
    return second && second->typeCode() == TYPE_INT &&
           compareValues(test.operation, intOf(stepped), intOf(second)) != test.when;
}

// `left op right` on two ints, as the int's own operation gives it. Inlined
// into each step that combines: as a call it cost loops 4% more.
[[gnu::always_inline]] inline int32_t combineValues(uint8_t operation, int32_t left,
                                                    Holder* right) {
    int32_t value = intOf(right);
    switch (operation + OP_ADD) {
    case OP_DIV:
        return intQuotient(left, value);
    case OP_MOD:
        return intRemainder(left, value);
    case OP_AND:
        return left & value;
    case OP_OR:
        return left | value;
    case OP_XOR:
        return left ^ value;
    case OP_SHL:
        return intShiftLeft(left, value);
    case OP_SHR:
        return intShiftRight(left, value);
    default:
        return wrapValues(operation, left, value);
    }
}

// `a op b` on two ints: the result is a new int, or the right operand itself
// when only the stack holds it; releasing the operands runs no script code.
bool operateOnInts(Env& env, const Step& step) {
    std::vector<Ref>& stack = env.stack();
    if (stack.size() < 2) return false;
    Holder* left = stack[stack.size() - 2].get();
    if (left->typeCode() != TYPE_INT || stack.back()->typeCode() != TYPE_INT) return false;
    int32_t value = combineValues(step.operation, intOf(left), stack.back().get());
    // A right operand only the stack holds becomes the result.
    Ref result =
        stack.back()->count() == 1 ? std::move(stack.back()) : Ref::adopt(Holder::makeInt(value));
    static_cast<vInt*>(result.value())->setValue(value);
    stack.pop_back();
    stack.back() = std::move(result);
    return true;
}

// `x = a op b` with x, a and b ints on the stack: x takes the result, and no
// int is made for it. The substitution's depth guard still has its say.
bool operateIntoInt(Env& env, const Step& step) {
    std::vector<Ref>& stack = env.stack();
    if (stack.size() < 3 || NestingGuard::depth() >= MAX_VALUE_NESTING) return false;
    vBase* target = stack[stack.size() - 3].value();
    Holder* left = stack[stack.size() - 2].get();
    Holder* right = stack.back().get();
    if (stack[stack.size() - 3]->typeCode() != TYPE_INT || left->typeCode() != TYPE_INT ||
        right->typeCode() != TYPE_INT)
        return false;
    static_cast<vInt*>(target)->setValue(combineValues(step.operation, intOf(left), right));
    // Both operands are ints: dropping them runs no script code.
    stack.pop_back();
    stack.pop_back();
    return true;
}

// `a[b] = c;` with c an int constant: an int element takes the number, and an
// element just past the last one is made holding it, as growing the elements
// by one and substituting into the new empty one would. The substitution's
// depth guard still has its say.
bool writeElement(const Step& step, vObject* container, int32_t index, Holder* element) {
    Holder* constant = static_cast<PUSH_INT*>((&step + INDEX_SPAN)->op)->holder().get();
    if (constant->typeCode() != TYPE_INT || NestingGuard::depth() >= MAX_VALUE_NESTING)
        return false;
    if (element) {
        if (element->typeCode() != TYPE_INT) return false;
        static_cast<vInt*>(element->value())->setValue(intOf(constant));
        return true;
    }
    std::vector<Ref>& elements = container->elements();
    if (index < 0 || index >= MAX_ELEMENTS || static_cast<size_t>(index) != elements.size())
        return false;
    reserveElements(elements, elements.size() + 1);
    elements.push_back(Ref::adopt(Holder::makeInt(intOf(constant))));
    return true;
}

// `a[b]` with a an object and b an int: the object and the index; none when
// the instructions must run alone.
vObject* indexedObject(Env& env, const Step& step, int32_t& index) {
    Holder* container = operandHolder(env, step.op, step.operands & FIRST_IS_CONSTANT);
    if (!container || container->typeCode() != TYPE_OBJECT) return nullptr;
    Holder* at = operandHolder(env, step.second, step.operands & SECOND_IS_CONSTANT);
    if (!at || at->typeCode() != TYPE_INT) return nullptr;
    index = intOf(at);
    return static_cast<vObject*>(container->value());
}

// `a[b]` with a an object and b an int: the instructions done at once, with
// the element to push when the index is all of them (an element that is there
// already); none when the first instruction must run alone. An int element
// that a jump tests tells whether it jumps.
int indexElement(Env& env, const Step& step, Holder*& element, bool& jumps) {
    int32_t index = 0;
    vObject* object = indexedObject(env, step, index);
    if (!object) return 0;
    element = object->presentElement(index);
    if (step.operation == INDEX_WRITE && writeElement(step, object, index, element)) {
        element = nullptr;
        return step.span;
    }
    if (step.operation == INDEX_JUMP && element && element->typeCode() == TYPE_INT) {
        jumps = (intOf(element) != 0) == step.when;
        element = nullptr;
        return step.span;
    }
    return element ? INDEX_SPAN : 0;
}

// `x += a op b` (or `-=`, `*=`, `=`) on the int x: x changed in place, the
// operands' step telling which operations. The substitution's depth guard
// still has its say. Inlined: the profiled build split it into a call and a
// part laid out as cold, which a loop's `x += a op b` ran on every turn.
[[gnu::always_inline]] inline bool assignInto(vInt* target, const Step& step, Holder* first,
                                              Holder* second) {
    int32_t value = combineValues(step.operation, intOf(first), second);
    if (step.target != SUBSTITUTION_AFTER)
        value = wrapValues(static_cast<uint8_t>(step.target), target->value(), value);
    else if (NestingGuard::depth() >= MAX_VALUE_NESTING)
        return false;
    target->setValue(value);
    return true;
}

// `x += a op b` (or `-=`, `*=`, `=`) with x an int on the stack: x changed in
// place, where the operator's result would have been made and dropped. The
// substitution's depth guard still has its say.
bool assignInts(Env& env, const Step& step, Holder* first, Holder* second) {
    std::vector<Ref>& stack = env.stack();
    if (stack.empty() || stack.back()->typeCode() != TYPE_INT) return false;
    return assignInto(static_cast<vInt*>(stack.back().value()), step, first, second);
}

// `x += a op b;` (or `-=`, `*=`, `=`) with x, a and b ints: what the read of x,
// the step after it and the pop would leave, with x never pushed.
bool assignRead(Env& env, const Step& step, Holder* target) {
    if (target->typeCode() != TYPE_INT) return false;
    const Step& operands = *(&step + 1);
    Holder* first = nullptr;
    Holder* second = nullptr;
    return intOperands(env, operands, first, second) &&
           assignInto(static_cast<vInt*>(target->value()), operands, first, second);
}

// An operand read ahead of the block it belongs to: where the read would
// declare the name, none. The block declares nothing before its test, so its
// lookups start where the current scope's do.
Holder* aheadOperand(Env& env, OpCode* op, bool constant) {
    if (constant) return static_cast<PUSH_INT*>(op)->holder().get();
    if (Holder* found = rememberedRead(env, op)) return found;
    return static_cast<VARIABLE*>(op)->findDeclared(env);
}

// An `if`: a block whose first step tests two int operands (or an int
// element) and jumps to the block's end when the test fails. Made before the
// block is entered, the test reads what it would read inside, where nothing
// is declared yet; a name found nowhere, which a read inside would declare
// there, leaves the test to the block. When the test jumps, entering and
// leaving the block would change nothing: the block is never made. Answers
// the instructions the test stands for, with `skips` telling whether it
// jumped; 0 when the test must run inside the block as its instructions.
int testAhead(Env& env, const ExecForm& body, int64_t budget, bool& skips) {
    const Step& test = body.steps()[0];
    bool compares = test.action == STEP_OPERANDS_COMPARE_JUMP;
    bool indexes = test.action == STEP_OPERANDS_INDEX && test.operation == INDEX_JUMP;
    if ((!compares && !indexes) || test.target != body.size() || budget < test.span) return 0;
    Holder* first = aheadOperand(env, test.op, test.operands & FIRST_IS_CONSTANT);
    Holder* second =
        first ? aheadOperand(env, test.second, test.operands & SECOND_IS_CONSTANT) : nullptr;
    if (!second || second->typeCode() != TYPE_INT) return 0;
    if (compares) {
        if (first->typeCode() != TYPE_INT) return 0;
        skips = compareValues(test.operation, intOf(first), intOf(second)) == test.when;
        return test.span;
    }
    if (first->typeCode() != TYPE_OBJECT) return 0;
    Holder* element = static_cast<vObject*>(first->value())->presentElement(intOf(second));
    if (!element || element->typeCode() != TYPE_INT) return 0;
    skips = (intOf(element) != 0) == test.when;
    return test.span;
}

// Whether dropping one count of `holder` runs no script code: something else
// holds it too, or it is a number or a text, or a list of those that a call
// left (its arguments).
[[gnu::noinline]] bool dropsQuietly(Holder* holder) {
    if (holder->count() > 1 || isPlainType(holder->typeCode())) return true;
    if (holder->typeCode() != TYPE_TUPLE) return false;
    const TupleElements& elements = static_cast<vRArray*>(holder->value())->elements();
    return std::all_of(elements.begin(), elements.end(), [](const Ref& element) {
        return element->count() > 1 || isPlainType(element->typeCode());
    });
}

// `if (test) return v;`: the body after its test is the pop of the value the
// statement before left, v's read and the return, all of which read and
// leave the same scopes from outside the block as from inside it. Answers
// v's holder when that path is open: the budget covers it, the pop runs no
// script code and v is found; none otherwise. RETURN_SPAN: the pop, the read
// and the return.
constexpr int RETURN_SPAN = 3;
Holder* returnAhead(Env& env, const ExecForm& body, int tested, int64_t budget) {
    const Step* steps = body.steps();
    if (body.size() != tested + RETURN_SPAN || steps[tested].action != STEP_POP ||
        steps[tested + 1].action != STEP_VARIABLE || steps[tested + 2].action != STEP_RETURN ||
        budget < RETURN_SPAN)
        return nullptr;
    std::vector<Ref>& stack = env.stack();
    if (stack.empty() || !dropsQuietly(stack.back().get())) return nullptr;
    return static_cast<VARIABLE*>(steps[tested + 1].op)->findDeclared(env);
}

// The budget must cover every instruction a fused step stands for.
bool fusable(const Step& step, int64_t budget) {
    return budget >= step.span - 1;
}

} // namespace

namespace {

// Room for the argument holders of a direct call, as many as it has: an
// array of the most would make and drop every handle on each call.
class ArgumentHolders {
public:
    ArgumentHolders() = default;
    ~ArgumentHolders() {
        for (size_t i = 0; i < m_count; ++i)
            data()[i].~Ref();
    }
    ArgumentHolders(const ArgumentHolders&) = delete;
    ArgumentHolders& operator=(const ArgumentHolders&) = delete;
    void add(Ref holder) { new (&data()[m_count++]) Ref(std::move(holder)); }
    // Every handle was moved out: nothing is left to drop.
    void emptied() { m_count = 0; }
    Ref* data() { return reinterpret_cast<Ref*>(m_room); }
    Ref& operator[](size_t index) { return data()[index]; }
    TupleElements list() { return TupleElements(data(), data() + m_count); }

private:
    alignas(Ref) unsigned char m_room[CallArguments::MAX_ARGUMENTS * sizeof(Ref)];
    size_t m_count = 0;
};

// The argument holders of a direct call: a read's or a constant's holder
// shared, an operator's result new.
bool argumentHolders(Env& env, const CallArguments& call, ArgumentHolders& holders) {
    for (const CallArguments::Argument& argument : call.arguments) {
        Holder* first = operandHolder(env, argument.first, argument.operands & FIRST_IS_CONSTANT);
        if (!first) return false;
        if (!argument.second) {
            if (!isPlain(first->value())) return false;
            holders.add(Ref(first));
            continue;
        }
        Holder* second =
            operandHolder(env, argument.second, argument.operands & SECOND_IS_CONSTANT);
        if (!second || first->value()->typeCode() != TYPE_INT ||
            second->value()->typeCode() != TYPE_INT)
            return false;
        holders.add(
            Ref::adopt(Holder::makeInt(combineValues(argument.operation, intOf(first), second))));
    }
    return true;
}

// The function a direct call enters: what `f` holds, or for `o.m` the
// function of the method bound to an object; none for anything else.
Holder* functionOf(Holder* callee, bool method) {
    if (!callee || !method) return callee;
    vBase* value = callee->value();
    if (value->typeCode() != TYPE_METHOD || !static_cast<vMethod*>(value)->self()) return nullptr;
    return static_cast<vMethod*>(value)->function();
}

// The member `o.m` reads, when o is an object that has it: finding it runs
// no script code. One that is missing is left to the instructions to make.
Holder* methodOf(Holder* object, const CallArguments& call) {
    if (!object || object->value()->typeCode() != TYPE_OBJECT) return nullptr;
    MemberTable& table = static_cast<vObject*>(object->value())->members();
    MemberTable::Entry* entry = call.memo.recall(table);
    if (!entry) {
        entry = table.find(static_cast<MEMBER*>(call.member)->name());
        if (!entry) return nullptr;
        call.memo.remember(table, *entry);
    }
    return entry->value.get();
}

// The scope of a call of `method`, whose function is `function`: made out of
// line, so that a function's call has the scope's construction inlined.
[[gnu::noinline]] Scope* methodScope(CodeBlock* code, Holder* function, vBase* method) {
    return new MethodScope(code, function, static_cast<vMethod*>(method)->self());
}

// The first step of a script function's code when it binds `count`
// parameters in one go; none otherwise.
const Step* parameterStep(Holder* holder, size_t count) {
    // Only a plain object has its type code, so the code asked for is its own.
    if (!holder || holder->typeCode() != TYPE_OBJECT) return nullptr;
    CodeBlock* code = static_cast<vObject*>(holder->value())->vObject::code();
    if (!code) return nullptr;
    const Step* first = code->execForm().steps();
    return first->action == STEP_PARAMETERS && first->operands == count ? first : nullptr;
}

// A parameter's own copy of an argument that is a number or a text: what
// cloneHolder gives, here without a call for the commonest, an int (through
// cloneHolder a direct call costs 1 to 2% more).
Ref copyOf(Holder* argument) {
    if (argument->typeCode() == TYPE_INT) return Ref::adopt(Holder::makeInt(intOf(argument)));
    return Ref(argument->value()->clone());
}

// An instruction that pushes a constant, pops its operands and pushes a new
// value made of them, jumps, pops or returns: none writes a holder, keeps one
// or runs script code.
bool onlyComputes(uint8_t byte) {
    if (byte >= OP_ADD && byte <= OP_SHR) return true; // two-operand operators
    if (byte >= OP_EQ && byte <= OP_BOR) return true;  // comparisons, && and ||
    if (byte >= OP_JMP && byte <= OP_JRF) return true; // jumps
    switch (byte) {
    case OP_PUSH_INT:
    case OP_PUSH_HEX:
    case OP_PUSH_FLOAT:
    case OP_PUSH_STRING:
    case OP_POP:
    case OP_RETURN:
    case OP_PLUS:
    case OP_MINUS:
    case OP_NOT:
    case OP_COMPL:
        return true;
    default:
        return false;
    }
}

// Whether `block`, from `from` on, only reads names of `list` (its
// parameters) and computes, in the blocks inside it too. Nothing else runs
// meanwhile: no instruction writes a parameter's holder, points at it,
// captures it or puts it in a list, and no script code runs elsewhere that
// could write what the holder is shared with. Its parameters may then be the
// arguments' own holders instead of copies.
bool readsOnly(const CodeBlock& block, int from, const ParameterList& list) {
    for (int i = from; i < block.size(); ++i) {
        const OpCode& op = *block.at(i);
        const uint8_t byte = byteCodeOf(op);
        bool reads = false;
        if (byte == OP_VARIABLE)
            reads = list.indexOf(static_cast<const VARIABLE&>(op).name()) != ParameterList::ABSENT;
        else if (byte == OP_SCOPE)
            reads = readsOnly(*static_cast<const SCOPE&>(op).block(), 0, list);
        else
            reads = onlyComputes(byte);
        if (!reads) return false;
    }
    return true;
}

// readsOnly of the code after a parameter step, remembered for the last
// list asked about: a sort asks about its comparator's every time.
bool readsOnlyAfter(const CodeBlock& block, const Step& first, const ParameterList& list) {
    static uint64_t s_serial = 0;
    static bool s_readsOnly = false;
    if (list.serial != s_serial) {
        s_readsOnly = readsOnly(block, first.span, list);
        s_serial = list.serial;
    }
    return s_readsOnly;
}

// A callee's operand in terms of its arguments: an int constant's holder, or
// the argument its parameter takes (the same number or text); none for a read
// of anything else.
Holder* argumentOperand(OpCode* op, bool constant, const ParameterList& list,
                        const Ref* arguments) {
    if (constant) return static_cast<PUSH_INT*>(op)->holder().get();
    uint32_t index = static_cast<VARIABLE*>(op)->parameterIndex(list.serial);
    return index == ParameterList::ABSENT ? nullptr : arguments[index].get();
}

// A callee whose code begins `if (a op b)`, a and b its parameters or int
// constants, tested from the arguments before its frame is made.
struct LeadingTest {
    const ExecForm* body = nullptr; // the `if` block's
    const Step* test = nullptr;     // the block's first step
    bool skips = false;             // it jumps past the block
};

// The callee's leading test, made when the budget covers the block's step
// and the test and their operands are ints: exactly what the block's step
// would make of them, reading the parameters ahead of the block. Inlined
// into both its callers: a call of its own costs a direct call a tenth more.
[[gnu::always_inline]] inline bool leadingTest(const Step* first, const ParameterList& list,
                                               const Ref* arguments, int64_t rest,
                                               LeadingTest& lead) {
    const Step& block = first[first->span];
    if (block.action != STEP_BLOCK) return false;
    lead.body = &static_cast<SCOPE*>(block.op)->block()->execForm();
    const Step& test = lead.body->steps()[0];
    if (test.action != STEP_OPERANDS_COMPARE_JUMP || test.target != lead.body->size() ||
        rest < 1 + test.span)
        return false;
    Holder* a = argumentOperand(test.op, test.operands & FIRST_IS_CONSTANT, list, arguments);
    Holder* b =
        a ? argumentOperand(test.second, test.operands & SECOND_IS_CONSTANT, list, arguments)
          : nullptr;
    if (!b || a->typeCode() != TYPE_INT || b->typeCode() != TYPE_INT) return false;
    lead.test = &test;
    lead.skips = compareValues(test.operation, intOf(a), intOf(b)) == test.when;
    return true;
}

// What a held leading test's block returns, when the block is `return v;`
// with v a parameter or a constant and the budget covers it. The pop before
// v drops the parameters' list, which holds numbers and texts only.
struct LeadingReturn {
    uint32_t parameter = ParameterList::ABSENT; // v's place among the parameters
    Holder* constant = nullptr; // or the constant's own holder, as its push pushes it
    bool found() const { return parameter != ParameterList::ABSENT || constant; }
};
[[gnu::always_inline]] inline LeadingReturn leadingReturn(const LeadingTest& lead,
                                                          const ParameterList& list, int64_t rest) {
    const Step* steps = lead.body->steps();
    const int tested = lead.test->span;
    LeadingReturn returned;
    if (lead.body->size() != tested + RETURN_SPAN || steps[tested].action != STEP_POP ||
        steps[tested + 2].action != STEP_RETURN || rest < 1 + tested + RETURN_SPAN)
        return returned;
    const Step& value = steps[tested + 1];
    if (value.action == STEP_VARIABLE)
        returned.parameter = static_cast<VARIABLE*>(value.op)->parameterIndex(list.serial);
    else if (value.action == STEP_PUSH_CONSTANT)
        returned.constant = value.constant;
    return returned;
}

// The budget a call returning at once leaves: the callee's parameters, the
// block's step, its test and its return.
int64_t afterLeadingReturn(const LeadingTest& lead, int64_t rest) {
    return rest - 1 - lead.test->span - RETURN_SPAN;
}

bool allPlain(ArgumentHolders& holders, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (!isPlain(holders[i].value())) return false;
    return true;
}

} // namespace

// What the instructions do: read the function (or the object and its method)
// and the arguments, list them (a lone argument stands for itself), leave the
// caller first when the call is in tail position, enter the callee, whose
// parameter step gives each parameter its argument (the holder itself when
// only the list held it, else a copy) and leaves the list on the stack. The
// list is never made: the parameters take the holders from here, and a
// parameter stands in for the list when the callee drops it unread.
Env::DirectCall Env::callDirectly(const Step& step, const CallArguments& call, int64_t budget,
                                  int& scopePc) {
    if (budget < step.span - 1 || !m_current || m_current->depth() >= MAX_CALL_DEPTH)
        return DirectCall::DECLINED;
    const bool method = call.member != nullptr;
    Holder* callee = static_cast<VARIABLE*>(step.op)->find(*this);
    if (method) callee = methodOf(callee, call);
    Holder* function = functionOf(callee, method);
    size_t count = call.arguments.size();
    const Step* first = parameterStep(function, count);
    if (!first) {
        m_current->code()->execForm().decline(step);
        return DirectCall::DECLINED;
    }
    ArgumentHolders holders;
    if (!argumentHolders(*this, call, holders)) return DirectCall::DECLINED;
    Ref held(callee);
    // A method's object must outlive the scopes this call may leave.
    Ref bound(method ? static_cast<vMethod*>(callee->value())->self() : nullptr);

    // The call itself: from here on the instructions' own order.
    budget -= step.span - 1;
    s_budget = budget;
    scopePc = call.after;
    bool leaves = call.nextKind == KIND_RETURN ||
                  (call.nextKind == KIND_END_OF_BLOCK && m_current->kind() != SCOPE_CONSTRUCTOR);
    if (leaves) {
        m_current = call.nextKind == KIND_RETURN ? m_current->onReturn() : m_current->onEnd(*this);
        budget = s_budget;
        // A destructor that ran on leaving may have changed the callee.
        function = functionOf(held.get(), method);
        first = parameterStep(function, count);
    }
    // Or an argument (each was a number or a text when read), or spent the
    // budget: the parameter step's own conditions.
    bool bindable = first && (!leaves || allPlain(holders, count)) && budget >= first->span &&
                    NestingGuard::depth() + 2 <= MAX_VALUE_NESTING &&
                    (!m_current || m_current->depth() < MAX_CALL_DEPTH);
    if (!bindable) {
        push(count == 1 ? holders[0] : Ref(new vRArray(holders.list())));
        held.value()->call(*this, held.get());
        return DirectCall::ENTERED;
    }
    CodeBlock* code = function->value()->code();
    const ParameterList& list = code->execForm().parameters(first->target);
    // The callee's frame starts after its parameters, or past a leading `if`
    // tested here that jumps past its block.
    int start = first->span;
    int64_t rest = budget - first->span;
    LeadingTest lead;
    if (list.leadingTest && !leaves && leadingTest(first, list, holders.data(), rest, lead)) {
        LeadingReturn returned;
        if (lead.skips) {
            start += 1;
            rest -= 1 + lead.test->span;
        } else if ((returned = leadingReturn(lead, list, rest)).found()) {
            // The callee's whole run: the constant's holder, or the
            // parameter's, only the stack's once the frame is gone.
            if (returned.constant) {
                push(returned.constant);
            } else {
                Ref& value = holders[returned.parameter];
                push(value->count() == 1 ? std::move(value) : copyOf(value.get()));
            }
            s_budget = afterLeadingReturn(lead, rest);
            return DirectCall::ANSWERED;
        }
    }
    for (size_t i = 0; i < count; ++i)
        if (holders[i]->count() != 1) holders[i] = copyOf(holders[i].get());
    Scope* scope =
        method ? methodScope(code, function, held.value()) : new FunctionScope(code, function);
    enter(scope);
    if (count == 1 || list.droppedUnread) {
        scope->takeParameters(list, holders.data());
        holders.emptied();
        push(scope->parameterAt(0));
    } else {
        scope->declareParameters(list, holders.data());
        push(Ref(new vRArray(holders.list())));
    }
    scope->pc() = start;
    s_budget = rest;
    return DirectCall::ENTERED;
}

// The call instruction's, once it has taken the callee and left the caller
// when in tail position: a script function whose code begins `if (a op b)
// return v;` on its parameters, called with numbers and texts that make the
// test hold, answers v without a frame. The arguments on the stack give way
// to it (a constant's own holder; a parameter's argument itself when only
// they held it, else a copy), and
// the budget pays for the callee's instructions, as the frame would have run
// them. The callee must be held elsewhere too, as its frame would hold it
// until the return.
bool Env::returnsAtOnce(Holder* callee) {
    // Natives first of all go their own way.
    if (callee->typeCode() != TYPE_OBJECT || m_stack.empty() || callee->count() < 2 ||
        (m_current && m_current->depth() >= MAX_CALL_DEPTH) ||
        NestingGuard::depth() + 2 > MAX_VALUE_NESTING)
        return false;
    Ref& argument = m_stack.back();
    const Ref* arguments = &argument;
    size_t count = 1;
    if (argument->typeCode() == TYPE_TUPLE) {
        const TupleElements& elements = static_cast<vRArray*>(argument.value())->elements();
        arguments = elements.data();
        count = elements.size();
        if (count < 2) return false;
    }
    for (size_t i = 0; i < count; ++i)
        if (!isPlain(arguments[i].value())) return false;
    const Step* first = parameterStep(callee, count);
    if (!first) return false;
    const ParameterList& list = callee->value()->code()->execForm().parameters(first->target);
    const int64_t rest = s_budget - first->span;
    LeadingTest lead;
    if (!list.leadingTest || !leadingTest(first, list, arguments, rest, lead) || lead.skips)
        return false;
    LeadingReturn returned = leadingReturn(lead, list, rest);
    if (!returned.found()) return false;
    if (returned.constant) {
        argument = Ref(returned.constant);
    } else {
        Holder* value = arguments[returned.parameter].get();
        argument = argument->count() == 1 && value->count() == 1 ? Ref(value) : copyOf(value);
    }
    s_budget = afterLeadingReturn(lead, rest);
    return true;
}

// What a native's call runs with the list of the arguments on the stack, up
// to the callee's parameter step, which binds the list's elements as they
// are bound here and leaves the list (or the parameter that stands in for it
// when it is dropped unread) on the stack.
bool Env::callWithArguments(Holder* callee, Ref* arguments, size_t count, Ref& answer) {
    vBase* value = callee->value();
    const bool method = callee->typeCode() == TYPE_METHOD;
    Holder* function = method ? static_cast<vMethod*>(value)->function() : callee;
    const Step* first = parameterStep(function, count);
    if (!first || !idle() || s_budget < first->span ||
        NestingGuard::depth() + 2 > MAX_VALUE_NESTING)
        return false;
    for (size_t i = 0; i < count; ++i)
        if (!isPlainType(arguments[i]->typeCode())) return false;
    CodeBlock* code = function->value()->code();
    const ParameterList& list = code->execForm().parameters(first->target);
    if (!readsOnlyAfter(*code, *first, list)) {
        for (size_t i = 0; i < count; ++i)
            if (arguments[i]->count() != 1) arguments[i] = copyOf(arguments[i].get());
    }
    Holder* self = method ? static_cast<vMethod*>(value)->self() : nullptr;
    Scope* scope = self ? new MethodScope(code, function, self) : new FunctionScope(code, function);
    enter(scope);
    // The parameters share the holders, and then hold them alone (or with
    // the caller, when nothing can tell): a second caller of takeParameters
    // would move it out of the direct call.
    scope->declareParameters(list, arguments);
    // A pop right after the parameters drops their list unread: when the
    // budget covers it too, the list is never pushed.
    int pc = first->span;
    if (s_budget > pc && first[pc].action == STEP_POP)
        ++pc;
    else if (count == 1 || list.droppedUnread)
        push(scope->parameterAt(0));
    else
        push(Ref(new vRArray(TupleElements(arguments, arguments + count))));
    for (size_t i = 0; i < count; ++i)
        arguments[i].release()->releasePlain();
    scope->pc() = pc;
    s_budget -= pc;
    run(nullptr);
    answer = pop();
    return true;
}

bool Env::endBlock(int& scopePc, int pc) {
    scopePc = pc;
    m_current = m_current->onEnd(*this);
    return true;
}

// The pc is kept as a pointer to the next step and written back to the scope
// before anything that may read or move it: an instruction's own execute, the
// end of the block, a stop. The budget is kept in a local too, stored before
// anything that may run script code elsewhere (dropping an object runs its
// destructor, which draws from the same budget) and loaded again after it.
bool Env::runBlock(CodeBlock* block, int& scopePc) {
    const ExecForm& form = block->execForm();
    const Step* const steps = form.steps();
    const int size = form.size();
    auto indexOf = [steps](const Step* step) { return static_cast<int>(step - steps); };
    // A pc past the end (a loop's restart index in a damaged compiled file)
    // ends the block.
    const Step* next = steps + std::min(scopePc, size);
    int64_t budget = s_budget;
    for (;;) {
        if (--budget < 0) {
            s_budget = 0;
            if (next->action == STEP_END) return endBlock(scopePc, indexOf(next));
            // The pc stays on the instruction that did not run.
            s_budgetExhausted = true;
            s_stopPlace = block->placeAt(indexOf(next));
            scopePc = indexOf(next);
            return false;
        }
        const Step& step = *next++;
        switch (step.action) {
        case STEP_END:
            s_budget = budget + 1; // the end of a block is no instruction
            return endBlock(scopePc, indexOf(&step));
        case STEP_PUSH_CONSTANT:
            push(step.constant);
            continue;
        case STEP_POP: {
            // An empty stack is the instruction's to report.
            if (m_stack.empty()) break;
            Holder* dropped = m_stack.back().release();
            m_stack.pop_back();
            s_budget = budget;
            dropped->release();
            budget = s_budget;
            continue;
        }
        case STEP_VARIABLE:
            // Reads no pc and runs no script code.
            if (Holder* found = rememberedRead(*this, step.op)) {
                push(found);
                continue;
            }
            static_cast<VARIABLE*>(step.op)->VARIABLE::execute(*this);
            continue;
        case STEP_JUMP:
            next = steps + step.target;
            continue;
        case STEP_JUMP_IF:
            s_budget = budget;
            if (pop().value()->toBool() == step.when) next = steps + step.target;
            budget = s_budget;
            continue;
        case STEP_OPERATOR:
            s_budget = budget;
            if (operateInPlace(*this, step)) {
                budget = s_budget;
                continue;
            }
            if (step.when && fusable(step, budget) && operateIntoInt(*this, step)) {
                budget -= step.span - 1;
                next += step.span - 1;
                continue;
            }
            if (operateOnInts(*this, step)) continue;
            break;
        case STEP_COMPARE:
            // Ints only: nothing is dropped but ints.
            if (compareInPlace(*this, step)) continue;
            break;
        case STEP_COMPARE_JUMP: {
            bool outcome = false;
            if (!fusable(step, budget) || !compareInts(*this, step, outcome)) break;
            m_stack.pop_back();
            m_stack.pop_back();
            budget -= step.span - 1;
            next = outcome == step.when ? steps + step.target : next + step.span - 1;
            continue;
        }
        case STEP_OPERANDS_COMPARE_JUMP: {
            // Otherwise the first operand's read or push alone.
            Holder* first = nullptr;
            Holder* second = nullptr;
            if (!fusable(step, budget) || !intOperands(*this, step, first, second)) break;
            budget -= step.span - 1;
            next = compareValues(step.operation, intOf(first), intOf(second)) == step.when
                       ? steps + step.target
                       : next + step.span - 1;
            continue;
        }
        case STEP_OPERANDS_OPERATOR: {
            Holder* first = nullptr;
            Holder* second = nullptr;
            if (!fusable(step, budget) || !intOperands(*this, step, first, second)) break;
            if (step.when && budget >= step.span && assignInts(*this, step, first, second)) {
                budget -= step.span;
                next += step.span;
                continue;
            }
            budget -= step.span - 1;
            push(Ref::adopt(Holder::makeInt(combineValues(step.operation, intOf(first), second))));
            next += step.span - 1;
            continue;
        }
        case STEP_ASSIGN_READ: {
            Holder* target = fusable(step, budget) ? readOf(*this, step.op) : nullptr;
            if (!target || !assignRead(*this, step, target)) break;
            budget -= step.span - 1;
            next += step.span - 1;
            continue;
        }
        case STEP_OPERANDS_INDEX: {
            if (!fusable(step, budget)) break;
            Holder* element = nullptr;
            bool jumps = false;
            int done = indexElement(*this, step, element, jumps);
            if (done == 0) break;
            budget -= done - 1;
            if (element) push(element);
            next = jumps ? steps + step.target : next + done - 1;
            continue;
        }
        case STEP_READ_MEMBER: {
            // A variable's holder is held by its table besides, so it is no
            // temporary whose methods a read would have to keep alive.
            Holder* object = fusable(step, budget) ? readOf(*this, step.op) : nullptr;
            if (!object) break;
            budget -= step.span - 1;
            s_budget = budget;
            Holder* member = static_cast<MEMBER*>(step.second)->memberOf(object);
            budget = s_budget;
            if (member)
                push(member);
            else
                push(makeEmpty());
            next += step.span - 1;
            continue;
        }
        case STEP_PARAMETERS:
            // A thread copied as an argument copies this scope with its pc,
            // which the argument instruction would have left past the list.
            scopePc = indexOf(next) + step.span - 1;
            if (!fusable(step, budget) || !bindParameters(*this, form.parameters(step.target)))
                break;
            budget -= step.span - 1;
            next += step.span - 1;
            continue;
        case STEP_SUBSTITUTE:
            if (substituteInt(*this)) continue;
            break;
        case STEP_INT_STEP:
            if (stepInt(*this, step)) continue;
            break;
        case STEP_LIST:
            // Reads no pc and runs no script code.
            static_cast<LIST*>(step.op)->LIST::execute(*this);
            continue;
        case STEP_BLOCK: {
            CodeBlock* body = static_cast<SCOPE*>(step.op)->block();
            bool skips = false;
            int tested = testAhead(*this, body->execForm(), budget, skips);
            budget -= tested;
            if (skips) continue;
            scopePc = indexOf(next);
            if (Holder* value =
                    tested ? returnAhead(*this, body->execForm(), tested, budget) : nullptr) {
                m_stack.back() = Ref(value);
                s_budget = budget - RETURN_SPAN;
                m_current = m_current->onReturn();
                return true;
            }
            s_budget = budget;
            Scope* scope = new AnonymousScope(body);
            enter(scope);
            scope->pc() = tested;
            return true;
        }
        case STEP_RETURN:
            s_budget = budget;
            scopePc = indexOf(next);
            m_current = m_current->onReturn();
            return true;
        case STEP_CALL_ARGUMENTS:
            switch (callDirectly(step, form.call(step.target), budget, scopePc)) {
            case DirectCall::ENTERED:
                return true;
            case DirectCall::ANSWERED:
                next = steps + scopePc;
                budget = s_budget;
                continue;
            case DirectCall::DECLINED:
                // The function's (or the object's) read alone, as
                // STEP_VARIABLE runs it.
                static_cast<VARIABLE*>(step.op)->VARIABLE::execute(*this);
                continue;
            }
            __builtin_unreachable();
        case STEP_CALL: {
            s_budget = budget;
            scopePc = indexOf(next);
            Scope* caller = m_current;
            const uint64_t serial = caller->serial();
            makeCall(*this, step.target);
            // The callee's scope is current next, or the caller's again at
            // another place; a native's call or one answered without a frame
            // goes on here.
            if (m_current != caller || caller->serial() != serial || scopePc != indexOf(next))
                return true;
            budget = s_budget;
            continue;
        }
        case STEP_READ_INT_STEP:
            if (!fusable(step, budget) || !readIntStep(*this, step)) break;
            --budget;
            ++next;
            continue;
        case STEP_LOOP_INT_STEP: {
            // The read, the step and the jump; then the test's operands, the
            // comparison, its jump and the pop of the stepped value.
            const Step& test = steps[step.target];
            Holder* found = budget >= step.span + test.span + 1 ? readOf(*this, step.op) : nullptr;
            if (!found || found->typeCode() != TYPE_INT) break;
            auto* number = static_cast<vInt*>(found->value());
            const int32_t old = number->value();
            const auto one = static_cast<uint32_t>(step.operation == 0 ? 1 : -1);
            number->setValue(static_cast<int32_t>(static_cast<uint32_t>(old) + one));
            if (loopTestHolds(*this, step, test, found)) {
                budget -= step.span + test.span + 1;
                next = steps + step.target + test.span + 1;
                continue;
            }
            // The stepped value stays for whatever comes after the test.
            if (step.when)
                push(found);
            else
                push(freshCopy(step.constant, old));
            budget -= step.span;
            next = steps + step.target;
            continue;
        }
        case STEP_COMPOUND_STATEMENT: {
            // The POP after the compound drops x's holder, which x's table
            // holds besides: dropping it runs nothing.
            Holder* target = nullptr;
            Holder* operand = nullptr;
            if (budget < step.span || !intOperands(*this, step, target, operand)) break;
            auto* number = static_cast<vInt*>(target->value());
            number->setValue(wrapValues(step.operation, number->value(), intOf(operand)));
            budget -= step.span;
            next += step.span;
            continue;
        }
        case STEP_COMPOUND_ELEMENT: {
            // As STEP_COMPOUND_STATEMENT, with an int element in y's place:
            // the array holds it besides, so dropping it runs nothing either.
            Holder* target = budget >= step.span ? readOf(*this, step.op) : nullptr;
            if (!target || target->typeCode() != TYPE_INT) break;
            int32_t index = 0;
            vObject* object = indexedObject(*this, steps[step.target], index);
            Holder* element = object ? object->presentElement(index) : nullptr;
            if (!element || element->typeCode() != TYPE_INT) break;
            auto* number = static_cast<vInt*>(target->value());
            number->setValue(wrapValues(step.operation, number->value(), intOf(element)));
            budget -= step.span;
            next += step.span;
            continue;
        }
        case STEP_LOOP_COMPOUND: {
            // The same, for the variable's read, the operand and the compound.
            const Step& test = steps[step.target];
            Holder* target = nullptr;
            Holder* operand = nullptr;
            if (budget < step.span + test.span + 1 || !intOperands(*this, step, target, operand))
                break;
            auto* number = static_cast<vInt*>(target->value());
            number->setValue(wrapValues(step.operation, number->value(), intOf(operand)));
            if (loopTestHolds(*this, step, test, target)) {
                budget -= step.span + test.span + 1;
                next = steps + step.target + test.span + 1;
                continue;
            }
            push(target);
            budget -= step.span;
            next = steps + step.target;
            continue;
        }
        case STEP_COMPOUND:
            if (compoundInts(*this, step)) continue;
            break;
        case STEP_INSTRUCTION:
            break;
        default:
            // Every step's action is one of the above: the dispatch needs no
            // range check.
            __builtin_unreachable();
        }
        // The instruction itself.
        s_budget = budget;
        scopePc = indexOf(next);
        int status = step.op->execute(*this);
        if (status != STATUS_CONTINUE) return status != STATUS_YIELD;
        budget = s_budget;
        next = steps + std::min(scopePc, size);
    }
}

// One block after another, in this one frame: a call, a return or a block's
// end only changes which scope's block comes next.
bool Env::run(Scope* until) {
    while (m_current && m_current != until) {
        if (!runBlock(m_current->code(), m_current->pc())) return false;
    }
    return true;
}

void Env::drive() {
    run(nullptr);
}

} // namespace Kel
