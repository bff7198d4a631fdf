// Number arithmetic. Integer results are computed on unsigned 32-bit words so
// that overflow wraps instead of being undefined, and the one quotient that
// has no 32-bit result (the smallest int by -1) is given a defined answer.
#include "numbers.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace Kel::variable::Variable {
namespace {

constexpr int32_t INT_MIN_VALUE = std::numeric_limits<int32_t>::min();
constexpr int32_t INT_MAX_VALUE = std::numeric_limits<int32_t>::max();
// Room for "%f" of the largest double: 309 digits, sign, point and six decimals.
constexpr int FLOAT_TEXT_SIZE = 330;
// Room for a 32-bit number in decimal or hexadecimal with its sign.
constexpr int INT_TEXT_SIZE = 16;

uint32_t bits(int32_t value) {
    return static_cast<uint32_t>(value);
}
int32_t fromBits(uint32_t value) {
    return static_cast<int32_t>(value);
}

} // namespace

// --- vInt -------------------------------------------------------------------

vBase* vInt::clone() const {
    return new vInt(m_value);
}

vBase* vInt::substitute(const Ref& rhs) {
    m_value = rhs.value()->toInt();
    return this;
}

void vInt::addAssign(const Ref& rhs) {
    m_value = fromBits(bits(m_value) + bits(rhs.value()->toInt()));
}
void vInt::subAssign(const Ref& rhs) {
    m_value = fromBits(bits(m_value) - bits(rhs.value()->toInt()));
}
void vInt::mulAssign(const Ref& rhs) {
    m_value = fromBits(bits(m_value) * bits(rhs.value()->toInt()));
}
void vInt::divAssign(const Ref& rhs) {
    m_value = intQuotient(m_value, rhs.value()->toInt());
}
void vInt::modAssign(const Ref& rhs) {
    m_value = intRemainder(m_value, rhs.value()->toInt());
}
void vInt::andAssign(const Ref& rhs) {
    m_value &= rhs.value()->toInt();
}
void vInt::orAssign(const Ref& rhs) {
    m_value |= rhs.value()->toInt();
}
void vInt::xorAssign(const Ref& rhs) {
    m_value ^= rhs.value()->toInt();
}

void vInt::shlAssign(const Ref& rhs) {
    m_value = intShiftLeft(m_value, rhs.value()->toInt());
}

void vInt::shrAssign(const Ref& rhs) {
    m_value = intShiftRight(m_value, rhs.value()->toInt());
}

bool vInt::equals(const Ref& rhs) {
    return m_value == rhs.value()->toInt();
}
bool vInt::notEquals(const Ref& rhs) {
    return m_value != rhs.value()->toInt();
}
bool vInt::lessEqual(const Ref& rhs) {
    return m_value <= rhs.value()->toInt();
}
bool vInt::greaterEqual(const Ref& rhs) {
    return m_value >= rhs.value()->toInt();
}
bool vInt::less(const Ref& rhs) {
    return m_value < rhs.value()->toInt();
}
bool vInt::greater(const Ref& rhs) {
    return m_value > rhs.value()->toInt();
}

void vInt::negate() {
    m_value = fromBits(0u - bits(m_value));
}
void vInt::complement() {
    m_value = ~m_value;
}

SharedString vInt::toString() {
    // The magnitude is taken unsigned, so the smallest int prints as
    // "-2147483648" like any other.
    char text[INT_TEXT_SIZE];
    char* end = text + INT_TEXT_SIZE;
    char* digit = end;
    uint32_t magnitude = m_value < 0 ? 0u - bits(m_value) : bits(m_value);
    do {
        *--digit = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (m_value < 0) *--digit = '-';
    return SharedString(std::string_view(digit, static_cast<size_t>(end - digit)));
}

// --- vHex -------------------------------------------------------------------

namespace {
uint32_t hexOf(const Ref& rhs) {
    return bits(rhs.value()->toInt());
}
} // namespace

vBase* vHex::clone() const {
    return new vHex(m_value);
}

vBase* vHex::substitute(const Ref& rhs) {
    m_value = hexOf(rhs);
    return this;
}

void vHex::addAssign(const Ref& rhs) {
    m_value += hexOf(rhs);
}
void vHex::subAssign(const Ref& rhs) {
    m_value -= hexOf(rhs);
}
void vHex::mulAssign(const Ref& rhs) {
    m_value *= hexOf(rhs);
}

void vHex::divAssign(const Ref& rhs) {
    uint32_t divisor = hexOf(rhs);
    m_value = divisor == 0 ? 0 : m_value / divisor;
}

void vHex::modAssign(const Ref& rhs) {
    uint32_t divisor = hexOf(rhs);
    m_value = divisor == 0 ? 0 : m_value % divisor;
}

void vHex::andAssign(const Ref& rhs) {
    m_value &= hexOf(rhs);
}
void vHex::orAssign(const Ref& rhs) {
    m_value |= hexOf(rhs);
}
void vHex::xorAssign(const Ref& rhs) {
    m_value ^= hexOf(rhs);
}
void vHex::shlAssign(const Ref& rhs) {
    m_value <<= (hexOf(rhs) & SHIFT_MASK);
}
void vHex::shrAssign(const Ref& rhs) {
    m_value >>= (hexOf(rhs) & SHIFT_MASK);
} // logical

bool vHex::equals(const Ref& rhs) {
    return m_value == hexOf(rhs);
}
bool vHex::notEquals(const Ref& rhs) {
    return m_value != hexOf(rhs);
}
bool vHex::lessEqual(const Ref& rhs) {
    return m_value <= hexOf(rhs);
}
bool vHex::greaterEqual(const Ref& rhs) {
    return m_value >= hexOf(rhs);
}
bool vHex::less(const Ref& rhs) {
    return m_value < hexOf(rhs);
}
bool vHex::greater(const Ref& rhs) {
    return m_value > hexOf(rhs);
}

void vHex::negate() {
    m_value = 0u - m_value;
}
void vHex::complement() {
    m_value = ~m_value;
}

SharedString vHex::toString() {
    char text[INT_TEXT_SIZE];
    int length = std::snprintf(text, sizeof text, "%X", m_value);
    return SharedString(std::string_view(text, static_cast<size_t>(length)));
}

// --- vFloat -----------------------------------------------------------------

vBase* vFloat::clone() const {
    return new vFloat(m_value);
}

vBase* vFloat::substitute(const Ref& rhs) {
    m_value = rhs.value()->toFloat();
    return this;
}

void vFloat::addAssign(const Ref& rhs) {
    m_value += rhs.value()->toFloat();
}
void vFloat::subAssign(const Ref& rhs) {
    m_value -= rhs.value()->toFloat();
}
void vFloat::mulAssign(const Ref& rhs) {
    m_value *= rhs.value()->toFloat();
}

void vFloat::divAssign(const Ref& rhs) {
    double divisor = rhs.value()->toFloat();
    m_value = divisor == 0.0 ? 0.0 : m_value / divisor;
}

// IEEE comparisons: any NaN operand makes every one of them false except !=.
bool vFloat::equals(const Ref& rhs) {
    return m_value == rhs.value()->toFloat();
}
bool vFloat::notEquals(const Ref& rhs) {
    return m_value != rhs.value()->toFloat();
}
bool vFloat::lessEqual(const Ref& rhs) {
    return m_value <= rhs.value()->toFloat();
}
bool vFloat::greaterEqual(const Ref& rhs) {
    return m_value >= rhs.value()->toFloat();
}
bool vFloat::less(const Ref& rhs) {
    return m_value < rhs.value()->toFloat();
}
bool vFloat::greater(const Ref& rhs) {
    return m_value > rhs.value()->toFloat();
}

int32_t vFloat::toInt() {
    // Truncation toward zero; values with no 32-bit integer saturate and NaN
    // gives 0, where a plain cast would be undefined.
    if (std::isnan(m_value)) return 0;
    if (m_value <= static_cast<double>(INT_MIN_VALUE)) return INT_MIN_VALUE;
    if (m_value >= static_cast<double>(INT_MAX_VALUE)) return INT_MAX_VALUE;
    return static_cast<int32_t>(m_value);
}

SharedString vFloat::toString() {
    char text[FLOAT_TEXT_SIZE];
    int length = std::snprintf(text, sizeof text, "%f", m_value);
    return SharedString(std::string_view(text, static_cast<size_t>(length)));
}

} // namespace Kel::variable::Variable
