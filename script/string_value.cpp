// String values: text conversions and text arithmetic. Counts are whole bytes;
// nothing here decodes UTF-8, so cutting may split a character, as scripts
// expect from byte strings.
#include "string_value.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace Kel::variable::Variable {
namespace {

// Number parsing must not change with the host's locale (a decimal comma).
locale_t cLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

int32_t vString::parseInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = i < text.size() && text[i] == '-';
    if (negative) ++i;
    uint32_t value = 0; // wraps on overflow
    for (; i < text.size() && isDigit(text[i]); ++i)
        value = value * 10 + static_cast<uint32_t>(text[i] - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

double vString::parseFloat(std::string_view text) {
    // strtod needs a terminated copy when the view is not one.
    std::string terminated(text);
    return strtod_l(terminated.c_str(), nullptr, cLocale());
}

vBase* vString::clone() const {
    return new vString(m_text);
}

vBase* vString::substitute(const Ref& rhs) {
    m_text = rhs.value()->toString();
    return this;
}

void vString::addAssign(const Ref& rhs) {
    SharedString tail = rhs.value()->toString();
    if (static_cast<uint64_t>(m_text.size()) + tail.size() > SharedString::MAX_LENGTH) return;
    if (m_text.empty())
        m_text = std::move(tail); // share instead of copying
    else
        m_text.append(tail.view());
}

void vString::subAssign(const Ref& rhs) {
    int32_t count = rhs.value()->toInt();
    if (count <= 0) return;
    uint32_t length = m_text.size();
    m_text.truncate(static_cast<uint32_t>(count) >= length ? 0
                                                           : length - static_cast<uint32_t>(count));
}

void vString::mulAssign(const Ref& rhs) {
    int32_t times = rhs.value()->toInt();
    uint64_t total =
        static_cast<uint64_t>(m_text.size()) * static_cast<uint64_t>(times > 0 ? times : 0);
    if (times <= 1 || m_text.empty() || total > SharedString::MAX_LENGTH) return;
    SharedString unit = m_text; // the bytes to repeat, shared until we write
    m_text.reserve(static_cast<uint32_t>(total));
    for (int32_t i = 1; i < times; ++i)
        m_text.append(unit.view());
}

void vString::divAssign(const Ref& rhs) {
    uint32_t keep = static_cast<uint32_t>(rhs.value()->toInt());
    if (keep < m_text.size()) m_text.truncate(keep);
}

void vString::modAssign(const Ref& rhs) {
    m_text.dropFront(static_cast<uint32_t>(rhs.value()->toInt()));
}

int vString::compareWith(const Ref& rhs) {
    SharedString other = rhs.value()->toString();
    std::string_view left = m_text.view();
    std::string_view right = other.view();
    size_t common = left.size() < right.size() ? left.size() : right.size();
    for (size_t i = 0; i < common; ++i) {
        auto a = static_cast<signed char>(left[i]);
        auto b = static_cast<signed char>(right[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    if (left.size() == right.size()) return 0;
    return left.size() < right.size() ? -1 : 1;
}

bool vString::equals(const Ref& rhs) {
    return m_text.view() == rhs.value()->toString().view();
}
bool vString::notEquals(const Ref& rhs) {
    return !equals(rhs);
}
bool vString::lessEqual(const Ref& rhs) {
    return compareWith(rhs) <= 0;
}
bool vString::greaterEqual(const Ref& rhs) {
    return compareWith(rhs) >= 0;
}
bool vString::less(const Ref& rhs) {
    return !greaterEqual(rhs);
}
bool vString::greater(const Ref& rhs) {
    return !lessEqual(rhs);
}

int32_t vString::toInt() {
    return parseInt(m_text.view());
}

double vString::toFloat() {
    return strtod_l(m_text.c_str(), nullptr, cLocale());
}

} // namespace Kel::variable::Variable
