// vRArray, the tuple: a list of shared holders (the variables themselves, not
// copies), so that `(a, b) = (b, a)` exchanges. With exactly one element it
// stands for that element in nearly every operation.
#pragma once

#include "pool.h"
#include "value.h"

#include <vector>

namespace Kel::variable::Variable {

// A tuple's elements: a few, made and dropped with nearly every call.
using TupleElements = std::vector<Ref, pool::Allocator<Ref>>;

class vRArray final : public vBase {
public:
    vRArray() = default;
    explicit vRArray(TupleElements elements) : m_elements(std::move(elements)) {}
    const TupleElements& elements() const { return m_elements; }
    // Adds `item`'s holder itself (shared).
    void add(const Ref& item) { m_elements.push_back(item); }
    // Puts `item` in place of element `index`, which must exist.
    void replaceElement(size_t index, Ref item) { m_elements[index] = std::move(item); }

    int typeCode() const override { return TYPE_TUPLE; }
    vBase* clone() const override;
    void gcTrace(Holder* root, int& counter) override;
    void gcMarkChildren() override;
    vBase* substitute(const Ref& rhs) override;
    vBase* assign(const Ref& rhs) override;
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
    Holder* pointee() override;
    bool toBool() override;
    int32_t toInt() override;
    double toFloat() override;
    SharedString toString() override;
    void* nativePointer() override;
    int count() override;
    bool hasMember(std::string_view name) override;
    Holder* elementAt(int index) override;
    Holder* member(std::string_view name) override;
    void append(const Ref& item) override { add(item); }
    Ref keys() override;
    void call(Env& env, Holder* self) override;
    void instantiate(Env& env, Holder* self) override;
    Ref callSync(Env& env, const Ref& argument, Holder* self) override;

private:
    // The one element a single-element tuple stands for, else none.
    vBase* single() const { return m_elements.size() == 1 ? m_elements[0].value() : nullptr; }
    // Element-wise `=` or `:=` from rhs.
    void distribute(const Ref& rhs, bool byAssign);
    // Whether `sources` must be copied before distributing from them.
    bool needsCopyToDistribute(const vRArray& sources) const;

    TupleElements m_elements;
};

} // namespace Kel::variable::Variable
