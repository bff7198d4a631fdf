// vString: a byte string value sharing its buffer copy-on-write. Its
// arithmetic is text surgery: + appends, - cuts the tail, * repeats, / keeps
// a head, % drops a head, negation reverses.
#pragma once

#include "value.h"

namespace Kel::variable::Variable {

class vString final : public vBase {
public:
    vString() = default;
    explicit vString(SharedString text) : m_text(std::move(text)) {}
    const SharedString& text() const { return m_text; }
    SharedString& text() { return m_text; }

    int typeCode() const override { return TYPE_STRING; }
    vBase* clone() const override;
    vBase* substitute(const Ref& rhs) override;
    void addAssign(const Ref& rhs) override;
    void subAssign(const Ref& rhs) override;
    void mulAssign(const Ref& rhs) override;
    void divAssign(const Ref& rhs) override;
    void modAssign(const Ref& rhs) override;
    bool equals(const Ref& rhs) override;
    bool notEquals(const Ref& rhs) override;
    bool lessEqual(const Ref& rhs) override;
    bool greaterEqual(const Ref& rhs) override;
    bool less(const Ref& rhs) override;
    bool greater(const Ref& rhs) override;
    void negate() override { m_text.reverse(); }
    bool toBool() override { return !m_text.empty(); }
    int32_t toInt() override;
    double toFloat() override;
    SharedString toString() override { return m_text; }
    int count() override { return 1; }

    // The text-to-number rules, for callers that hold only bytes.
    static int32_t parseInt(std::string_view text);
    static double parseFloat(std::string_view text);

private:
    // Signed-byte lexicographic order, shorter first: <0, 0 or >0.
    int compareWith(const Ref& rhs);

    SharedString m_text;
};

} // namespace Kel::variable::Variable
