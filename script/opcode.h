// OpCode: the base of every instruction class. Compiled code is a sequence of
// these objects; each executes itself against an environment, so the run loop
// has no decoding step. Slot order is fixed.
#pragma once

#include <cstddef>

namespace Kel {

class Env;
class ByteWriter;

// What execute() tells the run loop. Only CONTINUE and YIELD matter to it;
// every other status hands control back to the driver.
enum Status {
    STATUS_CONTINUE = 0,
    STATUS_CALL = 1,
    STATUS_RETURN = 2,
    STATUS_BREAK = 4,
    STATUS_CONTINUE_LOOP = 5,
    STATUS_GOTO = 6,
    STATUS_YIELD = 7,
    STATUS_BLOCK = 8,
    STATUS_LOOP = 10,
};

// Categories for the peephole optimiser and the call instruction's tail check.
enum Kind {
    KIND_NONE = 0,
    KIND_CONSTANT = 1,
    KIND_VARIABLE = 8,
    KIND_POP = 9,
    KIND_RETURN = 0x13,
    KIND_UNARY = 0x1E,
    KIND_PLUS = 0x1F,
    KIND_INC = 0x25,
    KIND_DEC = 0x26,
    KIND_BINARY = 0x2A,
    KIND_JR = 0x4A,
    KIND_LIST = 0x4D,
    KIND_PARENTHESES = 0x4E,
    KIND_END_OF_BLOCK = 255,
};

class OpCode {
public:
    virtual ~OpCode() = default;                       // 0
    virtual int execute(Env& env) = 0;                 // 1  result: a Status
    virtual OpCode* clone() const = 0;                 // 2
    virtual void setTarget(int) {}                     // 3  jumps only
    virtual int kind() const { return KIND_NONE; }     // 4
    virtual void serialize(ByteWriter& out) const = 0; // 5
    virtual void reserved() {}                         // 6

    // Every compile, copy and load makes thousands of small instructions, so
    // they come from the size-class pools like values do.
    static void* operator new(std::size_t size);
    static void operator delete(void* slot, std::size_t size);
};

} // namespace Kel
