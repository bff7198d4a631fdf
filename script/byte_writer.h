// ByteWriter: the growing byte buffer that compiled code is serialised into.
// Multi-byte operands go out little-endian whatever the host's byte order, so
// a compiled file reads back the same on every machine.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace Kel {

class ByteWriter {
public:
    void byte(uint8_t value) {
        if (m_used == m_bytes.size()) grow(1);
        m_bytes[m_used++] = value;
    }
    void u32(uint32_t value) { little(value, sizeof value); }
    void i32(int32_t value) { u32(static_cast<uint32_t>(value)); }
    // IEEE 754 double, 8 bytes little-endian.
    void f64(double value) {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        little(bits, sizeof bits);
    }
    // A name or string: its bytes, then one zero byte.
    void text(std::string_view value) {
        if (m_bytes.size() - m_used <= value.size()) grow(value.size() + 1);
        if (!value.empty()) std::memcpy(m_bytes.data() + m_used, value.data(), value.size());
        m_used += value.size();
        m_bytes[m_used++] = 0;
    }

    // The bytes written; the writer is empty afterwards.
    std::vector<uint8_t> take() {
        m_bytes.resize(m_used);
        m_used = 0;
        return std::move(m_bytes);
    }

private:
    // The first buffer: a unit of a few dozen lines fits, and the many
    // doublings from a handful of bytes are skipped.
    static constexpr size_t FIRST_CAPACITY = 4096;

    // The low `count` bytes of `value`, lowest first.
    void little(uint64_t value, size_t count) {
        if (m_bytes.size() - m_used < count) grow(count);
        for (size_t i = 0; i < count; ++i)
            m_bytes[m_used + i] = static_cast<uint8_t>(value >> (8 * i));
        m_used += count;
    }
    // Room for `more` bytes past those written, doubling the buffer so that
    // writing stays linear; every byte is written once, so the buffer is the
    // written bytes followed by spare room.
    void grow(size_t more) {
        size_t needed = m_used + more;
        size_t capacity = m_bytes.empty() ? FIRST_CAPACITY : m_bytes.size();
        while (capacity < needed)
            capacity *= 2;
        m_bytes.resize(capacity);
    }

    std::vector<uint8_t> m_bytes; // the written bytes, then room
    size_t m_used = 0;
};

} // namespace Kel
