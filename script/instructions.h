// The instruction classes: one small final class per instruction, each with
// its operands private and a one-line contract. execute() does the work
// against an environment; the code generator builds these, the compiled-code
// reader rebuilds them, and the disassembler reads them back through the
// accessors.
#pragma once

#include "byte_writer.h"
#include "holder.h"
#include "member_table.h"
#include "opcode.h"
#include "opcode_list.h"
#include "shared_string.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace Kel {

class CodeBlock;
class MethodScope;
class Scope;

// Kind code of the instruction with byte code `byte` (KIND_NONE for unknown).
constexpr int opcodeKind(uint8_t byte) {
    switch (byte) {
#define KEL_OPCODE_KIND(name, code, kind, operand)                                                 \
    case code:                                                                                     \
        return kind;
        KEL_OPCODES(KEL_OPCODE_KIND)
#undef KEL_OPCODE_KIND
    }
    return KIND_NONE;
}

// Byte code of an instruction object, for the disassembler and the optimiser.
uint8_t byteCodeOf(const OpCode& op);
// Upper-case name of a byte code ("PUSH_INT"); "" for a byte that is no instruction.
const char* opcodeName(uint8_t byte);
// Operand shape of a byte code; OPERAND_NONE for a byte that is no instruction.
OperandShape opcodeOperand(uint8_t byte);

// The holder a name stands for in `env`: the current scope chain, then the
// global object; otherwise the name becomes a new local of the current scope
// (none when no scope runs). Variable reads and thread member reads share it.
Holder* resolveVariable(Env& env, std::string_view name);

// An instruction without operands.
#define KEL_PLAIN_INSTRUCTION(NAME)                                                                \
    class NAME final : public OpCode {                                                             \
    public:                                                                                        \
        static constexpr uint8_t CODE = OP_##NAME;                                                 \
        int execute(Env& env) override;                                                            \
        OpCode* clone() const override { return new NAME; }                                        \
        int kind() const override { return opcodeKind(CODE); }                                     \
        void serialize(ByteWriter& out) const override { out.byte(CODE); }                         \
    }

// An instruction whose operand is a name.
#define KEL_NAMED_INSTRUCTION(NAME)                                                                \
    class NAME final : public OpCode {                                                             \
    public:                                                                                        \
        static constexpr uint8_t CODE = OP_##NAME;                                                 \
        explicit NAME(std::string_view name) : m_name(name) {}                                     \
        int execute(Env& env) override;                                                            \
        OpCode* clone() const override { return new NAME(m_name); }                                \
        int kind() const override { return opcodeKind(CODE); }                                     \
        void serialize(ByteWriter& out) const override {                                           \
            out.byte(CODE);                                                                        \
            out.text(m_name);                                                                      \
        }                                                                                          \
        std::string_view name() const { return m_name; }                                           \
                                                                                                   \
    private:                                                                                       \
        std::string m_name;                                                                        \
    }

// A jump whose operand the code generator may fix up later with setTarget:
// an instruction index (absolute jumps) or a distance (relative jumps).
#define KEL_JUMP_INSTRUCTION(NAME)                                                                 \
    class NAME final : public OpCode {                                                             \
    public:                                                                                        \
        static constexpr uint8_t CODE = OP_##NAME;                                                 \
        explicit NAME(int32_t target) : m_target(target) {}                                        \
        int execute(Env& env) override;                                                            \
        OpCode* clone() const override { return new NAME(m_target); }                              \
        void setTarget(int target) override { m_target = target; }                                 \
        int kind() const override { return opcodeKind(CODE); }                                     \
        void serialize(ByteWriter& out) const override {                                           \
            out.byte(CODE);                                                                        \
            out.i32(m_target);                                                                     \
        }                                                                                          \
        int32_t target() const { return m_target; }                                                \
                                                                                                   \
    private:                                                                                       \
        int32_t m_target;                                                                          \
    }

// A step operator (++ or --) that keeps its own int 1 to add or subtract, so a
// step allocates nothing beyond the copy the postfix form must push.
#define KEL_STEP_INSTRUCTION(NAME)                                                                 \
    class NAME final : public OpCode {                                                             \
    public:                                                                                        \
        static constexpr uint8_t CODE = OP_##NAME;                                                 \
        NAME();                                                                                    \
        int execute(Env& env) override;                                                            \
        OpCode* clone() const override { return new NAME; }                                        \
        int kind() const override { return opcodeKind(CODE); }                                     \
        void serialize(ByteWriter& out) const override { out.byte(CODE); }                         \
                                                                                                   \
    private:                                                                                       \
        Ref m_one;                                                                                 \
    }

// ---- Constants ---------------------------------------------------------------
// Each holds a pre-built holder and pushes it shared, so a literal allocates nothing.

// PUSH_INT: push the instruction's own int holder (shared, not a copy).
class PUSH_INT final : public OpCode {
public:
    static constexpr uint8_t CODE = OP_PUSH_INT;
    explicit PUSH_INT(int32_t value);
    int execute(Env& env) override;
    OpCode* clone() const override { return new PUSH_INT(m_value); }
    int kind() const override { return KIND_CONSTANT; }
    void serialize(ByteWriter& out) const override;
    int32_t value() const { return m_value; }
    const Ref& holder() const { return m_holder; }

private:
    Ref m_holder;
    int32_t m_value;
};

// PUSH_HEX: push the instruction's own unsigned (hex) holder.
class PUSH_HEX final : public OpCode {
public:
    static constexpr uint8_t CODE = OP_PUSH_HEX;
    explicit PUSH_HEX(uint32_t value);
    int execute(Env& env) override;
    OpCode* clone() const override { return new PUSH_HEX(m_value); }
    int kind() const override { return KIND_CONSTANT; }
    void serialize(ByteWriter& out) const override;
    uint32_t value() const { return m_value; }
    const Ref& holder() const { return m_holder; }

private:
    Ref m_holder;
    uint32_t m_value;
};

// PUSH_FLOAT: push the instruction's own float holder.
class PUSH_FLOAT final : public OpCode {
public:
    static constexpr uint8_t CODE = OP_PUSH_FLOAT;
    explicit PUSH_FLOAT(double value);
    int execute(Env& env) override;
    OpCode* clone() const override { return new PUSH_FLOAT(m_value); }
    int kind() const override { return KIND_CONSTANT; }
    void serialize(ByteWriter& out) const override;
    double value() const { return m_value; }
    const Ref& holder() const { return m_holder; }

private:
    Ref m_holder;
    double m_value;
};

// PUSH_STRING: push the instruction's own string holder.
class PUSH_STRING final : public OpCode {
public:
    static constexpr uint8_t CODE = OP_PUSH_STRING;
    explicit PUSH_STRING(std::string_view value);
    int execute(Env& env) override;
    OpCode* clone() const override { return new PUSH_STRING(m_value); }
    int kind() const override { return KIND_CONSTANT; }
    void serialize(ByteWriter& out) const override;
    std::string_view value() const { return m_value; }
    const Ref& holder() const { return m_holder; }

private:
    Ref m_holder;
    std::string m_value;
};

// PUSH_NULL: push a fresh holder with a new empty object.
KEL_PLAIN_INSTRUCTION(PUSH_NULL);

// PUSH_CODE: push a clone of the function object (new holder, shared code block).
class PUSH_CODE final : public OpCode {
public:
    static constexpr uint8_t CODE = OP_PUSH_CODE;
    // Shares `function`, the holder of a function object.
    explicit PUSH_CODE(const Ref& function) : m_function(function) {}
    int execute(Env& env) override;
    OpCode* clone() const override { return new PUSH_CODE(m_function); }
    void serialize(ByteWriter& out) const override;
    const Ref& function() const { return m_function; }

private:
    Ref m_function;
};

// ---- Variables and declarations ------------------------------------------------

// VARIABLE: push the holder the name resolves to (scopes, then globals, else a new local).
// A loop runs the same VARIABLE in the same scope again and again, so the
// holder found is remembered with the scope the lookup started from and the
// binding epoch it was found under; while neither has changed, resolving
// again would find it again. A call runs it in a fresh scope each time, where
// the scope chain must be searched again, but two shortcuts hold: a local
// declared by the same instruction as last time sits in the same slot of the
// scope's table under the same shared name, and the global found last stays
// right while the binding epoch stands. A call that holds its parameters
// apart from a table has the same list of them each time, and past them the
// same function object's members. A loop or block that declares a variable of
// its own is a new scope on every entry; a name that is not its own is found
// where it was found before, from its outer scopes, while they stand as they
// were.
class VARIABLE final : public OpCode {
public:
    static constexpr uint8_t CODE = OP_VARIABLE;
    explicit VARIABLE(std::string_view name);
    ~VARIABLE() override;
    int execute(Env& env) override;
    // The holder the read finds, as execute would push it; none only when no
    // scope runs.
    Holder* find(Env& env);
    // The same, but none where the read would declare the name: for a read
    // made ahead of the scope it belongs to.
    Holder* findDeclared(Env& env);
    // find's commonest answer, for a caller to check before calling it: the
    // holder found last from a lookup origin of this serial under this
    // binding epoch; none when find must search.
    Holder* remembered(uint64_t originSerial, uint64_t epoch) const {
        return originSerial == m_foundInScope && epoch == m_foundInEpoch ? m_found : nullptr;
    }
    // Where the name is among the parameters of the list whose serial is
    // given, as a read in a frame of that list found it; UINT32_MAX when it
    // is none of them, or no read there has looked yet.
    uint32_t parameterIndex(uint64_t listSerial) const {
        return listSerial == m_frameSerial ? m_frameIndex : UINT32_MAX;
    }
    OpCode* clone() const override { return new VARIABLE(m_name); }
    int kind() const override { return opcodeKind(CODE); }
    void serialize(ByteWriter& out) const override {
        out.byte(CODE);
        out.text(m_name);
    }
    std::string_view name() const { return m_name; }

private:
    struct SearchMemos;
    Holder* lookUp(Env& env);
    // Whether the origin is a call's frame of the parameter list met last.
    bool inFrameMetLast(Scope* origin) const;
    // The origin's parameter of the name, when the origin is a frame of the
    // parameter list met last; none otherwise.
    Holder* frameParameter(Scope* origin) const;
    // What such a frame answers without a search: the parameter, or where the
    // name is none, what a plain function's frame found last or a method's
    // instance member in the slot remembered; none when that does not settle
    // it.
    Holder* rememberedInFrame(Scope* origin, uint64_t epoch) const;
    // The lookup from `origin` (the scope's) when none of the answers
    // remembered is the one; it remembers its own. Apart, so that a read
    // answered at once saves and restores no registers.
    [[gnu::noinline]] Holder* search(Scope* scope, Scope* origin, uint64_t epoch);
    // The global object's member, or none, as of m_globalEpoch.
    Holder* globalMember();
    // The origin's own variable in the slot remembered, if it still is ours.
    Holder* rememberedOwnVariable(Scope* origin) const;
    // The holder found from a call's frame whose parameters are held apart,
    // or none when that does not settle it.
    Holder* inFrame(Scope* origin, uint64_t epoch);
    Holder* inMethodFrame(MethodScope* origin, uint64_t epoch);
    // What inMethodFrame finds first in a method's frame of the list met
    // last, where the name is no parameter: the bound object's member in the
    // slot remembered; none when that does not settle it.
    Holder* selfMemberInFrame(Scope* origin) const;
    // The function object's member of the name, else the global.
    Holder* functionOrGlobal(vBase* function, uint64_t epoch);
    // What inFrame found last in a plain function's frame of the list met
    // last, where the name is no parameter, if its function is the same and
    // the binding epoch still `epoch`.
    Holder* foundInFrame(Scope* origin, uint64_t epoch) const;
    void rememberOwnVariable(Scope* origin, Holder* found);
    // `owner`'s member of the name, looked for first in the slot `memo`
    // remembers: a function object's (a static or a captured variable) or a
    // method's bound object's (an instance variable).
    Holder* rememberedMember(vBase* owner, MemberTable::SlotMemo& memo);
    // The holder found last from the origin's outer scopes, if the origin
    // hands the name on to them and they still stand as they were.
    Holder* foundOutward(Scope* origin, uint64_t epoch) const;
    void rememberOutward(Scope* origin, Holder* found, uint64_t epoch);
    // Where a lookup from a block or loop scope goes on when the name is not
    // its own; none when it stops there.
    Scope* outwardOrigin(Scope* origin) const;

    // What a compile makes of every read: the name and the memos that the
    // reads answered at once look at. The rest is made on the first search.
    std::string m_name;
    uint64_t m_foundInScope = 0; // scope serials start at 1
    uint64_t m_foundInEpoch = 0;
    Holder* m_found = nullptr;
    // A call's frame with its parameters held apart: the list last met (by
    // serial) and where the name is in it.
    uint64_t m_frameSerial = 0; // list serials start at 1
    uint32_t m_frameIndex = 0;
    // What a plain function's frame of that list found under the name, not
    // being a parameter; none before the first search.
    Holder* m_frameFound = nullptr;
    std::unique_ptr<SearchMemos> m_search;
    // Set while findDeclared runs: a search that finds nothing then declares
    // nothing either. The answers it does find are the ones find gives.
    static inline bool s_readingAhead = false;
};
// POP: pop and drop.
KEL_PLAIN_INSTRUCTION(POP);
// GLOBAL: v = pop; make the name a global member sharing v's holder; push v.
KEL_NAMED_INSTRUCTION(GLOBAL);
// An instruction with a name that each execution stores somewhere new: the
// name is kept as a shared string that every store shares instead of copying.
#define KEL_SHARED_NAME_INSTRUCTION(NAME)                                                          \
    class NAME final : public OpCode {                                                             \
    public:                                                                                        \
        static constexpr uint8_t CODE = OP_##NAME;                                                 \
        explicit NAME(std::string_view name) : m_name(name) {}                                     \
        int execute(Env& env) override;                                                            \
        OpCode* clone() const override { return new NAME(m_name.view()); }                         \
        int kind() const override { return opcodeKind(CODE); }                                     \
        void serialize(ByteWriter& out) const override {                                           \
            out.byte(CODE);                                                                        \
            out.text(m_name.view());                                                               \
        }                                                                                          \
        std::string_view name() const { return m_name.view(); }                                    \
                                                                                                   \
    private:                                                                                       \
        SharedString m_name;                                                                       \
    }

// LOCAL: v = pop; make the name a true local of the current scope; push v.
// Every call declares its parameters again.
KEL_SHARED_NAME_INSTRUCTION(LOCAL);
// STATIC: v = pop; the current scope's static declaration of the name with v.
KEL_NAMED_INSTRUCTION(STATIC);
// DECLARATION: v = pop; the current scope's declaration (an instance variable in a method).
// Every instance a constructor makes declares its members again, all under
// one name buffer, so that a read remembering where one instance keeps the
// member finds it in the next instance too.
KEL_SHARED_NAME_INSTRUCTION(DECLARATION);
// MEMBER: o = pop; push o's member of the name, created if missing.
class MEMBER final : public OpCode {
public:
    static constexpr uint8_t CODE = OP_MEMBER;
    explicit MEMBER(std::string_view name) : m_name(name) {}
    int execute(Env& env) override;
    OpCode* clone() const override { return new MEMBER(m_name); }
    int kind() const override { return opcodeKind(CODE); }
    void serialize(ByteWriter& out) const override {
        out.byte(CODE);
        out.text(m_name);
    }
    std::string_view name() const { return m_name; }
    // The member of `holder`'s value the instruction selects (made if
    // missing), or none where a value has no members.
    Holder* memberOf(Holder* holder);

private:
    // An object's member of the name, looked for first where the last object
    // had it.
    Holder* objectMember(MemberTable& table);

    std::string m_name;
    MemberTable::SlotMemo m_memo;
};
// INDEX: b = pop, a = pop; push a's element, member or slice selected by b.
KEL_PLAIN_INSTRUCTION(INDEX);

// LOCALINDEX: push element n of the current scope's own variables (grown if needed).
class LOCALINDEX final : public OpCode {
public:
    static constexpr uint8_t CODE = OP_LOCALINDEX;
    explicit LOCALINDEX(int32_t index) : m_index(index) {}
    int execute(Env& env) override;
    OpCode* clone() const override { return new LOCALINDEX(m_index); }
    void serialize(ByteWriter& out) const override;
    int32_t index() const { return m_index; }

private:
    int32_t m_index;
};

// ---- Calls, scopes and control ------------------------------------------------

// INSTANCE: c = pop; create an instance of class c (may enter its constructor).
KEL_PLAIN_INSTRUCTION(INSTANCE);
// CALL: arg = pop, callee = pop; call callee with arg, leaving first when in tail position.
KEL_PLAIN_INSTRUCTION(CALL);
// What CALL does, told the kind of the instruction after it (the block's own
// kindAt of the pc), which decides whether the call is in tail position.
void makeCall(Env& env, int nextKind);
// RETURN: the current scope's return transfer decides the new current scope.
KEL_PLAIN_INSTRUCTION(RETURN);
// BREAK: the current scope's break transfer decides the new current scope.
KEL_PLAIN_INSTRUCTION(BREAK);
// CONTINUE: the current scope's continue transfer decides the new current scope.
KEL_PLAIN_INSTRUCTION(CONTINUE);
// YIELD: suspend the environment; the next drive continues after it.
KEL_PLAIN_INSTRUCTION(YIELD);
// GOTO: jump to the label in this block or an enclosing block of the same function.
KEL_NAMED_INSTRUCTION(GOTO);

// SCOPE: enter a new block scope running the instruction's block.
class SCOPE final : public OpCode {
public:
    static constexpr uint8_t CODE = OP_SCOPE;
    // Takes over one reference to `block`.
    explicit SCOPE(CodeBlock* block) : m_block(block) {}
    ~SCOPE() override;
    SCOPE(const SCOPE&) = delete;
    SCOPE& operator=(const SCOPE&) = delete;
    int execute(Env& env) override;
    OpCode* clone() const override;
    void serialize(ByteWriter& out) const override;
    CodeBlock* block() const { return m_block; }

private:
    CodeBlock* m_block;
};

// LOOP: enter a new loop scope running the block; continue restarts at `restart`.
class LOOP final : public OpCode {
public:
    static constexpr uint8_t CODE = OP_LOOP;
    // Takes over one reference to `block`.
    LOOP(int32_t restart, CodeBlock* block) : m_block(block), m_restart(restart) {}
    ~LOOP() override;
    LOOP(const LOOP&) = delete;
    LOOP& operator=(const LOOP&) = delete;
    int execute(Env& env) override;
    OpCode* clone() const override;
    void serialize(ByteWriter& out) const override;
    CodeBlock* block() const { return m_block; }
    int32_t restart() const { return m_restart; }

private:
    CodeBlock* m_block;
    int32_t m_restart;
};

// ---- Assignment and operators -------------------------------------------------

// SUBSTITUTION: b = pop; substitute b into the top holder (operator =); it stays.
KEL_PLAIN_INSTRUCTION(SUBSTITUTION);
// ASSIGNMENT: b = pop; assign b into the top holder (operator :=); it stays.
KEL_PLAIN_INSTRUCTION(ASSIGNMENT);
// ARGUMENT: t = pop, s = pop; substitute s into t's holder; push t.
KEL_PLAIN_INSTRUCTION(ARGUMENT);
// PLUS: unary plus; the operand stays as it is.
KEL_PLAIN_INSTRUCTION(PLUS);
// MINUS: a = pop; push a negated copy of a.
KEL_PLAIN_INSTRUCTION(MINUS);
// DEREF: a = pop; push the holder a points at (a fresh empty object if none).
KEL_PLAIN_INSTRUCTION(DEREF);
// REF: a = pop; push a new pointer to a's holder.
KEL_PLAIN_INSTRUCTION(REF);
// NOT: a = pop; push int 1 if a is false, else 0.
KEL_PLAIN_INSTRUCTION(NOT);
// COMPL: a = pop; push a bit-complemented copy of a.
KEL_PLAIN_INSTRUCTION(COMPL);
// INC: postfix ++: a = pop; push a copy of the old value; add 1 to a in place.
KEL_STEP_INSTRUCTION(INC);
// DEC: postfix --: a = pop; push a copy of the old value; subtract 1 from a in place.
KEL_STEP_INSTRUCTION(DEC);
// PINC: prefix ++: add 1 to the top holder in place; it stays.
KEL_STEP_INSTRUCTION(PINC);
// PDEC: prefix --: subtract 1 from the top holder in place; it stays.
KEL_STEP_INSTRUCTION(PDEC);
// CLOSURE: the current scope captures its visible variables into the top function.
KEL_PLAIN_INSTRUCTION(CLOSURE);

// Two-operand operators: b = pop, a = pop; push a copy of a with the operation of b applied.
KEL_PLAIN_INSTRUCTION(ADD);
KEL_PLAIN_INSTRUCTION(SUB);
KEL_PLAIN_INSTRUCTION(MUL);
KEL_PLAIN_INSTRUCTION(DIV);
KEL_PLAIN_INSTRUCTION(MOD);
KEL_PLAIN_INSTRUCTION(AND);
KEL_PLAIN_INSTRUCTION(OR);
KEL_PLAIN_INSTRUCTION(XOR);
KEL_PLAIN_INSTRUCTION(SHL);
KEL_PLAIN_INSTRUCTION(SHR);

// Compound assignments: b = pop; apply the operation of b to the top holder in place.
KEL_PLAIN_INSTRUCTION(SADD);
KEL_PLAIN_INSTRUCTION(SSUB);
KEL_PLAIN_INSTRUCTION(SMUL);
KEL_PLAIN_INSTRUCTION(SDIV);
KEL_PLAIN_INSTRUCTION(SMOD);
KEL_PLAIN_INSTRUCTION(SAND);
KEL_PLAIN_INSTRUCTION(SOR);
KEL_PLAIN_INSTRUCTION(SXOR);
KEL_PLAIN_INSTRUCTION(SSHL);
KEL_PLAIN_INSTRUCTION(SSHR);

// Comparisons: b = pop, a = pop; push int 1 or 0 from a's comparison with b.
KEL_PLAIN_INSTRUCTION(EQ);
KEL_PLAIN_INSTRUCTION(NEQ);
KEL_PLAIN_INSTRUCTION(LE);
KEL_PLAIN_INSTRUCTION(GE);
KEL_PLAIN_INSTRUCTION(LT);
KEL_PLAIN_INSTRUCTION(GT);
// BAND: b = pop, a = pop; push int (a and b); both were already evaluated.
KEL_PLAIN_INSTRUCTION(BAND);
// BOR: b = pop, a = pop; push int (a or b); both were already evaluated.
KEL_PLAIN_INSTRUCTION(BOR);

// ---- Jumps: change only the current scope's pc ---------------------------------

// JMP: pc := target.
KEL_JUMP_INSTRUCTION(JMP);
// JT: a = pop; if a is true, pc := target.
KEL_JUMP_INSTRUCTION(JT);
// JF: a = pop; if a is false, pc := target.
KEL_JUMP_INSTRUCTION(JF);
// JR: pc := pc + offset (pc already past the JR).
KEL_JUMP_INSTRUCTION(JR);
// JRT: a = pop; if a is true, pc := pc + offset.
KEL_JUMP_INSTRUCTION(JRT);
// JRF: a = pop; if a is false, pc := pc + offset.
KEL_JUMP_INSTRUCTION(JRF);

// ---- Tuples --------------------------------------------------------------------

// LIST: b = pop, a = pop; append b to tuple a, or push a new tuple of a and b.
KEL_PLAIN_INSTRUCTION(LIST);
// PARENTHESES: a = pop; push a new tuple holding a.
KEL_PLAIN_INSTRUCTION(PARENTHESES);

#undef KEL_PLAIN_INSTRUCTION
#undef KEL_NAMED_INSTRUCTION
#undef KEL_JUMP_INSTRUCTION
#undef KEL_STEP_INSTRUCTION

} // namespace Kel
