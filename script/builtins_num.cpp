// num: rounding, bounds and constants on numbers, where `math` has only the C
// library's float functions. Results keep the kind a script gave (an int stays
// an int) and rounding answers an int whenever the result fits one, so that
// it can index a list straight away.
#include "builtins.h"
#include "builtins_support.h"

#include "object.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

namespace Kel::builtins {

using namespace variable::Variable;

namespace {

bool isNumber(const Ref& value) {
    int code = value.value()->typeCode();
    return code == TYPE_INT || code == TYPE_HEX || code == TYPE_FLOAT;
}

// A whole number as an int when it fits in 32 bits, else as the float itself
// (huge values, infinities and NaN).
Ref wholeNumber(double value) {
    bool fits = value >= std::numeric_limits<int32_t>::min() &&
                value <= std::numeric_limits<int32_t>::max();
    return fits ? makeInt(static_cast<int32_t>(value)) : makeFloat(value);
}

// The rounding functions: a number in, the whole number out.
template <double (*Round)(double)> Ref rounded(const Ref& argument, const char* name) {
    Ref value = parameter(argument, 0);
    if (!isNumber(value)) return failure(name, "the argument is not a number");
    return wholeNumber(Round(value.value()->toFloat()));
}

double roundDown(double x) {
    return std::floor(x);
}
double roundUp(double x) {
    return std::ceil(x);
}
// Halves round away from zero, as people round by hand.
double roundNearest(double x) {
    return std::round(x);
}

Ref floor(const Ref& argument) {
    return rounded<roundDown>(argument, "num.floor");
}
Ref ceil(const Ref& argument) {
    return rounded<roundUp>(argument, "num.ceil");
}
Ref round(const Ref& argument) {
    return rounded<roundNearest>(argument, "num.round");
}

// num.abs(x): ints as math.abs does (the smallest int stays as it is), floats
// without their sign, hex values as they are (they have none).
Ref absolute(const Ref& argument) {
    Ref value = parameter(argument, 0);
    switch (value.value()->typeCode()) {
    case TYPE_INT: {
        uint32_t bits = static_cast<uint32_t>(value.value()->toInt());
        return makeInt(static_cast<int32_t>(bits >> 31 ? 0u - bits : bits));
    }
    case TYPE_HEX:
        return makeHex(static_cast<uint32_t>(value.value()->toInt()));
    case TYPE_FLOAT:
        return makeFloat(std::fabs(value.value()->toFloat()));
    default:
        return failure("num.abs", "the argument is not a number");
    }
}

// The numbers min and max choose among: the call's arguments, or the elements
// of a single list.
std::vector<Ref> candidates(const Ref& argument) {
    std::vector<Ref> values;
    vObject* list = parameterCount(argument) == 1 ? listOf(argument) : nullptr;
    if (list) return list->elements();
    for (int i = 0; i < parameterCount(argument); ++i)
        values.push_back(parameter(argument, i));
    return values;
}

// The first of the candidates that no other beats; answered as it is (an int
// stays an int). `Beats(a, b)` is true when a should replace b.
template <bool (*Beats)(double, double)> Ref extreme(const Ref& argument, const char* name) {
    std::vector<Ref> values = candidates(argument);
    if (values.empty()) return failure(name, "there is no number to choose from");
    Ref best;
    for (const Ref& value : values) {
        if (!isNumber(value)) return failure(name, "an argument is not a number");
        if (!best || Beats(value.value()->toFloat(), best.value()->toFloat())) best = value;
    }
    return Ref(best.value()->clone());
}

bool smaller(double a, double b) {
    return a < b;
}
bool larger(double a, double b) {
    return a > b;
}

Ref min(const Ref& argument) {
    return extreme<smaller>(argument, "num.min");
}
Ref max(const Ref& argument) {
    return extreme<larger>(argument, "num.max");
}

// num.clamp(x, low, high): x, or the bound it lies beyond.
Ref clamp(const Ref& argument) {
    Ref value = parameter(argument, 0);
    Ref low = parameter(argument, 1);
    Ref high = parameter(argument, 2);
    if (!isNumber(value) || !isNumber(low) || !isNumber(high))
        return failure("num.clamp", "an argument is not a number");
    double x = value.value()->toFloat();
    double lowest = low.value()->toFloat();
    double highest = high.value()->toFloat();
    if (lowest > highest)
        return failure("num.clamp", "the lowest value %g is above the highest %g", lowest, highest);
    const Ref& chosen = x < lowest ? low : x > highest ? high : value;
    return Ref(chosen.value()->clone());
}

} // namespace

void registerNum(const Ref& global) {
    Ref num = libraryObject(global, "num");
    setFunction(num, "floor", floor);
    setFunction(num, "ceil", ceil);
    setFunction(num, "round", round);
    setFunction(num, "abs", absolute);
    setFunction(num, "min", min);
    setFunction(num, "max", max);
    setFunction(num, "clamp", clamp);
    setFloat(num, "pi", std::numbers::pi);
}

} // namespace Kel::builtins
