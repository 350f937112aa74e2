#include "devices/lan/pjl_reply.h"

#include "app/trace.h"
#include "devices/lan/lan_errors.h"
#include "devices/lan/parse_unsigned.h"
#include "devices/lan/pjl_frame.h"

namespace {

char ToLowerAscii(char ch) {
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

char CharAt(std::string_view text, std::size_t nIndex) {
    return nIndex < text.size() ? text[nIndex] : '\0';
}

// The offset just behind the request's key, or npos (traced) without it.
std::size_t FindPayload(const PjlRequest& request, std::string_view reply) {
    const std::string_view key = request.pszReplyKey;
    const std::size_t nKey = reply.find(key);
    if (nKey == std::string_view::npos) {
        DebugTrace("%s::CopyData() : Unable to found \"%s\" in data\n", request.pszThreadClass,
                   request.pszReplyKey);
        return std::string_view::npos;
    }
    return nKey + key.size();
}

} // namespace

bool IsPjlReplyComplete(const char* pData, std::size_t nLength) {
    if (nLength < kPjlMinReplyLength)
        return false;
    const char* pTail = pData + nLength - kPjlUelLength;
    for (std::size_t i = 0; i < kPjlUelLength; ++i) {
        if (ToLowerAscii(pTail[i]) != ToLowerAscii(kPjlUel[i]))
            return false;
    }
    return true;
}

std::uint32_t CheckPjlEcho(std::string_view reply, std::string_view echoLine) {
    if (reply.find(echoLine) != std::string_view::npos)
        return 0;
    DebugTrace("CLanThread::InitInstance() : Invalid Time Stamp\n");
    return kErrorInvalidData;
}

std::uint32_t CopyPjlRecord(const PjlRecordRequest& request, std::string_view reply, std::uint8_t* pbRecord) {
    const std::size_t nPayload = FindPayload(request, reply);
    if (nPayload == std::string_view::npos)
        return kErrorInvalidData;
    for (std::size_t i = 0; i < request.nRecordSize; ++i) {
        // Each pair is read on its own; a NUL ends its digits like any other
        // character that is no digit.
        const char achPair[2] = {CharAt(reply, nPayload + 2 * i), CharAt(reply, nPayload + 2 * i + 1)};
        pbRecord[i] = static_cast<std::uint8_t>(ParseUnsigned(std::string_view(achPair, 2), 16));
    }
    return 0;
}

std::uint32_t CopyPjlReplyCode(const PjlRequest& request, std::string_view reply, std::uint32_t* pdwCode) {
    const std::size_t nPayload = FindPayload(request, reply);
    if (nPayload == std::string_view::npos)
        return kErrorInvalidData;
    const std::size_t nQuote = reply.find('"', nPayload);
    if (nQuote == std::string_view::npos) {
        DebugTrace("%s::CopyData() : Unable to found \" in data\n", request.pszThreadClass);
        return kErrorInvalidData;
    }
    *pdwCode = ParseUnsigned(reply.substr(nQuote + 1), 10);
    return 0;
}
