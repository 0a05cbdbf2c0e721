#include "pools/Archive.h"

#include <algorithm>
#include <cstring>

namespace qm {

CArchive::CArchive(IReadStream& in, WideToAnsiFn wideToAnsi)
    : m_in(&in), m_wideToAnsi(std::move(wideToAnsi)), m_remaining(in.Size()) {}

CArchive::CArchive(IWriteStream& out) : m_out(&out) {}

CArchive::~CArchive() {
    if (m_out) Flush();
}

bool CArchive::Fail(State state) {
    if (m_state == State::ok) m_state = state;
    return false;
}

bool CArchive::Fill() {
    long got = m_in->Read(m_buffer, kBufferSize);
    if (got < 0) return Fail(State::readError);
    if (got == 0) return Fail(State::endOfFile);
    m_pos = 0;
    m_end = static_cast<std::size_t>(got);
    if (m_remaining >= 0) m_remaining = std::max<std::int64_t>(0, m_remaining - got);
    return true;
}

bool CArchive::ReadBytes(void* target, std::size_t count) {
    auto* out = static_cast<unsigned char*>(target);
    while (count > 0) {
        if (m_state != State::ok) return false;
        if (m_pos == m_end && !Fill()) return false;
        std::size_t n = std::min(count, m_end - m_pos);
        std::memcpy(out, m_buffer + m_pos, n);
        m_pos += n;
        out += n;
        count -= n;
    }
    return m_state == State::ok;
}

bool CArchive::ReadInt32(std::int32_t& value) {
    unsigned char b[4];
    if (!ReadBytes(b, 4)) return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                                      (static_cast<std::uint32_t>(b[2]) << 16) |
                                      (static_cast<std::uint32_t>(b[3]) << 24));
    return true;
}

// Reads one length prefix. `wide` is set when the FF FFFE mark of 16-bit text was met;
// the prefix after the mark is then read in its place.
bool CArchive::ReadLength(std::uint32_t& length, bool& wide) {
    unsigned char first = 0;
    if (!ReadBytes(&first, 1)) return false;
    if (first < 0xFF) {
        length = first;
        return true;
    }
    unsigned char w[2];
    if (!ReadBytes(w, 2)) return false;
    std::uint16_t word = static_cast<std::uint16_t>(w[0] | (w[1] << 8));
    if (word == 0xFFFE && !wide) {
        wide = true;
        return ReadLength(length, wide);
    }
    if (word < 0xFFFF) {
        length = word;
        return true;
    }
    std::int32_t big = 0;
    if (!ReadInt32(big)) return false;
    length = static_cast<std::uint32_t>(big);
    return true;
}

// Reads `bytes` bytes of text. A length beyond what the file still holds ends the read as
// the end of the file would, before anything is allocated for it.
bool CArchive::ReadText(std::string& out, std::uint64_t bytes) {
    out.clear();
    if (m_remaining >= 0 && bytes > static_cast<std::uint64_t>(m_remaining) + (m_end - m_pos))
        return Fail(State::endOfFile);
    // With the file size known the length is already bounded by it; otherwise grow as data arrives.
    out.reserve(static_cast<std::size_t>(m_remaining >= 0 ? bytes : std::min<std::uint64_t>(bytes, kBufferSize)));
    while (bytes > 0) {
        if (m_pos == m_end && !Fill()) return false;
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, m_end - m_pos));
        out.append(reinterpret_cast<const char*>(m_buffer + m_pos), n);
        m_pos += n;
        bytes -= n;
    }
    return true;
}

bool CArchive::ReadString(std::string& text) {
    text.clear();
    if (m_state != State::ok) return false;
    std::uint32_t length = 0;
    bool wide = false;
    if (!ReadLength(length, wide)) return false;
    if (!wide) return ReadText(text, length);
    std::string raw;
    if (!ReadText(raw, static_cast<std::uint64_t>(length) * 2)) return false;
    std::u16string chars(length, u'\0');
    for (std::uint32_t i = 0; i < length; ++i)
        chars[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                         (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
    text = m_wideToAnsi ? m_wideToAnsi(chars) : std::string();
    return true;
}

bool CArchive::WriteBytes(const void* data, std::size_t count) {
    const auto* in = static_cast<const unsigned char*>(data);
    while (count > 0) {
        if (m_state != State::ok) return false;
        if (m_end == kBufferSize && !Flush()) return false;
        std::size_t n = std::min(count, kBufferSize - m_end);
        std::memcpy(m_buffer + m_end, in, n);
        m_end += n;
        in += n;
        count -= n;
    }
    return true;
}

bool CArchive::Flush() {
    if (!m_out || m_state != State::ok) return false;
    if (m_end > 0 && !m_out->Write(m_buffer, m_end)) return Fail(State::writeError);
    m_end = 0;
    return true;
}

bool CArchive::WriteInt32(std::int32_t value) {
    auto u = static_cast<std::uint32_t>(value);
    unsigned char b[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                          static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
    return WriteBytes(b, 4);
}

bool CArchive::WriteString(const std::string& text) {
    std::size_t length = text.size();
    if (length < 0xFF) {
        unsigned char b = static_cast<unsigned char>(length);
        if (!WriteBytes(&b, 1)) return false;
    } else if (length < 0xFFFE) {
        unsigned char b[3] = {0xFF, static_cast<unsigned char>(length), static_cast<unsigned char>(length >> 8)};
        if (!WriteBytes(b, 3)) return false;
    } else {
        unsigned char b[3] = {0xFF, 0xFF, 0xFF};
        if (!WriteBytes(b, 3) || !WriteInt32(static_cast<std::int32_t>(static_cast<std::uint32_t>(length))))
            return false;
    }
    return WriteBytes(text.data(), length);
}

}  // namespace qm
