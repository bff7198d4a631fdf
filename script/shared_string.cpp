// Copy-on-write byte buffers of SharedString.
#include "shared_string.h"

#include "pool.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace Kel {

// Names and short texts are made and dropped constantly (every declaration
// and member insert copies its name), so buffers come from the size pools.
size_t SharedString::bufferBytes(uint32_t capacity) {
    return sizeof(Buffer) + capacity + 1;
}

SharedString::Buffer* SharedString::allocate(uint32_t capacity) {
    void* memory = pool::allocate(bufferBytes(capacity));
    Buffer* buffer = static_cast<Buffer*>(memory);
    buffer->references = 1;
    buffer->capacity = capacity;
    buffer->length = 0;
    buffer->bytes()[0] = '\0';
    return buffer;
}

void SharedString::freeBuffer(Buffer* buffer) {
    pool::release(buffer, bufferBytes(buffer->capacity));
}

SharedString::SharedString(std::string_view text) {
    if (text.empty()) return;
    assign(text);
}

SharedString& SharedString::operator=(const SharedString& other) {
    if (other.m_buffer) ++other.m_buffer->references;
    releaseBuffer(m_buffer);
    m_buffer = other.m_buffer;
    return *this;
}

SharedString& SharedString::operator=(SharedString&& other) noexcept {
    if (this != &other) {
        releaseBuffer(m_buffer);
        m_buffer = other.m_buffer;
        other.m_buffer = nullptr;
    }
    return *this;
}

void SharedString::makeUnique(uint32_t needed) {
    if (m_buffer && m_buffer->references == 1 && m_buffer->capacity >= needed) return;
    Buffer* fresh = allocate(needed + SPARE_CAPACITY);
    if (m_buffer) {
        uint32_t keep = std::min(m_buffer->length, needed);
        std::memcpy(fresh->bytes(), m_buffer->bytes(), keep);
        fresh->length = keep;
        fresh->bytes()[keep] = '\0';
        releaseBuffer(m_buffer);
    }
    m_buffer = fresh;
}

void SharedString::append(std::string_view text) {
    if (text.empty() || text.size() > MAX_LENGTH - size()) return;
    uint32_t length = size();
    uint32_t needed = length + static_cast<uint32_t>(text.size());
    // `text` may point into our own buffer, which makeUnique can free.
    if (m_buffer && text.data() >= m_buffer->bytes() &&
        text.data() < m_buffer->bytes() + m_buffer->capacity + 1) {
        std::string copy(text);
        append(copy);
        return;
    }
    makeUnique(needed);
    std::memcpy(m_buffer->bytes() + length, text.data(), text.size());
    m_buffer->length = needed;
    m_buffer->bytes()[needed] = '\0';
}

void SharedString::reserve(uint32_t length) {
    if (length > MAX_LENGTH || length < size()) return;
    makeUnique(length);
}

void SharedString::truncate(uint32_t length) {
    if (length >= size()) return;
    makeUnique(length);
    m_buffer->length = length;
    m_buffer->bytes()[length] = '\0';
}

void SharedString::dropFront(uint32_t count) {
    uint32_t length = size();
    if (count == 0) return;
    if (count >= length) {
        clear();
        return;
    }
    makeUnique(length);
    std::memmove(m_buffer->bytes(), m_buffer->bytes() + count, length - count);
    m_buffer->length = length - count;
    m_buffer->bytes()[m_buffer->length] = '\0';
}

void SharedString::reverse() {
    if (size() < 2) return;
    makeUnique(size());
    std::reverse(m_buffer->bytes(), m_buffer->bytes() + m_buffer->length);
}

void SharedString::assign(std::string_view text) {
    if (text.empty()) {
        clear();
        return;
    }
    if (text.size() > MAX_LENGTH) return;
    uint32_t length = static_cast<uint32_t>(text.size());
    if (m_buffer && m_buffer->references == 1 && m_buffer->capacity >= length) {
        // memmove: `text` may be a part of this very buffer.
        std::memmove(m_buffer->bytes(), text.data(), length);
    } else {
        // The old buffer is released only after the copy, for the same reason.
        Buffer* fresh = allocate(length + SPARE_CAPACITY);
        std::memcpy(fresh->bytes(), text.data(), length);
        releaseBuffer(m_buffer);
        m_buffer = fresh;
    }
    m_buffer->length = length;
    m_buffer->bytes()[length] = '\0';
}

void SharedString::clear() {
    if (!m_buffer) return;
    if (m_buffer->references == 1) {
        m_buffer->length = 0;
        m_buffer->bytes()[0] = '\0';
    } else {
        releaseBuffer(m_buffer);
        m_buffer = nullptr;
    }
}

} // namespace Kel
