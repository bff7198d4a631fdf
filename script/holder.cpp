// Holders: the reference-counted boxes every value lives in. Teardown and the
// collector's walks keep work lists instead of recursing, so a long chain of
// nested values can be freed or traced without exhausting the native stack.
#include "holder.h"

#include "nesting.h"
#include "numbers.h"
#include "object.h"
#include "pool.h"
#include "value.h"

#include <vector>

namespace Kel {
namespace {

// Holders whose count reached zero while another teardown was running.
std::vector<Holder*>& pendingTeardown() {
    static auto* list = new std::vector<Holder*>;
    return *list;
}
bool g_tearingDown = false;

// Holders marked reachable whose children are still to be marked.
std::vector<Holder*>& pendingMarks() {
    static auto* list = new std::vector<Holder*>;
    return *list;
}
bool g_marking = false;

std::vector<Holder*>& pendingTraces() {
    static auto* list = new std::vector<Holder*>;
    return *list;
}
bool g_tracing = false;

// The holders being cloned, outermost first, with their copies: a value that
// leads back to one of them gets that copy, so cycles are copied as cycles.
struct CloneStep {
    const Holder* source;
    Holder* copy;
};
std::vector<CloneStep>& clonePath() {
    static auto* path = new std::vector<CloneStep>;
    return *path;
}

} // namespace

static_assert(sizeof(Holder) <= 4 * sizeof(void*),
              "a holder with its int room fills one pool slot");

void* Holder::operator new(std::size_t) {
    return pool::holders().allocate();
}

void Holder::operator delete(void* slot) {
    pool::holders().free(slot);
}

Holder* Holder::make(vBase* value) {
    Holder* holder = new Holder;
    holder->adopt(value);
    return holder;
}

Holder* Holder::makeInt(int32_t value) {
    using variable::Variable::vInt;
    static_assert(sizeof(vInt) <= INT_ROOM && alignof(vInt) <= alignof(void*),
                  "an int fits its holder's room");
    Holder* holder = new Holder;
    holder->m_value = ::new (holder->m_intRoom) vInt(value, vInt::InHolder{});
    holder->m_type = variable::Variable::TYPE_INT;
    return holder;
}

void Holder::adopt(vBase* value) {
    m_value = value;
    m_type = static_cast<uint8_t>(value->typeCode());
    // Numbers and texts keep no owner.
    if (m_type > variable::Variable::TYPE_STRING) value->setOwner(this);
}

Holder::~Holder() {
    // An int's class is known from its type code: no virtual call frees it.
    if (m_type == variable::Variable::TYPE_INT)
        delete static_cast<variable::Variable::vInt*>(m_value);
    else
        delete m_value;
}

// A teardown that releases further holders only queues them: the outermost
// teardown frees them one after another, so freeing a chain of any length
// needs no deeper stack than freeing one holder.
void Holder::destroy() {
    // A number or a text leads to no other holder and runs no destructor:
    // freeing it at once frees nothing further and needs no work list.
    if (m_type <= variable::Variable::TYPE_STRING) {
        delete this;
        return;
    }
    m_count = DYING;
    if (g_tearingDown) {
        pendingTeardown().push_back(this);
        return;
    }
    g_tearingDown = true;
    std::vector<Holder*>& pending = pendingTeardown();
    Holder* next = this;
    for (;;) {
        next->m_value->onRelease();
        if (next->m_count == DYING) {
            delete next;
        } else {
            // A destructor stored its object somewhere: it lives on, and its
            // next teardown finds the destructor already gone.
            next->m_count -= DYING;
        }
        if (pending.empty()) break;
        next = pending.back();
        pending.pop_back();
    }
    g_tearingDown = false;
}

Holder* Holder::cloneHolder() const {
    // Numbers and strings lead to no other holder, so their copy needs none
    // of the cycle bookkeeping below; operators copy them all the time.
    if (m_type == variable::Variable::TYPE_INT)
        return makeInt(static_cast<variable::Variable::vInt*>(m_value)->value());
    if (m_type <= variable::Variable::TYPE_STRING) return make(m_value->clone());
    std::vector<CloneStep>& path = clonePath();
    for (auto step = path.rbegin(); step != path.rend(); ++step) {
        if (step->source == this) {
            step->copy->addRef();
            return step->copy;
        }
    }
    if (path.size() >= static_cast<size_t>(MAX_VALUE_NESTING)) return makeEmpty().release();
    // The copy exists before its value so that values inside can refer to
    // it; until the clone below is done it holds a shared nothing value.
    static vBase* const placeholder = new vBase;
    Holder* copy = new Holder;
    copy->adopt(placeholder);
    path.push_back({this, copy});
    vBase* value = m_value->clone();
    path.pop_back();
    copy->adopt(value);
    return copy;
}

void Holder::substitute(const Ref& rhs) {
    // `x = x` changes nothing, and a value must not merge into itself.
    if (rhs.get() == this || !rhs) return;
    NestingGuard guard;
    if (!guard) return;
    adopt(m_value->substitute(rhs));
}

void Holder::assign(const Ref& rhs) {
    if (rhs.get() == this || !rhs) return;
    NestingGuard guard;
    if (!guard) return;
    adopt(m_value->assign(rhs));
}

void Holder::replaceValue(vBase* value) {
    vBase* old = m_value;
    adopt(value);
    delete old;
}

vBase* Holder::detachValue(vBase* replacement) {
    vBase* old = m_value;
    adopt(replacement);
    return old;
}

void Holder::gcMark() {
    if (m_count & REACHABLE_MARK) return;
    m_count |= REACHABLE_MARK;
    std::vector<Holder*>& pending = pendingMarks();
    pending.push_back(this);
    if (g_marking) return;
    g_marking = true;
    while (!pending.empty()) {
        Holder* holder = pending.back();
        pending.pop_back();
        holder->m_value->gcMarkChildren();
    }
    g_marking = false;
}

void Holder::gcTrace(Holder* root, int& counter) {
    if (m_count & REACHABLE_MARK) return;
    if (m_count & VISITED_MARK) {
        if (this == root) ++counter;
        return;
    }
    m_count |= VISITED_MARK;
    std::vector<Holder*>& pending = pendingTraces();
    pending.push_back(this);
    if (g_tracing) return;
    g_tracing = true;
    while (!pending.empty()) {
        Holder* holder = pending.back();
        pending.pop_back();
        holder->m_value->gcTrace(root, counter);
    }
    g_tracing = false;
}

Ref makeEmpty() {
    return Ref::adopt(Holder::make(new variable::Variable::vObject));
}

} // namespace Kel
