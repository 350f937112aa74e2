// Feeds arbitrary bytes, as a status pipe client's input, through what the
// server does with them: the line reader in read-sized pieces and the request
// parser on each line. The sanitizers catch a read outside a buffer; the
// checks below hold whatever the input. The first byte sets the piece size.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/json/json_text.h"
#include "monitor/status_request.h"

void DebugTrace(const char*, ...) {}

namespace {

void Check(bool bHolds) {
    if (!bHolds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t nSize) {
    if (nSize == 0)
        return 0;
    const std::size_t nPiece = 1 + pbData[0] % 64;
    const char* p = reinterpret_cast<const char*>(pbData + 1);
    const std::size_t n = nSize - 1;
    CStatusLineReader reader;
    std::vector<std::string> lines;
    bool bFits = true;
    for (std::size_t i = 0; i < n && bFits; i += nPiece)
        bFits = reader.Feed(p + i, n - i < nPiece ? n - i : nPiece, lines);
    for (const std::string& strLine : lines) {
        Check(strLine.size() <= CStatusLineReader::kMaxLine && strLine.find('\n') == std::string::npos);
        CStatusRequest request;
        const StatusFault fault = ParseStatusRequest(strLine, request);
        Check(fault != StatusFault::InvalidUtf8 || !IsValidUtf8(strLine.data(), strLine.size()));
        Check(fault == StatusFault::None || request.strName.empty());
        // Whatever was read writes back as one line of valid UTF-8 that reads again the same.
        CJsonValue value;
        if (ParseJson(strLine, value) == JsonError::None) {
            const std::string strWritten = WriteJson(value);
            Check(IsValidUtf8(strWritten.data(), strWritten.size()) &&
                  strWritten.find('\n') == std::string::npos);
            CJsonValue again;
            Check(ParseJson(strWritten, again) == JsonError::None && WriteJson(again) == strWritten);
        }
    }
    return 0;
}
