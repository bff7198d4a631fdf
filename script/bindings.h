// Native bindings: value classes that wrap a plain host function of one
// parameter shape and convert the script's argument to int and const char* on
// every call. There is no checking of count or type, because every value
// converts to both. Needs only the value contract and the environment's stack.
#pragma once

#include "env.h"
#include "numbers.h"
#include "printer.h"
#include "string_value.h"
#include "tuple.h"
#include "value.h"

#include <cstddef>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

namespace Kel::binding {

using variable::Variable::vBase;

// One converted native parameter. A text keeps its buffer counted until the
// native function returns, so the pointer stays valid and unchanged even if the
// host calls back into scripts that change the original string.
template <class T> struct Parameter;

template <> struct Parameter<int> {
    int value = 0;
    void load(vBase* source) { value = source->toInt(); }
    int get() const { return value; }
};

template <> struct Parameter<const char*> {
    SharedString text;
    void load(vBase* source) { text = source->toString(); }
    const char* get() const { return text.c_str(); }
};

// Parameter `index` of a call with several parameters: element `index` of the
// argument list, or the argument itself when it has no elements.
inline vBase* parameterSource(const Ref& argument, int index) {
    Holder* element = argument.value()->elementAt(index);
    return element ? element->value() : argument.value();
}

// Converts from the last parameter to the first, so that a list that is too
// short grows once to its full length.
template <class... P, size_t... I>
void loadParameters(std::tuple<Parameter<P>...>& parameters, const Ref& argument,
                    std::index_sequence<I...>) {
    constexpr size_t count = sizeof...(P);
    if constexpr (count == 1)
        std::get<0>(parameters).load(argument.value());
    else
        (std::get<count - 1 - I>(parameters).load(parameterSource(argument, count - 1 - I)), ...);
}

// How many arguments a call passed: several arrive as a tuple, one as itself.
// The tuple's own list is counted: asking it for elements past its end would
// grow it.
inline size_t argumentCount(const Ref& argument) {
    vBase* value = argument.value();
    if (value->typeCode() != variable::Variable::TYPE_TUPLE) return 1;
    return static_cast<variable::Variable::vRArray*>(value)->elements().size();
}

// Reports a call whose arguments cannot be the parameters one for one, when
// the host asked to hear of it (a check of a game); the call goes on as ever.
// A call with none passes one empty object, which cannot be told from one
// argument, so only a list is taken as more than one.
inline void checkArgumentCount(const Ref& argument, size_t parameters) {
    if (!diagnosticEnabled(DIAG_ARGUMENT_COUNT)) return;
    const size_t given = argumentCount(argument);
    if (given == parameters || (given == 1 && parameters == 0)) return;
    report(DIAG_ARGUMENT_COUNT,
           (std::to_string(given) + " given, " + std::to_string(parameters) + " taken").c_str());
}

// A returned text is copied at once, so the host may hand back storage of its
// own that it overwrites on the next call. A null text becomes "".
inline Ref makeResult(const char* text) {
    return Ref(new variable::Variable::vString(SharedString(text ? text : "")));
}
inline Ref makeResult(int value) {
    return Ref::adopt(Holder::makeInt(value));
}

} // namespace Kel::binding

namespace Kel::variable::Variable {

// The binding of a host function R f(P...). With R void the call's result is
// the argument itself (shared); otherwise a new int or string value.
template <class R, class... P> class vBCFunction final : public vBase {
    static_assert(std::is_void_v<R> || std::is_same_v<R, int> || std::is_same_v<R, const char*>,
                  "a host function returns nothing, int or const char*");

public:
    using Native = R (*)(P...);
    explicit vBCFunction(Native function) : m_function(function) {}
    Native function() const { return m_function; }

    int typeCode() const override { return TYPE_BIND_FUNCTION; }
    vBase* clone() const override { return new vBCFunction(m_function); }
    void call(Env& env, Holder*) override {
        Ref argument = env.pop();
        binding::checkArgumentCount(argument, sizeof...(P));
        env.push(invoke(argument));
    }
    Ref callSync(Env&, const Ref& argument, Holder*) override { return invoke(argument); }

private:
    Ref invoke(const Ref& argument) {
        std::tuple<binding::Parameter<P>...> parameters;
        binding::loadParameters<P...>(parameters, argument, std::index_sequence_for<P...>{});
        if constexpr (std::is_void_v<R>) {
            std::apply([this](auto&... p) { m_function(p.get()...); }, parameters);
            return argument;
        } else {
            return binding::makeResult(
                std::apply([this](auto&... p) { return m_function(p.get()...); }, parameters));
        }
    }

    Native m_function;
};

// The shapes by their family names: V takes 0 to 5 parameters and returns
// nothing, R returns its first template parameter and takes the rest.
using vBCFunctionV0 = vBCFunction<void>;
template <class A> using vBCFunctionV1 = vBCFunction<void, A>;
template <class A, class B> using vBCFunctionV2 = vBCFunction<void, A, B>;
template <class A, class B, class C> using vBCFunctionV3 = vBCFunction<void, A, B, C>;
template <class A, class B, class C, class D> using vBCFunctionV4 = vBCFunction<void, A, B, C, D>;
template <class A, class B, class C, class D, class E>
using vBCFunctionV5 = vBCFunction<void, A, B, C, D, E>;
template <class R> using vBCFunctionR0 = vBCFunction<R>;
template <class R, class A> using vBCFunctionR1 = vBCFunction<R, A>;

} // namespace Kel::variable::Variable
