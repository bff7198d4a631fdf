// Byte strings that share one buffer between copies and copy it only when a
// holder of a shared buffer changes it. Scripts keep UTF-8 here; nothing in
// this class decodes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Kel {

class SharedString {
public:
    // The longest text kept; lengths are 32-bit, and an operation that would
    // go past this leaves the text as it was.
    static constexpr uint32_t MAX_LENGTH = 1u << 28;

    SharedString() = default;
    SharedString(std::string_view text);
    SharedString(const char* text) : SharedString(std::string_view(text)) {}
    SharedString(const std::string& text) : SharedString(std::string_view(text)) {}
    // Copies share the buffer; names are copied on every declaration and
    // member insert, so sharing and dropping are inline.
    SharedString(const SharedString& other) : m_buffer(other.m_buffer) {
        if (m_buffer) ++m_buffer->references;
    }
    SharedString(SharedString&& other) noexcept : m_buffer(other.m_buffer) {
        other.m_buffer = nullptr;
    }
    SharedString& operator=(const SharedString& other);
    SharedString& operator=(SharedString&& other) noexcept;
    ~SharedString() { releaseBuffer(m_buffer); }

    uint32_t size() const { return m_buffer ? m_buffer->length : 0; }
    bool empty() const { return size() == 0; }
    const char* data() const { return m_buffer ? m_buffer->bytes() : ""; }
    // Zero-terminated text; a string without a buffer gives "".
    const char* c_str() const { return data(); }
    std::string_view view() const { return {data(), size()}; }
    std::string str() const { return std::string(view()); }
    bool hasBuffer() const { return m_buffer != nullptr; }
    // Whether both are copies of one buffer (never true without a buffer).
    bool sharesBuffer(const SharedString& other) const {
        return m_buffer && m_buffer == other.m_buffer;
    }
    // Number of strings sharing the buffer (0 without one); for tests.
    uint32_t shareCount() const { return m_buffer ? m_buffer->references : 0; }

    void append(std::string_view text);
    // Makes the buffer unique with room for `length` bytes, keeping the text.
    void reserve(uint32_t length);
    void truncate(uint32_t length); // keeps the first `length` bytes
    void dropFront(uint32_t count); // removes the first `count` bytes
    void reverse();
    void assign(std::string_view text);
    void clear();

    bool operator==(const SharedString& other) const { return view() == other.view(); }

private:
    struct Buffer {
        uint32_t references;
        uint32_t capacity; // bytes, not counting the terminating zero
        uint32_t length;
        char* bytes() { return reinterpret_cast<char*>(this + 1); }
    };

    // Makes the buffer unique with room for `needed` bytes; a new buffer gets
    // `needed` + SPARE_CAPACITY bytes of capacity.
    void makeUnique(uint32_t needed);
    static size_t bufferBytes(uint32_t capacity);
    static Buffer* allocate(uint32_t capacity);
    static void releaseBuffer(Buffer* buffer) {
        if (buffer && --buffer->references == 0) freeBuffer(buffer);
    }
    // Gives back a buffer no string shares any more.
    static void freeBuffer(Buffer* buffer);

    static constexpr uint32_t SPARE_CAPACITY = 11;
    Buffer* m_buffer = nullptr;
};

} // namespace Kel
