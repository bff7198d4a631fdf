// time and math: the clock and the C maths library for scripts. Domain errors
// give whatever the maths library gives (NaN, infinity); nothing is reported.
#include "builtins.h"
#include "builtins_support.h"
#include "clock_source.h"

#include <cmath>
#include <cstdint>

namespace Kel::builtins {

namespace {

double floatOf(const Ref& value) {
    return value.value()->toFloat();
}

Ref now(const Ref&) {
    return makeInt(static_cast<int32_t>(clock::wallSeconds()));
}

Ref processorTime(const Ref&) {
    return makeInt(static_cast<int32_t>(clock::processorMs()));
}

// The magnitude of the smallest int does not fit; it stays as it is.
Ref absolute(const Ref& argument) {
    uint32_t bits = static_cast<uint32_t>(argument.value()->toInt());
    return makeInt(static_cast<int32_t>(bits >> 31 ? 0u - bits : bits));
}

template <double (*F)(double)> Ref unary(const Ref& argument) {
    return makeFloat(F(floatOf(argument)));
}

template <double (*F)(double, double)> Ref binary(const Ref& argument) {
    return makeFloat(F(floatOf(argumentAt(argument, 0)), floatOf(argumentAt(argument, 1))));
}

// Plain functions for the templates above: the standard ones may not have
// their address taken.
namespace maths {
double fabs(double x) {
    return std::fabs(x);
}
double sqrt(double x) {
    return std::sqrt(x);
}
double log(double x) {
    return std::log(x);
}
double sin(double x) {
    return std::sin(x);
}
double cos(double x) {
    return std::cos(x);
}
double tan(double x) {
    return std::tan(x);
}
double asin(double x) {
    return std::asin(x);
}
double acos(double x) {
    return std::acos(x);
}
double atan(double x) {
    return std::atan(x);
}
double pow(double x, double y) {
    return std::pow(x, y);
}
double atan2(double y, double x) {
    return std::atan2(y, x);
}
} // namespace maths

} // namespace

void registerTimeAndMath(const Ref& global) {
    Ref time = libraryObject(global, "time");
    setFunction(time, "time", now);
    setFunction(time, "clock", processorTime);
    setInt(time, "CLOCKS_PER_SEC", static_cast<int32_t>(clock::PROCESSOR_MS_PER_SECOND));
    Ref math = libraryObject(global, "math");
    setFunction(math, "abs", absolute);
    setFunction(math, "fabs", unary<maths::fabs>);
    setFunction(math, "sqrt", unary<maths::sqrt>);
    setFunction(math, "log", unary<maths::log>);
    setFunction(math, "sin", unary<maths::sin>);
    setFunction(math, "cos", unary<maths::cos>);
    setFunction(math, "tan", unary<maths::tan>);
    setFunction(math, "asin", unary<maths::asin>);
    setFunction(math, "acos", unary<maths::acos>);
    setFunction(math, "atan", unary<maths::atan>);
    setFunction(math, "pow", binary<maths::pow>);
    setFunction(math, "atan2", binary<maths::atan2>);
}

} // namespace Kel::builtins
