// array and table: native methods for objects used as lists and as records.
// A method bound to an instance works on it; called on the library object
// itself (no bound object) it takes the container as argument 0 and the
// method's own argument as argument 1.
#include "builtins.h"
#include "builtins_support.h"

#include "env.h"
#include "object.h"

#include <string>

namespace Kel::builtins {

using namespace variable::Variable;

namespace {

// The container and the method's own argument of a native method call.
struct MethodCall {
    Ref container;
    Ref argument;
};

// A container reached through a pointer is worked on directly: pointers do not
// hand on every operation (append, findMember) to their target.
MethodCall methodCall(Holder* self, const Ref& argument) {
    if (self) return {Ref(followPointers(self)), argument};
    return {Ref(followPointers(argumentAt(argument, 0).get())), argumentAt(argument, 1)};
}

// The container of a method that takes no argument of its own.
Ref containerOf(Holder* self, const Ref& argument) {
    return Ref(followPointers(self ? self : argument.get()));
}

Ref arrayLength(Holder* self, const Ref& argument) {
    Ref container = containerOf(self, argument);
    return makeInt(container.value()->count());
}

Ref arrayPush(Holder* self, const Ref& argument) {
    MethodCall call = methodCall(self, argument);
    call.container.value()->append(call.argument);
    return makeInt(call.container.value()->count());
}

Ref arrayForeach(Holder* self, const Ref& argument) {
    MethodCall call = methodCall(self, argument);
    ReentryGuard guard;
    if (!guard.allowed()) return makeNil();
    int count = call.container.value()->count();
    for (int i = 0; i < count && i < call.container.value()->count() && !Env::budgetExhausted();
         ++i) {
        Holder* element = call.container.value()->elementAt(i);
        callScript(call.argument, element ? Ref(element) : call.container);
    }
    return makeInt(count);
}

Ref arrayJoin(Holder* self, const Ref& argument) {
    MethodCall call = methodCall(self, argument);
    std::string separator;
    if (call.argument.value()->toBool()) separator = call.argument.value()->toString().str();
    std::string joined;
    int count = call.container.value()->count();
    for (int i = 0; i < count; ++i) {
        Holder* element = call.container.value()->elementAt(i);
        if (i > 0) joined += separator;
        joined += (element ? element->value() : call.container.value())->toString().view();
    }
    return makeString(joined);
}

Ref tableExist(Holder* self, const Ref& argument) {
    MethodCall call = methodCall(self, argument);
    SharedString name = call.argument.value()->toString();
    return makeInt(call.container.value()->hasMember(name.view()) ? 1 : 0);
}

Ref tableDelete(Holder* self, const Ref& argument) {
    MethodCall call = methodCall(self, argument);
    SharedString name = call.argument.value()->toString();
    call.container.value()->removeMember(name.view());
    return makeEmpty();
}

Ref tableKeys(Holder* self, const Ref& argument) {
    return containerOf(self, argument).value()->keys();
}

bool isMethod(vBase* value) {
    int code = value->typeCode();
    return code == TYPE_METHOD || code == TYPE_CMETHOD;
}

// Calls back for data members only: the table's own methods are members too.
// The names are taken first; a member the callback removes is skipped.
Ref tableForeach(Holder* self, const Ref& argument) {
    MethodCall call = methodCall(self, argument);
    ReentryGuard guard;
    if (!guard.allowed()) return makeNil();
    Ref names = call.container.value()->keys();
    int total = names.value()->count();
    for (int i = 0; i < total && !Env::budgetExhausted(); ++i) {
        Ref name(names.value()->elementAt(i));
        SharedString text = name.value()->toString();
        Holder* found = call.container.value()->findMember(text.view());
        if (!found || isMethod(found->value())) continue;
        callScript(call.argument, makeString(text.view()), Ref(found));
    }
    return names;
}

} // namespace

void registerContainers(const Ref& global) {
    Ref array = libraryObject(global, "array");
    setMethod(array, "length", arrayLength);
    setMethod(array, "push", arrayPush);
    setMethod(array, "foreach", arrayForeach);
    setMethod(array, "join", arrayJoin);
    Ref table = libraryObject(global, "table");
    setMethod(table, "exist", tableExist);
    setMethod(table, "delete", tableDelete);
    setMethod(table, "keys", tableKeys);
    setMethod(table, "foreach", tableForeach);
}

} // namespace Kel::builtins
