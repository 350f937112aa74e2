#include "ui/device_export.h"

#include "app/format.h"
#include "app/trace.h"

namespace device_export {

namespace {

const std::string kRule(78, '=');

} // namespace

std::string FormatTime(const std::tm& time) {
    char szTime[128];
    const std::size_t nLength = std::strftime(szTime, sizeof(szTime), "%A, %B %d, %Y (%I:%M:%S %p)", &time);
    return std::string(szTime, nLength);
}

void AppendItem(const device_tree::Item& item, int nDepth, std::string& strOut) {
    strOut.append(static_cast<std::size_t>(nDepth), '\t');
    strOut += item.strText;
    strOut += "\r\n";
    for (const device_tree::Item& child : item.children)
        AppendItem(child, nDepth + 1, strOut);
}

std::string InfoText(const std::string& strTime, const device_tree::Item& root) {
    std::string strText = "NyAgent : Device Information : " + strTime + "\r\n" + kRule + "\r\n";
    AppendItem(root, 0, strText);
    return strText;
}

std::string AboutText(const std::string& strTime, const std::string& strVersion, const std::string& strLegal,
                      const std::vector<device_tree::Item>& roots) {
    std::string strText = "NyAgent : About Information : " + strTime + "\r\n" + kRule + "\r\n";
    strText += strVersion + "\r\n" + strLegal + "\r\n" + kRule + "\r\n";
    for (const device_tree::Item& root : roots)
        AppendItem(root, 0, strText);
    return strText;
}

std::string Utf16Le(const std::u16string& strText) {
    std::string strBytes;
    strBytes.reserve(2 * strText.size());
    for (const char16_t c : strText) {
        strBytes += static_cast<char>(c & 0xFF);
        strBytes += static_cast<char>(c >> 8);
    }
    return strBytes;
}

std::string LogText(const std::string& strTime, const LogReader& reader) {
    std::string strText = "NyAgent : Device Logs : " + strTime + "\r\n" + kRule + "\r\n\r\n";
    std::uint16_t wCount = 0;
    const std::uint32_t dwCountError = reader.fnCount(wCount);
    if (dwCountError != 0) {
        DebugTrace("CInfoDlg::OnButton2() : GetNumberOfLogs() failed. GetLastError() = %u\n", dwCountError);
        return strText +
               Format("Unable to retrieve the number of logs. GetLastError() = %u\r\n", dwCountError);
    }
    if (wCount == 0)
        return strText + "No Logs\r\n";
    for (unsigned nIndex = 0; nIndex < wCount; ++nIndex) {
        DEVICE_LOG log = {};
        const std::uint32_t dwError = reader.fnEntry(static_cast<std::uint16_t>(nIndex), log);
        if (dwError != 0) {
            DebugTrace("CInfoDlg::OnButton2() : GetLogs(%u) failed. GetLastError() = %u\n", nIndex, dwError);
            strText += Format("Unable to retrieve logs #%u. GetLastError() = %u\r\n", nIndex, dwError);
            continue;
        }
        strText +=
            Format("Event : 0x%04x, nbPages : %u, Flash : 0x%04x\r\n", static_cast<unsigned>(log.EventCode()),
                   log.Pages(), static_cast<unsigned>(log.FlashValue()));
    }
    return strText;
}

} // namespace device_export
