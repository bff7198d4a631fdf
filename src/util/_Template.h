// Small templates every engine class shares: the null check, wrapping steps
// through a half-open range of enum values, and a fixed-size array whose
// indexing is checked. Failures go through the assertion report.
#pragma once

#include "util/AssertReport.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace Kura {

namespace TemplateDetail {

// Reports carry this header's name as given, not the path of the including file.
inline constexpr const char* SOURCE_NAME = "src\\Util/_Template";

template <typename E> constexpr int64_t ToNumber(E value) {
    if constexpr (std::is_enum_v<E>)
        return static_cast<int64_t>(static_cast<std::underlying_type_t<E>>(value));
    else
        return static_cast<int64_t>(value);
}

template <typename E> constexpr E FromNumber(int64_t value) {
    if constexpr (std::is_enum_v<E>)
        return static_cast<E>(static_cast<std::underlying_type_t<E>>(value));
    else
        return static_cast<E>(value);
}

// The compiler's own spelling of T, cut out of "[with T = ...; ...]".
template <typename T> std::string CompilerTypeName() {
    std::string_view pretty = __PRETTY_FUNCTION__;
    size_t start = pretty.find("T = ");
    if (start == std::string_view::npos) return std::string();
    start += 4;
    size_t end = pretty.find_first_of(";]", start);
    return std::string(pretty.substr(start, end - start));
}

} // namespace TemplateDetail

// True for a usable pointer; a null one is reported.
template <typename T> bool IsEnableReference(const T* refValue) {
    return KURA_CHECK(refValue != nullptr, "&refValue!=NULL", TemplateDetail::SOURCE_NAME,
                      "IsEnableReference", 270);
}

// The value after value in [startEnum, sentryEnum), wrapping from the last to the first.
template <typename E> E EnumPlusplusLoop(E value, E startEnum, E sentryEnum) {
    using namespace TemplateDetail;
    KURA_CHECK(ToNumber(sentryEnum) > ToNumber(startEnum), "sentryEnum>startEnum", SOURCE_NAME,
               "EnumPlusplusLoop", 323);
    if (ToNumber(value) >= ToNumber(sentryEnum) - 1) return startEnum;
    return FromNumber<E>(ToNumber(value) + 1);
}

// The value before value in [startEnum, sentryEnum), wrapping from the first to the last.
template <typename E> E EnumMinusminusLoop(E value, E startEnum, E sentryEnum) {
    using namespace TemplateDetail;
    KURA_CHECK(ToNumber(sentryEnum) > ToNumber(startEnum), "sentryEnum>startEnum", SOURCE_NAME,
               "EnumMinusminusLoop", 338);
    if (ToNumber(value) > ToNumber(startEnum)) return FromNumber<E>(ToNumber(value) - 1);
    return FromNumber<E>(ToNumber(sentryEnum) - 1);
}

// How reports name an element type inside "Kura::Array<...>". A type may
// specialise this to be named as it wishes (for example "struct TEX_DATA").
template <typename T> struct ArrayElementName {
    static std::string Get() { return TemplateDetail::CompilerTypeName<T>(); }
};

// A fixed number of default-constructed elements. A negative size is reported
// and gives an empty array. A bad index is reported and reaches a spare element
// instead, so a caller that goes on after the report cannot touch memory outside
// the array.
template <typename T> class Array {
public:
    explicit Array(int32_t size) : m_Size(size < 0 ? 0 : size), m_Elements(m_Size) {
        if (size < 0) Report("::Array", L"!\"invalid Array construction!\"", __LINE__);
    }

    int32_t GetSize() const { return m_Size; }

    T& operator[](int32_t index) { return IsValid(index) ? m_Elements[index] : m_Spare; }
    const T& operator[](int32_t index) const {
        return IsValid(index) ? m_Elements[index] : m_Spare;
    }

private:
    bool IsValid(int32_t index) const {
        if (index >= 0 && index < m_Size) return true;
        Report("::operator []", L"index>=0 && index<m_Size", __LINE__);
        return false;
    }

    static void Report(const char* member, const wchar_t* expression, int32_t line) {
        std::string function = "Kura::Array<" + ArrayElementName<T>::Get() + ">" + member;
        ReportAssertion(false, TemplateDetail::SOURCE_NAME, line, function.c_str(), expression);
    }

    int32_t m_Size;
    std::vector<T> m_Elements;
    mutable T m_Spare{};
};

} // namespace Kura
