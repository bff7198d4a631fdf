// What every library of the built-ins shares: reading the arguments of a
// native call, making result values, filling library objects, and calling back
// into scripts with a bound on how deeply such calls nest.
#pragma once

#include "holder.h"
#include "natives.h"
#include "reentry.h"
#include "value.h"

#include <cstdint>
#include <string_view>

namespace Kel {
class Tokenizer;
}
namespace Kel::variable::Variable {
class vObject;
}

namespace Kel::builtins {

using Kel::ReentryGuard;

using variable::Variable::vBase;

// Argument `index` of a native call: element `index` of the argument list, or
// the argument itself when it has no elements.
Ref argumentAt(const Ref& argument, int index);
// Number of arguments a native call was given (the argument's element count).
int argumentCount(const Ref& argument);

// The library objects beyond the first seven take their arguments one by one:
// several arrive as a tuple, a single one as itself (so a list given alone is
// not taken apart), and a missing one is the empty value.
Ref parameter(const Ref& argument, int index);
int parameterCount(const Ref& argument);

Ref makeInt(int32_t value);
Ref makeHex(uint32_t value);
Ref makeFloat(double value);
Ref makeString(std::string_view text);
// The nothing value (type "nil").
Ref makeNil();
// A new empty object; arrays are objects that only have elements.
Ref makeObject();
// A pointer to `target`.
Ref makePointer(Holder* target);

// Follows pointers to the holder they finally point at (a bounded number of
// steps, so a pointer that points at itself cannot hang).
Holder* followPointers(Holder* holder);

// Calls `function` with `argument` to completion in an environment of its
// own and answers its result. Callers hold a ReentryGuard.
Ref callScript(const Ref& function, const Ref& argument);
// The same with the list of `first` and `second` as the argument, which a
// script function that takes two parameters never sees made.
Ref callScript(const Ref& function, const Ref& first, const Ref& second);
// Makes an instance of `cls` (running its constructor) the same way.
Ref instantiateScript(const Ref& cls);

// Compiles the tokenizer's whole stream into a new function object; `errors`
// receives the number of compile errors (the messages are printed).
Ref compileSource(Tokenizer& tokenizer, int& errors);

// A library call given an argument it cannot use, or asked for more than the
// caps allow: prints "runtime error : FUNCTION: PROBLEM" (PROBLEM formatted
// like printf) and answers the empty value every failed call gives.
Ref failure(const char* function, const char* problem, ...) __attribute__((format(printf, 2, 3)));

// The list a list function works on: the object `value` finally points at, or
// none when that is not an object.
variable::Variable::vObject* listOf(const Ref& value);
// Whether calling `value` runs code: a function, closure or class, a native
// function or method, a bound host function or a thread.
bool isCallable(vBase* value);

// Library object members.
void setFunction(const Ref& object, std::string_view name, NativeFunction function);
void setMethod(const Ref& object, std::string_view name, NativeMethod method);
void setInt(const Ref& object, std::string_view name, int32_t value);
void setFloat(const Ref& object, std::string_view name, double value);
// The global member `name` (created when missing), for filling in.
Ref libraryObject(const Ref& global, std::string_view name);

} // namespace Kel::builtins
