#pragma once
// The binary archive of the pool file: little-endian integers and length-prefixed 8-bit
// strings, read and written through a 4,096-byte buffer.
//
// String lengths: below 255 one byte; up to 65,533 the byte FF and a 16-bit length; from
// 65,534 on FF, FFFF and a 32-bit length. A reader also takes FF FFFE as the mark of a
// string stored in 16-bit characters (a second length prefix follows, counting
// characters), which it converts to the ANSI code page. The program never writes that form.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/FileSystem.h"

namespace qm {

class CArchive {
public:
    using WideToAnsiFn = std::function<std::string(const std::u16string&)>;
    enum class State { ok, endOfFile, readError, writeError };
    static constexpr std::size_t kBufferSize = 4096;

    // A loading archive over a stream opened for reading.
    CArchive(IReadStream& in, WideToAnsiFn wideToAnsi);
    // A storing archive over a stream opened for writing.
    explicit CArchive(IWriteStream& out);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_in != nullptr; }
    State GetState() const { return m_state; }

    // Loading. Each returns false once the archive has met the end of the file or an
    // error, and keeps returning false from then on.
    bool ReadInt32(std::int32_t& value);
    bool ReadString(std::string& text);

    // Storing. Writes go to the buffer; Flush hands them to the stream.
    bool WriteInt32(std::int32_t value);
    bool WriteString(const std::string& text);
    bool Flush();

private:
    bool Fill();
    bool ReadBytes(void* target, std::size_t count);
    bool ReadLength(std::uint32_t& length, bool& wide);
    bool ReadText(std::string& out, std::uint64_t bytes);
    bool WriteBytes(const void* data, std::size_t count);
    bool Fail(State state);

    IReadStream* m_in = nullptr;
    IWriteStream* m_out = nullptr;
    WideToAnsiFn m_wideToAnsi;
    std::int64_t m_remaining = -1;  // bytes of the file not yet pulled into the buffer, if known
    State m_state = State::ok;
    unsigned char m_buffer[kBufferSize];
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
};

}  // namespace qm
