// vObject: at once an array (elements), a record (members) and, with a code
// block, a function or class. Fresh storage holds an empty one ("[null]"),
// which the first `=` replaces; `=` into a non-empty one merges.
#pragma once

#include "member_table.h"
#include "value.h"

#include <algorithm>
#include <vector>

namespace Kel {
class Scope;
}

namespace Kel::variable::Variable {

// Room for `wanted` elements. Doubling only when full keeps appends amortised
// constant.
template <class Elements> void reserveElements(Elements& elements, size_t wanted) {
    if (elements.capacity() < wanted) elements.reserve(std::max(wanted, 2 * elements.capacity()));
}

// Element `index` of a growable element array, growing it with fresh empty
// objects up to index + 1; none for a negative index or one past MAX_ELEMENTS.
template <class Elements> Holder* growingElement(Elements& elements, int index) {
    if (index < 0 || index >= MAX_ELEMENTS) return nullptr;
    auto wanted = static_cast<size_t>(index) + 1;
    if (elements.size() < wanted) {
        reserveElements(elements, wanted);
        while (elements.size() < wanted)
            elements.push_back(makeEmpty());
    }
    return elements[static_cast<size_t>(index)].get();
}

// Runs `scope` to completion for a host-side call: enters it, pushes the
// argument, runs until control is back in the scope that was current before
// (or the script yields), and answers the result popped from the stack.
Ref runSync(Env& env, Scope* scope, const Ref& argument);

// A call that Env::enterCall refused: its argument, left on the stack for the
// callee, gives way to an empty value as the call's result.
void refuseCall(Env& env);

class vObject final : public vBase {
public:
    vObject() = default;
    ~vObject() override;

    std::vector<Ref>& elements() { return m_elements; }
    const std::vector<Ref>& elements() const { return m_elements; }
    // Element `index` if the elements reach it already, else none (where
    // elementAt would grow them).
    Holder* presentElement(int32_t index) const {
        return index >= 0 && static_cast<size_t>(index) < m_elements.size()
                   ? m_elements[static_cast<size_t>(index)].get()
                   : nullptr;
    }
    MemberTable& members() { return m_members; }
    const MemberTable& members() const { return m_members; }
    // The code block or none (shared; not counted for the caller).
    CodeBlock* codeBlock() const { return m_code; }
    // Shares `block` (counted), dropping the block held before.
    void shareCode(CodeBlock* block);
    // No elements, no members and no code: what fresh storage holds.
    bool isEmpty() const { return m_elements.empty() && m_members.empty() && !m_code; }

    int typeCode() const override { return TYPE_OBJECT; }
    vBase* clone() const override;
    void gcTrace(Holder* root, int& counter) override;
    void gcMarkChildren() override;
    void onRelease() override;
    vBase* substitute(const Ref& rhs) override;
    vBase* assign(const Ref& rhs) override;
    void addAssign(const Ref& rhs) override;
    bool equals(const Ref& rhs) override;
    bool toBool() override { return !isEmpty(); }
    int32_t toInt() override { return static_cast<int32_t>(m_elements.size()); }
    double toFloat() override { return static_cast<double>(m_elements.size()); }
    SharedString toString() override;
    int count() override { return static_cast<int>(m_elements.size()); }
    bool hasMember(std::string_view name) override;
    Holder* elementAt(int index) override;
    Holder* member(std::string_view name) override;
    void append(const Ref& item) override;
    Ref keys() override;
    Holder* findMember(std::string_view name) override;
    bool setMember(std::string_view name, const Ref& item) override;
    // setMember for a name the caller keeps: the table shares its bytes.
    bool declareMember(const SharedString& name, const Ref& item);
    void removeMember(std::string_view name) override;
    void setOwner(Holder* holder) override;
    void call(Env& env, Holder* self) override;
    void instantiate(Env& env, Holder* self) override;
    Ref callSync(Env& env, const Ref& argument, Holder* self) override;
    Ref instantiateSync(Env& env, const Ref& argument, Holder* self) override;
    int codeLength() override;
    CodeBlock* code() override { return m_code; }
    void appendOp(OpCode* op) override;
    void addLabel(std::string_view name) override;
    // The byte format lives with the compiled-code writer.
    void serialize(std::string_view name, ByteWriter& out) override;

private:
    // Element-wise and member-wise `=` (or `:=`) of rhs into this object.
    void merge(const Ref& rhs, bool byAssign);
    // The code block, made first if missing and unique before it is written to.
    CodeBlock* writableCode();
    // Appends copies of `source`'s instructions after dropping a final return.
    void extendCode(CodeBlock* source);
    // A new instance of this class, its methods bound to it.
    Ref makeInstance();

    std::vector<Ref> m_elements;
    MemberTable m_members;
    CodeBlock* m_code = nullptr;
};

} // namespace Kel::variable::Variable
