// Feeds arbitrary bytes, as a printer's reply, through everything the PJL
// exchange does with one: the reply buffer in receive-sized pieces, the
// completeness rule, the echo check and the four CopyData. The sanitizers
// catch a read outside the buffer; the checks below hold whatever the reply.
// The first input byte sets the piece size.
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/trace.h"
#include "devices/lan/lan_errors.h"
#include "devices/lan/parse_unsigned.h"
#include "devices/lan/pjl_reply.h"
#include "devices/lan/reply_buffer.h"

// Formats each line (a format that does not fit its arguments shows) and drops it.
void DebugTrace(const char* pszFormat, ...) {
    char achLine[512];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(achLine, sizeof(achLine), pszFormat, args);
    va_end(args);
}

namespace {

void Check(bool bHolds) {
    if (!bHolds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t nSize) {
    if (nSize == 0)
        return 0;
    const std::size_t nPiece = pbData[0] ? pbData[0] : CReplyBuffer::kSize;
    const char* pReply = reinterpret_cast<const char*>(pbData + 1);
    const std::size_t nReply = nSize - 1;

    static CReplyBuffer buffer;
    buffer.Clear();
    std::size_t nDone = 0;
    std::uint32_t dwError = 0;
    while (nDone < nReply && dwError == 0 && !buffer.IsComplete()) {
        // A full buffer has either ended the exchange or holds a complete reply.
        Check(buffer.Room() > 0);
        std::size_t n = nReply - nDone;
        n = n < nPiece ? n : nPiece;
        n = n < buffer.Room() ? n : buffer.Room();
        std::memcpy(buffer.Tail(), pReply + nDone, n);
        nDone += n;
        dwError = buffer.Commit(n);
    }
    Check(dwError == 0 || (dwError == kErrorMoreData && buffer.Room() == 0 && !buffer.IsComplete()));
    Check(buffer.Length() == nDone && buffer.Data()[CReplyBuffer::kSize - 1] == '\0');

    const std::string_view text = buffer.Text();
    std::uint8_t abStatus[CDeviceStatus::kSize];
    std::uint8_t abInfo[DEVICE_INFO::kSize];
    std::uint32_t dwCode = 0;
    CheckPjlEcho(text, "@PJL ECHO Status at 12:34:56.0");
    CopyPjlRecord(kPjlStatusRequest, text, abStatus);
    CopyPjlRecord(kPjlInfoRequest, text, abInfo);
    CopyPjlReplyCode(kPjlCancelRequest, text, &dwCode);
    CopyPjlReplyCode(kPjlResumeRequest, text, &dwCode);

    // The first 32 characters as a number, against the C library: when the
    // magnitude fits in 32 bits, the low 32 bits agree; otherwise the result
    // is 0xFFFFFFFF.
    const std::string copy(text.substr(0, 32));
    errno = 0;
    const unsigned long long qwValue = std::strtoull(copy.c_str(), nullptr, 10);
    const std::size_t nSign = copy.find_first_not_of(" \t\n\v\f\r");
    const bool bNegative = nSign != std::string::npos && copy[nSign] == '-';
    const unsigned long long qwMagnitude = bNegative ? 0 - qwValue : qwValue;
    const bool bFits = errno != ERANGE && qwMagnitude <= UINT32_MAX;
    Check(ParseUnsigned(copy, 10) == (bFits ? static_cast<std::uint32_t>(qwValue) : UINT32_MAX));
    return 0;
}
