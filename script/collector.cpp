// One collection. Roots are implicit: the global object, plus every holder
// whose reference count is not explained by references from other holders not
// known to be alive -- which covers stacks, scopes, instructions, suspended
// threads and the host without listing them.
//
// The references between candidates are counted in one pass over their
// children rather than by a walk over every holder for every candidate: the
// outcome is the same (a candidate held from outside is marked reachable with
// everything it leads to), but a collection stays linear in the number of
// live holders, so the one at shutdown cannot stall the exit.
#include "collector.h"

#include "env.h"
#include "natives.h"
#include "numbers.h"
#include "object.h"
#include "pointer.h"
#include "pool.h"
#include "thread.h"
#include "tuple.h"

#include <unordered_map>
#include <vector>

namespace Kel {

using namespace variable::Variable;

namespace {

// Calls visit(Holder*) for every holder `value` keeps a counted reference to:
// an object's elements and members, a tuple's elements, a pointer's target,
// a method's or thread's function, and the temporary object a method read
// from it keeps alive. Values of any other kind lead nowhere.
template <class Visit> void forEachChild(vBase* value, Visit&& visit) {
    switch (value->typeCode()) {
    case TYPE_OBJECT: {
        auto* object = static_cast<vObject*>(value);
        for (const Ref& element : object->elements())
            visit(element.get());
        object->members().forEach([&](MemberTable::Entry& member) { visit(member.value.get()); });
        break;
    }
    case TYPE_TUPLE:
        for (const Ref& element : static_cast<vRArray*>(value)->elements())
            visit(element.get());
        break;
    case TYPE_POINTER:
        visit(static_cast<vPointer*>(value)->target());
        break;
    case TYPE_METHOD:
        visit(static_cast<vMethod*>(value)->function());
        if (Holder* keeper = static_cast<vMethod*>(value)->keeper()) visit(keeper);
        break;
    case TYPE_CMETHOD:
        if (Holder* keeper = static_cast<vCMethod*>(value)->keeper()) visit(keeper);
        break;
    case TYPE_THREAD:
        visit(static_cast<vThread*>(value)->function());
        break;
    default:
        break;
    }
}

bool leadsOn(vBase* value) {
    bool found = false;
    forEachChild(value, [&](Holder* child) { found = found || child; });
    return found;
}

// Candidates are the holders the global object does not lead to and whose
// values lead on: a number, a string or an empty object can neither form a
// cycle nor hold one up, and if it is garbage it goes with what holds it.
// A holder whose count already reached zero is being torn down (a destructor
// running inside that teardown asked for this collection): its count word
// carries DYING, and it is neither a candidate nor may that word be cleared.
bool isDying(const Holder* holder) {
    return (holder->countWord() & Holder::DYING) != 0;
}

std::vector<Holder*> findCandidates() {
    std::vector<Holder*> candidates;
    pool::forEachHolder([&](Holder* holder) {
        if (!holder->isReachable() && !isDying(holder) && leadsOn(holder->value()))
            candidates.push_back(holder);
    });
    return candidates;
}

// Trial counting: for each candidate, the references to it from candidates.
std::vector<uint32_t> countInternalReferences(const std::vector<Holder*>& candidates) {
    std::unordered_map<Holder*, size_t> position;
    position.reserve(candidates.size());
    for (size_t i = 0; i < candidates.size(); ++i)
        position.emplace(candidates[i], i);
    std::vector<uint32_t> internal(candidates.size(), 0);
    for (Holder* holder : candidates) {
        forEachChild(holder->value(), [&](Holder* child) {
            auto found = position.find(child);
            if (found != position.end()) ++internal[found->second];
        });
    }
    return internal;
}

} // namespace

size_t collectGarbage(FreeBlocks freeBlocks) {
    // A destructor run by this collection may ask for another one; the holders
    // this one still has to break must not be broken under it, so it waits.
    static bool running = false;
    if (running) return 0;
    running = true;
    // Mark what the global object leads to.
    Env::global()->gcMark();

    // A candidate referenced from outside the candidates is alive, and so is
    // everything it leads to.
    std::vector<Holder*> candidates = findCandidates();
    std::vector<uint32_t> internal = countInternalReferences(candidates);
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (!candidates[i]->isReachable() && candidates[i]->count() != internal[i])
            candidates[i]->gcMark();
    }

    // Hold the garbage while destructors run and values go, so that nothing a
    // destructor drops can free a holder this collection still has to visit.
    std::vector<Ref> garbage;
    for (Holder* holder : candidates) {
        if (!holder->isReachable()) garbage.emplace_back(holder);
    }
    // Marks are cleared before any script runs: a destructor may release
    // holders, and a count word with a mark set never reaches zero.
    pool::forEachHolder([](Holder* holder) {
        if (isDying(holder))
            holder->setCountWord(holder->countWord() & ~Holder::REACHABLE_MARK);
        else
            holder->clearMarks();
    });

    for (const Ref& holder : garbage)
        holder.value()->onRelease();
    // Breaking the cycles: every garbage value goes, with the references it held.
    for (const Ref& holder : garbage)
        delete holder->detachValue(new vInt(0));
    size_t collected = garbage.size();
    garbage.clear();

    if (freeBlocks == FreeBlocks::RELEASE) pool::releaseFreeBlocks();
    running = false;
    return collected;
}

} // namespace Kel
