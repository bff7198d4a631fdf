// The number values: vInt (signed 32-bit), vHex (the same bits read as
// unsigned) and vFloat (double). Arithmetic wraps, division by zero gives 0,
// and the right-hand side is always converted to the left-hand class first.
#pragma once

#include "value.h"

#include <new>

namespace Kel::variable::Variable {

// An int's own rules where C++'s leave the result undefined: a quotient or a
// remainder by 0 is 0, the smallest int divided by -1 wraps back to itself,
// and a shift counts modulo 32 (to the right, arithmetically).
constexpr uint32_t SHIFT_MASK = 31;
inline int32_t intQuotient(int32_t dividend, int32_t divisor) {
    if (divisor == 0) return 0;
    if (divisor == -1) return static_cast<int32_t>(0u - static_cast<uint32_t>(dividend));
    return dividend / divisor;
}
inline int32_t intRemainder(int32_t dividend, int32_t divisor) {
    return divisor == 0 || divisor == -1 ? 0 : dividend % divisor;
}
inline int32_t intShiftLeft(int32_t value, int32_t count) {
    return static_cast<int32_t>(static_cast<uint32_t>(value)
                                << (static_cast<uint32_t>(count) & SHIFT_MASK));
}
inline int32_t intShiftRight(int32_t value, int32_t count) {
    return value >> (static_cast<uint32_t>(count) & SHIFT_MASK);
}

class vInt final : public vBase {
public:
    explicit vInt(int32_t value = 0) : m_value(value) {}
    // An int made inside the room of the holder that keeps it: deleting it
    // only ends it, and the holder's slot goes with the holder.
    struct InHolder {};
    vInt(int32_t value, InHolder) : m_value(value), m_inHolder(true) {}
    static void* operator new(std::size_t size) { return vBase::operator new(size); }
    static void operator delete(void* slot, std::size_t size) {
        vBase::operator delete(slot, size);
    }
    static void operator delete(vInt* number, std::destroying_delete_t) {
        bool inHolder = number->m_inHolder;
        number->~vInt();
        if (!inHolder) vBase::operator delete(number, sizeof(vInt));
    }
    int32_t value() const { return m_value; }
    void setValue(int32_t value) { m_value = value; }

    int typeCode() const override { return TYPE_INT; }
    vBase* clone() const override;
    vBase* substitute(const Ref& rhs) override;
    void addAssign(const Ref& rhs) override;
    void subAssign(const Ref& rhs) override;
    void mulAssign(const Ref& rhs) override;
    void divAssign(const Ref& rhs) override;
    void modAssign(const Ref& rhs) override;
    void andAssign(const Ref& rhs) override;
    void orAssign(const Ref& rhs) override;
    void xorAssign(const Ref& rhs) override;
    void shlAssign(const Ref& rhs) override;
    void shrAssign(const Ref& rhs) override;
    bool equals(const Ref& rhs) override;
    bool notEquals(const Ref& rhs) override;
    bool lessEqual(const Ref& rhs) override;
    bool greaterEqual(const Ref& rhs) override;
    bool less(const Ref& rhs) override;
    bool greater(const Ref& rhs) override;
    void negate() override;
    void complement() override;
    bool toBool() override { return m_value != 0; }
    int32_t toInt() override { return m_value; }
    double toFloat() override { return m_value; }
    SharedString toString() override;
    int count() override { return 1; }

private:
    int32_t m_value;
    bool m_inHolder = false;
};

class vHex final : public vBase {
public:
    explicit vHex(uint32_t value = 0) : m_value(value) {}
    uint32_t value() const { return m_value; }
    void setValue(uint32_t value) { m_value = value; }

    int typeCode() const override { return TYPE_HEX; }
    vBase* clone() const override;
    vBase* substitute(const Ref& rhs) override;
    void addAssign(const Ref& rhs) override;
    void subAssign(const Ref& rhs) override;
    void mulAssign(const Ref& rhs) override;
    void divAssign(const Ref& rhs) override;
    void modAssign(const Ref& rhs) override;
    void andAssign(const Ref& rhs) override;
    void orAssign(const Ref& rhs) override;
    void xorAssign(const Ref& rhs) override;
    void shlAssign(const Ref& rhs) override;
    void shrAssign(const Ref& rhs) override;
    bool equals(const Ref& rhs) override;
    bool notEquals(const Ref& rhs) override;
    bool lessEqual(const Ref& rhs) override;
    bool greaterEqual(const Ref& rhs) override;
    bool less(const Ref& rhs) override;
    bool greater(const Ref& rhs) override;
    void negate() override;
    void complement() override;
    bool toBool() override { return m_value != 0; }
    int32_t toInt() override { return static_cast<int32_t>(m_value); }
    double toFloat() override { return m_value; }
    SharedString toString() override;
    int count() override { return 1; }

private:
    uint32_t m_value;
};

class vFloat final : public vBase {
public:
    explicit vFloat(double value = 0.0) : m_value(value) {}
    double value() const { return m_value; }
    void setValue(double value) { m_value = value; }

    int typeCode() const override { return TYPE_FLOAT; }
    vBase* clone() const override;
    vBase* substitute(const Ref& rhs) override;
    void addAssign(const Ref& rhs) override;
    void subAssign(const Ref& rhs) override;
    void mulAssign(const Ref& rhs) override;
    void divAssign(const Ref& rhs) override;
    bool equals(const Ref& rhs) override;
    bool notEquals(const Ref& rhs) override;
    bool lessEqual(const Ref& rhs) override;
    bool greaterEqual(const Ref& rhs) override;
    bool less(const Ref& rhs) override;
    bool greater(const Ref& rhs) override;
    void negate() override { m_value = -m_value; }
    bool toBool() override { return m_value != 0.0; }
    int32_t toInt() override;
    double toFloat() override { return m_value; }
    SharedString toString() override;
    int count() override { return 1; }

private:
    double m_value;
};

} // namespace Kel::variable::Variable
