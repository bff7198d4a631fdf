// vPointer: a transparent reference to another holder. With a target it hands
// nearly every operation to the target's value; `=` with a pointer on the
// right retargets it, with anything else it writes through.
#pragma once

#include "value.h"

namespace Kel::variable::Variable {

class vPointer final : public vBase {
public:
    // Points at `target` (counted), or nowhere.
    explicit vPointer(Holder* target = nullptr) : m_target(target) {}
    Holder* target() const { return m_target.get(); }

    int typeCode() const override { return TYPE_POINTER; }
    vBase* clone() const override;
    void gcTrace(Holder* root, int& counter) override;
    void gcMarkChildren() override;
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
    Holder* pointee() override { return m_target.get(); }
    bool toBool() override { return static_cast<bool>(m_target); }
    int32_t toInt() override;
    double toFloat() override;
    SharedString toString() override;
    int count() override;
    bool hasMember(std::string_view name) override;
    Holder* elementAt(int index) override;
    Holder* member(std::string_view name) override;
    Ref keys() override;
    bool setMember(std::string_view name, const Ref& item) override;
    void removeMember(std::string_view name) override;
    void call(Env& env, Holder* self) override;
    void instantiate(Env& env, Holder* self) override;
    Ref callSync(Env& env, const Ref& argument, Holder* self) override;
    Ref instantiateSync(Env& env, const Ref& argument, Holder* self) override;
    int codeLength() override;
    CodeBlock* code() override;
    void appendOp(OpCode* op) override;
    void addLabel(std::string_view name) override;
    void serialize(std::string_view name, ByteWriter& out) override;

private:
    Ref m_target;
};

} // namespace Kel::variable::Variable
