// Feeds arbitrary bytes, as a printer's reply, through everything the PJL
// exchange does with one: the reply buffer in receive-sized pieces, the
// completeness rule, the echo check and the four CopyData, and checks what
// must hold whatever the reply. The first input byte sets the piece size.
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/trace.h"
#include "devices/lan/lan_errors.h"
#include "devices/lan/lan_link.h"
#include "devices/lan/parse_unsigned.h"
#include "devices/lan/pjl_frame.h"
#include "devices/lan/pjl_reply.h"
#include "devices/lan/reply_buffer.h"

// Formats each line, so that a format that does not fit its arguments shows,
// and drops it.
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

// ParseUnsigned against the C library's strtoul, where the 64-bit result of
// the latter says what the 32-bit one must be: when the magnitude fits in 32
// bits, the low 32 bits agree; otherwise ParseUnsigned gives 0xFFFFFFFF.
void CheckAgainstStrtoul(std::string_view text, unsigned nBase) {
    const std::string copy(text);
    errno = 0;
    const unsigned long long qwValue = std::strtoull(copy.c_str(), nullptr, static_cast<int>(nBase));
    const bool bRange = errno == ERANGE;
    const std::size_t nSign = copy.find_first_not_of(" \t\n\v\f\r");
    const bool bNegative = nSign != std::string::npos && copy[nSign] == '-';
    const unsigned long long qwMagnitude = bNegative ? 0 - qwValue : qwValue;
    const std::uint32_t dwValue = ParseUnsigned(text, nBase);
    if (!bRange && qwMagnitude <= UINT32_MAX)
        Check(dwValue == static_cast<std::uint32_t>(qwValue));
    else
        Check(dwValue == UINT32_MAX);
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
    Check(dwError == 0 || dwError == kErrorMoreData);
    Check(dwError == 0 || (buffer.Room() == 0 && !buffer.IsComplete()));
    Check(buffer.Length() == nDone && buffer.Length() < CReplyBuffer::kSize);
    Check(buffer.Data()[CReplyBuffer::kSize - 1] == '\0');
    Check(buffer.IsComplete() == IsPjlReplyComplete(pReply, nDone));

    const std::string_view text = buffer.Text();
    Check(text.size() <= buffer.Length() && text.find('\0') == std::string_view::npos);
    // Any time formats to a line of the same length.
    Check(FormatPjlEchoLine(pbData[0], nSize > 1 ? pbData[1] : 0, nSize > 2 ? pbData[2] : 0).size() == 30);
    const std::string strEcho = "@PJL ECHO Status at 12:34:56.0";
    Check((CheckPjlEcho(text, strEcho) == 0) == (text.find(strEcho) != std::string_view::npos));

    std::uint8_t abStatus[CDeviceStatus::kSize];
    std::uint8_t abInfo[DEVICE_INFO::kSize];
    std::uint32_t dwCode = 0;
    const bool bStatusKey = text.find("NYSTATUS=") != std::string_view::npos;
    Check((CopyPjlRecord(kPjlStatusRequest, text, abStatus) == 0) == bStatusKey);
    Check((CopyPjlRecord(kPjlInfoRequest, text, abInfo) == 0) ==
          (text.find("NYCONFIG=") != std::string_view::npos));
    const std::uint32_t dwCancel = CopyPjlReplyCode(kPjlCancelRequest, text, &dwCode);
    Check(dwCancel == 0 || dwCancel == kErrorInvalidData);
    const std::uint32_t dwResume = CopyPjlReplyCode(kPjlResumeRequest, text, &dwCode);
    Check(dwResume == 0 || dwResume == kErrorInvalidData);

    // The status payload's first pair, as a text of its own, and the whole
    // text as a number, against the C library.
    if (bStatusKey) {
        const std::size_t nPayload = text.find("NYSTATUS=") + 9;
        CheckAgainstStrtoul(text.substr(nPayload, 2), 16);
    }
    CheckAgainstStrtoul(text.substr(0, 32), 10);

    std::string strAddress;
    std::uint32_t nPort = 0;
    Check(ParseLink(strAddress, nPort, text) == (text.find(':') != std::string_view::npos));
    Check(BuildPjlFrame(strEcho, text).size() ==
          2 * kPjlUelLength + 6 + strEcho.size() + 2 + text.size() + 2);
    return 0;
}
