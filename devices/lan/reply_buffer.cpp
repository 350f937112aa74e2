#include "devices/lan/reply_buffer.h"

#include <cstring>

#include "app/trace.h"
#include "devices/lan/lan_errors.h"
#include "devices/lan/pjl_reply.h"

void CReplyBuffer::Clear() {
    std::memset(m_achData, 0, sizeof(m_achData));
    m_nLength = 0;
}

std::uint32_t CReplyBuffer::Commit(std::size_t nReceived) {
    const std::size_t nRoom = Room();
    m_nLength += nReceived < nRoom ? nReceived : nRoom;
    if (nReceived > nRoom || (Room() == 0 && !IsComplete())) {
        DebugTrace("CNySocket::OnReceive() : The reply does not fit in %d bytes\n", static_cast<int>(kSize));
        return kErrorMoreData;
    }
    return 0;
}

bool CReplyBuffer::IsComplete() const {
    return IsPjlReplyComplete(m_achData, m_nLength);
}

std::string_view CReplyBuffer::Text() const {
    const void* pNul = std::memchr(m_achData, 0, m_nLength);
    return std::string_view(m_achData, pNul ? static_cast<const char*>(pNul) - m_achData : m_nLength);
}
