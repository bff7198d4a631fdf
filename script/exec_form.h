// ExecForm: how the run loop executes a code block. The instruction objects
// stay the block's compiled form (generated, optimised, written, read and
// listed); the first run of a block derives from them one compact step per
// instruction, which the run loop dispatches with a switch instead of a
// virtual call. A step may stand for a run of instructions that has a cheaper
// path as a whole (a comparison and the jump that tests it, a function's
// parameter list); it takes that path only when the values at hand allow it,
// and otherwise runs its first instruction alone, so every index of the block
// stays a place where execution may start or resume.
#pragma once

#include "holder.h"
#include "member_table.h"
#include "shared_string.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace Kel {

class CodeBlock;
class OpCode;

enum StepAction : uint8_t {
    STEP_INSTRUCTION,           // the instruction's own execute
    STEP_PUSH_CONSTANT,         // push the constant's own holder
    STEP_POP,                   // pop and drop
    STEP_VARIABLE,              // the variable instruction, called directly
    STEP_JUMP,                  // pc := target
    STEP_JUMP_IF,               // a = pop; pc := target when a's truth is `when`
    STEP_OPERATOR,              // a two-operand operator, in place on a temporary number
    STEP_COMPARE,               // a comparison, its result in place of a temporary int
    STEP_COMPARE_JUMP,          // a comparison and the conditional jump that tests it
    STEP_OPERANDS_COMPARE_JUMP, // two operands, a comparison of them and its jump
    STEP_OPERANDS_OPERATOR,     // two operands and a two-operand operator
    STEP_OPERANDS_INDEX,        // a container's read, an index and the selection,
                                // then what IndexUse says
    STEP_READ_MEMBER,           // a variable's read and a member of it
    STEP_PARAMETERS,            // a function's parameter list bound in one go
    STEP_SUBSTITUTE,            // `=`, an int into an int in place
    STEP_INT_STEP,              // ++ and --, prefix (`when`) or postfix, on an int
    STEP_COMPOUND,              // +=, -= and *=, in place on an int
    STEP_READ_INT_STEP,         // a variable's read and ++ or -- of it
    STEP_LOOP_INT_STEP,         // a loop's ++ or -- of its variable, the jump
                                // back to its test and, when the test holds,
                                // the pop of the stepped value
    STEP_LOOP_COMPOUND,         // the same for a loop's +=, -= or *= of its
                                // variable by a variable or an int constant
    STEP_COMPOUND_STATEMENT,    // `x += y;` (or -=, *=), y a variable or an int
                                // constant: the read, y, the compound and the pop
    STEP_COMPOUND_ELEMENT,      // `x += a[b];` (or -=, *=): x's read, the
                                // STEP_OPERANDS_INDEX after it, the compound
                                // and the pop
    STEP_ASSIGN_READ,           // x's read, the STEP_OPERANDS_OPERATOR after it
                                // with its assignment, and the pop
    STEP_CALL,                  // a call, told the kind of the instruction after it
    STEP_LIST,                  // the list instruction, called directly
    STEP_BLOCK,                 // a block's scope entered
    STEP_RETURN,                // the current scope's return transfer
    STEP_CALL_ARGUMENTS,        // a function's read, its listed arguments and the call
    STEP_END,                   // the block's end, after its last instruction
};

// The operands of the STEP_OPERANDS_ steps: a variable's read or an int
// constant, each.
enum OperandKinds : uint8_t {
    FIRST_IS_CONSTANT = 1,
    SECOND_IS_CONSTANT = 2,
    // STEP_LOOP_ steps: the test's first operand reads the stepped variable,
    // whose holder the step has at hand.
    TEST_READS_STEPPED = 4,
};

// What follows the selection of a STEP_OPERANDS_INDEX (its `operation`):
// nothing fused, `= int constant` and the pop, or a conditional jump.
enum IndexUse : uint8_t {
    INDEX_READ = 0,
    INDEX_WRITE = 1,
    INDEX_JUMP = 2,
};

// The instructions of a STEP_OPERANDS_INDEX: two operands and the index, and
// for a write the int constant, the `=` and the pop after them.
constexpr uint8_t INDEX_SPAN = 3;
constexpr uint8_t ELEMENT_WRITE_SPAN = 3;

// STEP_OPERANDS_OPERATOR's target when `=` follows, beside the 0, 1 and 2 of
// `+=`, `-=` and `*=`.
constexpr int32_t SUBSTITUTION_AFTER = 3;

struct Step {
    OpCode* op; // the first instruction the step stands for
    union {
        Holder* constant; // STEP_PUSH_CONSTANT; postfix ++ and --: the copy
        OpCode* second;   // STEP_OPERANDS_, STEP_LOOP_COMPOUND and
                          // STEP_COMPOUND_STATEMENT: the second operand's
                          // instruction
    };
    int32_t target; // jumps: an absolute index; STEP_PARAMETERS: its list;
                    // STEP_LOOP_: the test's step;
                    // STEP_COMPOUND_ELEMENT: the index's step;
                    // STEP_CALL_ARGUMENTS: its call;
                    // STEP_OPERANDS_OPERATOR: the assignment after it;
                    // STEP_CALL: the kind of the instruction after the call
    StepAction action;
    uint8_t operation; // STEP_OPERATOR, the comparisons and STEP_COMPOUND,
                       // STEP_LOOP_COMPOUND, STEP_COMPOUND_STATEMENT,
                       // STEP_COMPOUND_ELEMENT: which one;
                       // STEP_INT_STEP, STEP_READ_INT_STEP: 0 up, 1 down
    uint8_t span;      // instructions the step stands for
    bool when;         // conditional jumps: the truth that jumps; steps: prefix;
                       // STEP_OPERANDS_OPERATOR: an assignment follows;
                       // STEP_OPERATOR: `=` follows
    uint8_t operands;  // STEP_OPERANDS_, STEP_LOOP_COMPOUND,
                       // STEP_COMPOUND_STATEMENT: OperandKinds;
                       // STEP_PARAMETERS: how many names its list has
};

// A function's parameter list: `PUSH_NULL, LOCAL n1` then `PUSH_NULL, LOCAL nk,
// LIST` for each further name, then `ARGUMENT`.
struct ParameterList {
    static constexpr uint32_t ABSENT = UINT32_MAX;
    // Where `name` is among the names; ABSENT when it is none of them.
    uint32_t indexOf(std::string_view name) const;

    // Tells this list from every other one ever made, also one made later
    // at the same address.
    uint64_t serial;
    std::vector<SharedString> names;
    // The variable table those declarations build in a fresh scope, with the
    // slot each name lands in: every call lays its table out the same way.
    MemberTable layout;
    std::vector<uint32_t> slots;
    // The list the instructions leave on the stack is dropped before anything
    // reads it, so any holder may stand in for it.
    bool droppedUnread = false;
    // The body begins with an `if` that compares two of these parameters or
    // int constants: a direct call may make the test from its arguments.
    bool leadingTest = false;
};

// A call `f(a1, ..., ak)` or `o.m(a1, ..., ak)` with one or more arguments,
// each a variable's read, an int constant or a two-operand operator on two of
// those: `VARIABLE f` (or `VARIABLE o, MEMBER m`), the first argument, each
// further one followed by `LIST`, then `CALL`.
struct CallArguments {
    // The most a call step takes (as many as a parameter step binds).
    static constexpr size_t MAX_ARGUMENTS = 16;
    struct Argument {
        OpCode* first;
        OpCode* second;    // the operator's second operand; none for a lone operand
        uint8_t operands;  // OperandKinds
        uint8_t operation; // the operator, in byte order from ADD
    };
    std::vector<Argument> arguments;
    int32_t nextKind; // the kind of the instruction after the call
    int32_t after;    // its index
    // `o.m(...)`: the member's read, and where m was found in the last
    // object; none for a function's call.
    OpCode* member = nullptr;
    mutable MemberTable::SlotMemo memo;
};

class ExecForm {
public:
    explicit ExecForm(const CodeBlock& block);
    ~ExecForm();
    ExecForm(const ExecForm&) = delete;
    ExecForm& operator=(const ExecForm&) = delete;

    // Steps 0 .. size() - 1 stand for the instructions, step size() for the
    // end of the block, where every jump out of the block lands.
    const Step* steps() const { return m_steps.data(); }
    int size() const { return static_cast<int>(m_steps.size()) - 1; }
    const ParameterList& parameters(int32_t index) const {
        return m_parameters[static_cast<size_t>(index)];
    }
    const CallArguments& call(int32_t index) const { return m_calls[static_cast<size_t>(index)]; }
    // The function a call step met was none whose parameter list a direct
    // call binds (a native, a thread, a method where a function was read or
    // the reverse): the step becomes its first instructions' own step and no
    // longer tries.
    void decline(const Step& call) const;

private:
    void translate(const CodeBlock& block, int index);
    bool fuseParameters(const CodeBlock& block, int index);
    bool fuseCall(const CodeBlock& block, int index);
    bool fuseComparisonJump(const CodeBlock& block, int index);
    bool fuseOperands(const CodeBlock& block, int index);
    bool fuseMemberRead(const CodeBlock& block, int index);
    bool fuseReadIntStep(const CodeBlock& block, int index);
    void fuseAssignRead(const CodeBlock& block, int index);
    void fuseLoopStep(const CodeBlock& block, int index);
    void fuseCompoundElement(const CodeBlock& block, int index);

    std::vector<Step> m_steps;
    std::vector<ParameterList> m_parameters;
    std::vector<CallArguments> m_calls;
};

} // namespace Kel
