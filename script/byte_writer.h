// ByteWriter: the growing byte buffer that compiled code is serialised into.
// Multi-byte operands go out little-endian whatever the host's byte order, so
// a compiled file reads back the same on every machine.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace Kel {

class ByteWriter {
public:
    // Keeps every byte until take().
    ByteWriter() = default;
    // Passes the bytes on to `sink` a piece at a time (see settle()), so that
    // a large compiled file is never held whole.
    explicit ByteWriter(FILE* sink) : m_sink(sink) {}

    void byte(uint8_t value) { m_bytes.push_back(value); }
    void u32(uint32_t value) { little(value, sizeof value); }
    void i32(int32_t value) { u32(static_cast<uint32_t>(value)); }
    // IEEE 754 double, 8 bytes little-endian.
    void f64(double value) {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        little(bits, sizeof bits);
    }
    // A name or string: its bytes, then one zero byte, appended in one step.
    void text(std::string_view value) {
        size_t at = m_bytes.size();
        m_bytes.resize(at + value.size() + 1);
        if (!value.empty()) std::memcpy(m_bytes.data() + at, value.data(), value.size());
    }

    std::vector<uint8_t> take() { return std::move(m_bytes); }

    // A point where the bytes so far may go on to the sink: they do once
    // they fill a piece.
    void settle() {
        if (m_sink && m_bytes.size() >= SINK_PIECE) pass();
    }
    // Passes what is left to the sink; false when the sink refused any byte.
    bool finish() {
        pass();
        return m_sinkAccepted;
    }

private:
    // Bytes gathered before they go on to a sink: large enough that the
    // writes are few, small enough to stay in the cache.
    static constexpr size_t SINK_PIECE = 64 * 1024;

    void pass() {
        if (m_bytes.empty()) return;
        if (std::fwrite(m_bytes.data(), 1, m_bytes.size(), m_sink) != m_bytes.size())
            m_sinkAccepted = false;
        m_bytes.clear();
    }

    // The low `count` bytes of `value`, lowest first, appended in one step.
    // The buffer grows as a vector does, and only by bytes written, so no
    // page of spare room is touched before it is needed.
    void little(uint64_t value, size_t count) {
        size_t at = m_bytes.size();
        m_bytes.resize(at + count);
        for (size_t i = 0; i < count; ++i)
            m_bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }

    std::vector<uint8_t> m_bytes;
    FILE* m_sink = nullptr;
    bool m_sinkAccepted = true;
};

} // namespace Kel
