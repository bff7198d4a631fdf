// Shared helpers of the built-in library. Callbacks into scripts run in an
// environment of their own each, so a callback that yields or misbehaves
// cannot leave a half-run scope behind for the next one.
#include "builtins_support.h"

#include "env.h"
#include "numbers.h"
#include "object.h"
#include "parser.h"
#include "pointer.h"
#include "printer.h"
#include "spare_env.h"
#include "string_value.h"
#include "tuple.h"

#include <cstdarg>
#include <cstdio>

namespace Kel::builtins {

using namespace variable::Variable;

namespace {

// A chain of pointers longer than this is taken to be a loop.
constexpr int MAX_POINTER_CHAIN = 64;

// A two-element list sharing both holders (the arguments of a callback).
Ref makePair(const Ref& first, const Ref& second) {
    return Ref(new vRArray({first, second}));
}

} // namespace

Ref argumentAt(const Ref& argument, int index) {
    if (!argument) return makeEmpty();
    Holder* element = argument.value()->elementAt(index);
    return element ? Ref(element) : argument;
}

int argumentCount(const Ref& argument) {
    return argument ? argument.value()->count() : 0;
}

Ref parameter(const Ref& argument, int index) {
    if (!argument || argument.value()->typeCode() != TYPE_TUPLE) {
        return index == 0 && argument ? argument : makeEmpty();
    }
    const TupleElements& given = static_cast<vRArray*>(argument.value())->elements();
    return index >= 0 && static_cast<size_t>(index) < given.size() ? given[index] : makeEmpty();
}

int parameterCount(const Ref& argument) {
    if (!argument || argument.value()->typeCode() != TYPE_TUPLE) return argument ? 1 : 0;
    return static_cast<int>(static_cast<vRArray*>(argument.value())->elements().size());
}

Ref makeInt(int32_t value) {
    return Ref::adopt(Holder::makeInt(value));
}
Ref makeHex(uint32_t value) {
    return Ref(new vHex(value));
}
Ref makeFloat(double value) {
    return Ref(new vFloat(value));
}
Ref makeString(std::string_view text) {
    return Ref(new vString(SharedString(text)));
}
Ref makeNil() {
    return Ref(new vBase);
}
Ref makeObject() {
    return Ref(new vObject);
}
Ref makePointer(Holder* target) {
    return Ref(new vPointer(target));
}

Ref failure(const char* function, const char* problem, ...) {
    char text[PRINTER_BUFFER_SIZE];
    va_list arguments;
    va_start(arguments, problem);
    std::vsnprintf(text, sizeof text, problem, arguments);
    va_end(arguments);
    printMessage("runtime error : %s: %s\n", function, text);
    return makeEmpty();
}

vObject* listOf(const Ref& value) {
    Holder* target = followPointers(value.get());
    if (!target || target->value()->typeCode() != TYPE_OBJECT) return nullptr;
    return static_cast<vObject*>(target->value());
}

bool isCallable(vBase* value) {
    switch (value->typeCode()) {
    case TYPE_METHOD:
    case TYPE_CFUNCTION:
    case TYPE_CMETHOD:
    case TYPE_THREAD:
    case TYPE_BIND_FUNCTION:
        return true;
    default:
        return value->code() != nullptr;
    }
}

Holder* followPointers(Holder* holder) {
    for (int step = 0; step < MAX_POINTER_CHAIN && holder; ++step) {
        if (holder->value()->typeCode() != TYPE_POINTER) return holder;
        Holder* target = holder->value()->pointee();
        if (!target) return holder;
        holder = target;
    }
    return holder;
}

Ref callScript(const Ref& function, const Ref& argument) {
    SpareEnv env;
    if (argument) {
        Ref given = argument;
        Ref answer;
        if (env->callWithArguments(function.get(), &given, 1, answer)) return answer;
    }
    return function.value()->callSync(*env, argument, function.get());
}

// Otherwise the list of the two is made before the environment and dropped
// after it, as a caller's list would be.
Ref callScript(const Ref& function, const Ref& first, const Ref& second) {
    {
        SpareEnv env;
        Ref given[] = {first, second};
        Ref answer;
        if (env->callWithArguments(function.get(), given, 2, answer)) return answer;
    }
    return callScript(function, makePair(first, second));
}

Ref instantiateScript(const Ref& cls) {
    SpareEnv env;
    return cls.value()->instantiateSync(*env, makeEmpty(), cls.get());
}

Ref compileSource(Tokenizer& tokenizer, int& errors) {
    Ref function = makeObject();
    Parser parser(tokenizer);
    parser.compile(*static_cast<vObject*>(function.value()));
    errors = parser.errors();
    return function;
}

void setFunction(const Ref& object, std::string_view name, NativeFunction function) {
    if (object) object.value()->setMember(name, Ref(new vCFunction(function)));
}

void setMethod(const Ref& object, std::string_view name, NativeMethod method) {
    if (object) object.value()->setMember(name, Ref(new vCMethod(method, nullptr)));
}

void setInt(const Ref& object, std::string_view name, int32_t value) {
    if (object) object.value()->setMember(name, makeInt(value));
}

void setFloat(const Ref& object, std::string_view name, double value) {
    if (object) object.value()->setMember(name, makeFloat(value));
}

Ref libraryObject(const Ref& global, std::string_view name) {
    return Ref(global.value()->member(name));
}

} // namespace Kel::builtins
