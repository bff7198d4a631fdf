// vBase: the root of every Kel value class. Every operator of the language is
// one virtual operation here, so the interpreter never switches on a type; the
// per-class overrides are the language's semantics. Slot order is fixed.
#pragma once

#include "holder.h"
#include "pool.h"
#include "shared_string.h"

#include <cstdint>
#include <string_view>

namespace Kel {
class Env;
class CodeBlock;
class OpCode;
class ByteWriter;
} // namespace Kel

namespace Kel::variable::Variable {

// An element index at or past this answers no holder instead of growing an
// array by millions of fresh objects (and exhausting memory) on one access.
constexpr int MAX_ELEMENTS = 1 << 22;

// Type codes answered by typeCode().
enum TypeCode {
    TYPE_NIL = 0,
    TYPE_INT = 1,
    TYPE_HEX = 2,
    TYPE_FLOAT = 3,
    TYPE_STRING = 4,
    TYPE_POINTER = 5,
    TYPE_TUPLE = 6,
    TYPE_OBJECT = 7,
    TYPE_METHOD = 8,
    TYPE_CFUNCTION = 9,
    TYPE_CMETHOD = 10,
    TYPE_CPOINTER = 11,
    TYPE_THREAD = 12,
    TYPE_BIND_FUNCTION = 13,
    TYPE_BIND_METHOD = 14,
};

// Numbers and texts: copying one copies nothing else, dropping one runs no
// script code, and no method is bound to their holders.
inline bool isPlainType(int type) {
    return type <= TYPE_STRING && type != TYPE_NIL;
}

class vBase {
public:
    vBase() = default;
    vBase(const vBase&) = delete;
    vBase& operator=(const vBase&) = delete;

    virtual ~vBase();                                 // 0
    virtual int typeCode() const;                     // 1
    virtual vBase* clone() const;                     // 2
    virtual void gcTrace(Holder* root, int& counter); // 3
    virtual void gcMarkChildren();                    // 4
    virtual void onRelease();                         // 5
    // Returns the value the holder keeps: `this` converted, or a new value
    // (in which case this one has already deleted itself).
    virtual vBase* substitute(const Ref& rhs); // 6  operator =
    virtual vBase* assign(const Ref& rhs);     // 7  operator :=
    virtual void addAssign(const Ref& rhs);    // 8
    virtual void subAssign(const Ref& rhs);    // 9
    virtual void mulAssign(const Ref& rhs);    // 10
    virtual void divAssign(const Ref& rhs);    // 11
    virtual void modAssign(const Ref& rhs);    // 12
    virtual void andAssign(const Ref& rhs);    // 13
    virtual void orAssign(const Ref& rhs);     // 14
    virtual void xorAssign(const Ref& rhs);    // 15
    virtual void shlAssign(const Ref& rhs);    // 16
    virtual void shrAssign(const Ref& rhs);    // 17
    virtual bool equals(const Ref& rhs);       // 18
    virtual bool notEquals(const Ref& rhs);    // 19
    virtual bool lessEqual(const Ref& rhs);    // 20
    virtual bool greaterEqual(const Ref& rhs); // 21
    virtual bool less(const Ref& rhs);         // 22
    virtual bool greater(const Ref& rhs);      // 23
    virtual void negate();                     // 24
    virtual void complement();                 // 25
    virtual Holder* pointee();                 // 26
    virtual bool toBool();                     // 27
    virtual int32_t toInt();                   // 28
    virtual double toFloat();                  // 29
    virtual SharedString toString();           // 30
    // A full native pointer on this platform, never a truncated one.
    virtual void* nativePointer();                                            // 31
    virtual int count();                                                      // 32
    virtual bool hasMember(std::string_view name);                            // 33
    virtual Holder* elementAt(int index);                                     // 34
    virtual Holder* member(std::string_view name);                            // 35
    virtual void append(const Ref& item);                                     // 36
    virtual Ref keys();                                                       // 37
    virtual Holder* findMember(std::string_view name);                        // 38
    virtual bool setMember(std::string_view name, const Ref& item);           // 39
    virtual void removeMember(std::string_view name);                         // 40
    virtual void setOwner(Holder* holder);                                    // 41
    virtual void call(Env& env, Holder* self);                                // 42
    virtual void instantiate(Env& env, Holder* self);                         // 43
    virtual Ref callSync(Env& env, const Ref& argument, Holder* self);        // 44
    virtual Ref instantiateSync(Env& env, const Ref& argument, Holder* self); // 45
    virtual int codeLength();                                                 // 46
    virtual CodeBlock* code();                                                // 47
    virtual void appendOp(OpCode* op);                                        // 48
    virtual void addLabel(std::string_view name);                             // 49
    virtual void serialize(std::string_view name, ByteWriter& out);           // 50
    virtual void dump();                                                      // 51

    // Inline, so that the size each kind of value asks for picks its pool
    // where the value is made and dropped.
    static void* operator new(std::size_t size) { return pool::allocate(size); }
    static void operator delete(void* slot, std::size_t size) { pool::release(slot, size); }
};

} // namespace Kel::variable::Variable
