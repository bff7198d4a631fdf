// The core globals: the prototype values that declarations instantiate
// (`int n`, `string s`), and the global functions print, type, range,
// foreach, new, eval and GarbageCollection. Only the built-ins look at type
// codes; everything else goes through the value operations.
#include "builtins.h"
#include "builtins_support.h"

#include "collector.h"
#include "env.h"
#include "numbers.h"
#include "object.h"
#include "pointer.h"
#include "printer.h"
#include "string_value.h"
#include "thread.h"
#include "tokenizer.h"
#include "tuple.h"

#include <cinttypes>
#include <cstdint>

namespace Kel::builtins {

using namespace variable::Variable;

namespace {

// Names reported by `type`, by type code.
const char* const TYPE_NAMES[] = {
    "nil",     "int",      "hex",    "float",         "string",
    "pointer", "tuple",    "object", "method",        "Cfunction",
    "Cmethod", "Cpointer", "thread", "bind function", "bind method",
};
constexpr int TYPE_NAME_COUNT = sizeof TYPE_NAMES / sizeof TYPE_NAMES[0];

// print: one line per call, chosen by the value's kind.
Ref print(const Ref& argument) {
    vBase* value = argument.value();
    switch (value->typeCode()) {
    case TYPE_NIL:
        printMessage("nil");
        break;
    case TYPE_INT:
        printMessage("%d", value->toInt());
        break;
    case TYPE_HEX:
        printMessage("%X", static_cast<uint32_t>(value->toInt()));
        break;
    case TYPE_FLOAT:
        printMessage("%f", value->toFloat());
        break;
    case TYPE_TUPLE:
        // The list's own length: a one-element list would forward count().
        printMessage("[tuple:%zu]", static_cast<vRArray*>(value)->elements().size());
        break;
    case TYPE_THREAD:
        printMessage("[thread:%s]", value->toBool() ? "alive" : "dead");
        break;
    case TYPE_BIND_FUNCTION:
        printMessage("[bind function]");
        break;
    case TYPE_BIND_METHOD:
        printMessage("[bind method]");
        break;
    default:
        printMessage("%s", value->toString().c_str());
        break;
    }
    return argument;
}

Ref type(const Ref& argument) {
    int code = argument.value()->typeCode();
    return makeString(code >= 0 && code < TYPE_NAME_COUNT ? TYPE_NAMES[code] : "");
}

// range(n), range(a, b), range(a, b, step). Counting runs in 64 bits so that a
// large step cannot wrap around below the end and never finish; a list stops at
// MAX_ELEMENTS like every other list, so a huge count cannot exhaust memory.
Ref range(const Ref& argument) {
    int given = argumentCount(argument);
    int64_t from = 0;
    int64_t to;
    int64_t step = 1;
    if (given <= 1) {
        to = argument.value()->toInt();
    } else {
        from = argumentAt(argument, 0).value()->toInt();
        to = argumentAt(argument, 1).value()->toInt();
        if (given >= 3) {
            step = argumentAt(argument, 2).value()->toInt();
            if (step == 0) step = from < to ? 1 : -1;
        }
    }
    Ref list = makeObject();
    std::vector<Ref>& elements = static_cast<vObject*>(list.value())->elements();
    const size_t limit = MAX_ELEMENTS;
    if (step > 0) {
        for (int64_t n = from; n < to && elements.size() < limit; n += step)
            elements.push_back(makeInt(static_cast<int32_t>(n)));
    } else {
        for (int64_t n = from; n > to && elements.size() < limit; n += step)
            elements.push_back(makeInt(static_cast<int32_t>(n)));
    }
    return list;
}

// foreach(container, f): over the elements when there are any, else over the
// members by name. Values are fetched through the container's holder on every
// step, because the callback may replace or grow the container: elements added
// are not visited, and the loop stops when the container has shrunk or the
// host's instruction budget is spent.
Ref foreach (const Ref& argument) {
    Ref container = argumentAt(argument, 0);
    Ref function = argumentAt(argument, 1);
    ReentryGuard guard;
    if (!guard.allowed()) return makeNil();
    int count = container.value()->count();
    if (count > 0) {
        for (int i = 0; i < count && i < container.value()->count() && !Env::budgetExhausted();
             ++i) {
            Holder* element = container.value()->elementAt(i);
            callScript(function, element ? Ref(element) : container);
        }
        return makeInt(count);
    }
    Ref names = container.value()->keys();
    int total = names.value()->count();
    for (int i = 0; i < total && !Env::budgetExhausted(); ++i) {
        Ref name(names.value()->elementAt(i));
        Holder* member = container.value()->member(name.value()->toString().view());
        callScript(function, name, member ? Ref(member) : makeEmpty());
    }
    return names;
}

Ref newInstance(const Ref& argument) {
    ReentryGuard guard;
    if (!guard.allowed()) return makeNil();
    Ref instance = instantiateScript(argument);
    return makePointer(instance.get());
}

// eval(text): compiles, does not run; messages name the text "eval" from
// line 0, and a text with errors still gives its (partial) function.
Ref eval(const Ref& argument) {
    ReentryGuard guard;
    if (!guard.allowed()) return makeNil();
    SharedString text = argument.value()->toString();
    Tokenizer tokenizer(text.view(), "eval", 0, nullptr);
    int errors = 0;
    return compileSource(tokenizer, errors);
}

Ref garbageCollection(const Ref&) {
    collectGarbage();
    return makeEmpty();
}

} // namespace

void registerCore(const Ref& global) {
    vBase* object = global.value();
    object->setMember("int", makeInt(0));
    object->setMember("float", makeFloat(0.0));
    object->setMember("string", makeString(""));
    object->setMember("true", makeInt(1));
    object->setMember("false", makeInt(0));
    object->setMember("nil", makeNil());
    object->setMember("hex", makeHex(0));
    object->setMember("ref", makePointer(nullptr));
    object->setMember("pointer", makePointer(nullptr));
    object->setMember("nullptr", makePointer(nullptr));
    object->setMember("thread", Ref(new vThread));
    object->member("object");
    object->member("null");
    setFunction(global, "print", print);
    setFunction(global, "type", type);
    setFunction(global, "range", range);
    setFunction(global, "foreach", foreach);
    setFunction(global, "new", newInstance);
    setFunction(global, "eval", eval);
    setFunction(global, "GarbageCollection", garbageCollection);
}

void registerAll(const Ref& global) {
    registerCore(global);
    registerStrlib(global);
    registerContainers(global);
    registerFiles(global);
    registerTimeAndMath(global);
    registerStrings(global);
    registerLists(global);
    registerNum(global);
    registerRandom(global);
    registerFs(global);
    registerDate(global);
}

} // namespace Kel::builtins
