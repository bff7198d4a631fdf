// Holder and Ref: every Kel value lives in a reference-counted Holder, and Ref
// is the one-pointer counted handle that variables, members, elements, stack
// entries and native calls pass around.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

namespace Kel {

namespace variable::Variable {
class vBase;
}
using variable::Variable::vBase;

class Ref;

class Holder {
public:
    // The count word: bits 0-23 count the Ref handles, bit 30 is the
    // collector's reachable mark, bit 31 its visited mark.
    static constexpr uint32_t COUNT_MASK = 0x00FFFFFFu;
    static constexpr uint32_t REACHABLE_MARK = 1u << 30;
    static constexpr uint32_t VISITED_MARK = 1u << 31;
    // Written while a holder is torn down so nested releases do nothing.
    static constexpr uint32_t DYING = 0x80000000u;

    // A new holder with count 1 around `value`, which it now owns; calls
    // value->setOwner(holder).
    static Holder* make(vBase* value);
    // make(new vInt(value)) without asking the new value its type: ints are
    // the values made and dropped most often.
    static Holder* makeInt(int32_t value);

    vBase* value() const { return m_value; }
    // value()->typeCode(), kept beside the value: the run loop asks it of
    // nearly every operand.
    int typeCode() const { return m_type; }
    uint32_t count() const { return m_count & COUNT_MASK; }
    uint32_t countWord() const { return m_count; }
    void setCountWord(uint32_t word) { m_count = word; }

    void addRef() { ++m_count; }
    // Drops one count; at zero the value's onRelease runs and both go. The
    // reachable mark does not keep a holder alive whose last count went.
    void release() {
        if ((--m_count & ~REACHABLE_MARK) == 0) destroy();
    }
    // release() for a holder the caller knows holds a number or a text: at
    // zero it goes at once, without asking its value for its type again.
    void releasePlain() {
        if ((--m_count & ~REACHABLE_MARK) == 0) delete this;
    }

    // A new holder (count 1) around a clone of this holder's value. Values
    // that lead back to a holder being cloned get its copy, so a cyclic
    // structure is copied as a cycle.
    Holder* cloneHolder() const;
    // Operator `=`: the value becomes what its substitute(rhs) returns. A
    // holder substituted into itself keeps its value.
    void substitute(const Ref& rhs);
    // Operator `:=`: the same with assign.
    void assign(const Ref& rhs);
    // Replaces the value with `value` (owned from now on), deleting the old one.
    void replaceValue(vBase* value);
    // Gives up the value without deleting it (the collector breaks cycles so).
    vBase* detachValue(vBase* replacement);

    // Collector visits. Both walk with a work list of their own, so a long
    // chain of values cannot exhaust the native stack.
    bool isReachable() const { return m_count & REACHABLE_MARK; }
    bool isVisited() const { return m_count & VISITED_MARK; }
    void clearMarks() { m_count &= ~(REACHABLE_MARK | VISITED_MARK); }
    // Marks this holder reachable, then everything its value leads to.
    void gcMark();
    // Meets this holder while counting the references to `root` that come from
    // holders not marked reachable: a reference to `root` adds 1 to `counter`;
    // an unvisited holder is visited and its children traced in turn.
    void gcTrace(Holder* root, int& counter);

    static void* operator new(std::size_t size);
    static void operator delete(void* slot);

private:
    Holder() : m_value(nullptr), m_count(1) {}
    ~Holder();
    void destroy();
    // Takes `value` as the value (not deleting the one before) and makes this
    // holder its owner.
    void adopt(vBase* value);

    vBase* m_value;
    uint32_t m_count;
    uint8_t m_type = 0;
    // Where makeInt puts its int: the commonest value lives in its holder's
    // slot instead of a slot of its own.
    static constexpr size_t INT_ROOM = 2 * sizeof(void*);
    alignas(void*) unsigned char m_intRoom[INT_ROOM];
};

// Counted handle on a Holder; may be empty.
class Ref {
public:
    Ref() = default;
    // Shares `holder` (adds one count).
    explicit Ref(Holder* holder) : m_holder(holder) {
        if (m_holder) m_holder->addRef();
    }
    // Wraps a fresh holder around `value`.
    explicit Ref(vBase* value) : m_holder(Holder::make(value)) {}
    // Takes over a count the caller already owns (a holder from Holder::make).
    static Ref adopt(Holder* holder) {
        Ref ref;
        ref.m_holder = holder;
        return ref;
    }
    Ref(const Ref& other) : Ref(other.m_holder) {}
    Ref(Ref&& other) noexcept : m_holder(other.m_holder) { other.m_holder = nullptr; }
    Ref& operator=(const Ref& other) {
        Ref copy(other);
        swap(copy);
        return *this;
    }
    Ref& operator=(Ref&& other) noexcept {
        Ref moved(std::move(other));
        swap(moved);
        return *this;
    }
    ~Ref() {
        if (m_holder) m_holder->release();
    }

    Holder* get() const { return m_holder; }
    Holder* operator->() const { return m_holder; }
    vBase* value() const { return m_holder ? m_holder->value() : nullptr; }
    explicit operator bool() const { return m_holder != nullptr; }
    bool operator==(const Ref& other) const { return m_holder == other.m_holder; }
    void reset() { Ref().swap(*this); }
    // Gives the count to the caller, leaving this empty.
    Holder* release() { return std::exchange(m_holder, nullptr); }
    void swap(Ref& other) noexcept { std::swap(m_holder, other.m_holder); }

private:
    Holder* m_holder = nullptr;
};

// A fresh holder around a new empty object: what new storage always holds.
Ref makeEmpty();

} // namespace Kel
