// Handing an operation on to another holder's value, as pointers do with
// their target and one-element tuples with their element. A cycle of such
// stand-ins is cut by the nesting guard: past it, the operation does nothing.
#pragma once

#include "nesting.h"
#include "value.h"

namespace Kel::variable::Variable {

using InPlaceOperation = void (vBase::*)(const Ref&);

// An in-place operator on `holder`'s value, followed by setOwner as the holder
// itself does it. `holder` is kept alive while the operator runs.
inline void applyInPlace(Holder* holder, InPlaceOperation operation, const Ref& rhs) {
    NestingGuard guard;
    if (!holder || !guard) return;
    Ref keep(holder);
    (holder->value()->*operation)(rhs);
    holder->value()->setOwner(holder);
}

// A question to `holder`'s value, or `fallback` without holder or past the guard.
template <class Result, class Ask> Result askValue(Holder* holder, Result fallback, Ask&& ask) {
    NestingGuard guard;
    if (!holder || !guard) return fallback;
    return ask(holder->value());
}

} // namespace Kel::variable::Variable
