// The buffer that collects a printer's reply as it arrives, in pieces.
//
// A receive is offered only the room that is left, one byte short of the
// buffer's end, so the held text always ends in a NUL and nothing beyond the
// buffer is ever written or read. Everything behind the held bytes stays zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class CReplyBuffer {
public:
    static constexpr std::size_t kSize = 4096;

    CReplyBuffer() { Clear(); }
    CReplyBuffer(const CReplyBuffer&) = delete;
    CReplyBuffer& operator=(const CReplyBuffer&) = delete;

    // Forgets what was held and zero-fills the whole buffer.
    void Clear();

    // Where the next receive writes, and how many bytes it may write there.
    char* Tail() { return m_achData + m_nLength; }
    std::size_t Room() const { return kSize - 1 - m_nLength; }

    // Counts nReceived bytes that a receive wrote at Tail(). Returns 0, or
    // kErrorMoreData (traced) when the reply cannot fit: the buffer is full
    // and the reply still incomplete, or more than Room() was reported (only
    // Room() bytes are then counted). The exchange ends on that code.
    std::uint32_t Commit(std::size_t nReceived);

    bool IsComplete() const;
    const char* Data() const { return m_achData; }
    std::size_t Length() const { return m_nLength; }
    // The reply text: the held bytes up to the first NUL among them.
    std::string_view Text() const;

private:
    char m_achData[kSize];
    std::size_t m_nLength;
};
