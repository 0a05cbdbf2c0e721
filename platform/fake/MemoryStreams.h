#pragma once
// Bytes in memory as a file to read or write, for tests, the fuzzer and the benchmark.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/FileSystem.h"

namespace qm {

// Reads at most `chunk` bytes per call; `sizeKnown` decides whether Size() tells the size.
class MemoryReadStream : public IReadStream {
public:
    MemoryReadStream(const std::uint8_t* data, std::size_t size, std::size_t chunk = SIZE_MAX, bool sizeKnown = true)
        : m_data(data), m_size(size), m_chunk(chunk), m_sizeKnown(sizeKnown) {}
    long Read(void* buffer, std::size_t count) override {
        std::size_t n = std::min({count, m_chunk, m_size - m_pos});
        if (n > 0) std::memcpy(buffer, m_data + m_pos, n);
        m_pos += n;
        return static_cast<long>(n);
    }
    std::int64_t Size() override { return m_sizeKnown ? static_cast<std::int64_t>(m_size) : -1; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_chunk;
    bool m_sizeKnown;
    std::size_t m_pos = 0;
};

class MemoryWriteStream : public IWriteStream {
public:
    bool Write(const void* data, std::size_t count) override {
        bytes.append(static_cast<const char*>(data), count);
        return true;
    }
    bool FlushToDisk() override { return true; }
    bool Close() override { return true; }
    std::string bytes;
};

}  // namespace qm
