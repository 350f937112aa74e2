#include "sim/portmon/port_info_list.h"

#include <cstring>

#include "app/printpath/port_config.h"
#include "sim/portmon/wide_text.h"

namespace {

const wchar_t kDescription[] = L"Tessel TCP/IP Port";

DWORD TextSize(const std::wstring& strText) {
    return static_cast<DWORD>((strText.size() + 1) * sizeof(wchar_t));
}

// Copies a text with its NUL to pText and moves pText past it.
LPWSTR PutText(BYTE*& pText, const std::wstring& strText) {
    const DWORD cbText = TextSize(strText);
    std::memcpy(pText, strText.c_str(), cbText);
    LPWSTR pszText = reinterpret_cast<LPWSTR>(pText);
    pText += cbText;
    return pszText;
}

} // namespace

DWORD CPortInfoList::Size() const {
    const std::wstring strMonitor = Widen(printpath::kTcpIpMonitorName);
    DWORD cbSize = 0;
    for (const std::wstring& strPort : m_ports) {
        cbSize += TextSize(strPort);
        if (m_dwLevel == 1)
            cbSize += sizeof(PORT_INFO_1W);
        else
            cbSize += sizeof(PORT_INFO_2W) + TextSize(strMonitor) + TextSize(kDescription);
    }
    return cbSize;
}

void CPortInfoList::Write(BYTE* pBuffer) const {
    const std::wstring strMonitor = Widen(printpath::kTcpIpMonitorName);
    const size_t cbRecord = m_dwLevel == 1 ? sizeof(PORT_INFO_1W) : sizeof(PORT_INFO_2W);
    BYTE* pText = pBuffer + cbRecord * m_ports.size();
    for (size_t i = 0; i < m_ports.size(); ++i) {
        if (m_dwLevel == 1) {
            PORT_INFO_1W* pInfo = reinterpret_cast<PORT_INFO_1W*>(pBuffer) + i;
            pInfo->pName = PutText(pText, m_ports[i]);
            continue;
        }
        PORT_INFO_2W* pInfo = reinterpret_cast<PORT_INFO_2W*>(pBuffer) + i;
        pInfo->pPortName = PutText(pText, m_ports[i]);
        pInfo->pMonitorName = PutText(pText, strMonitor);
        pInfo->pDescription = PutText(pText, kDescription);
        pInfo->fPortType = PORT_TYPE_WRITE | PORT_TYPE_NET_ATTACHED;
        pInfo->Reserved = 0;
    }
}
