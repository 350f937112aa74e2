#include "sim/portmon/xcv_port.h"

#include <cstring>
#include <cwchar>

#include "app/trace.h"
#include "sim/portmon/config_info.h"
#include "sim/portmon/port_settings.h"
#include "sim/portmon/wide_text.h"

DWORD CXcvPort::Data(const wchar_t* pszDataName, BYTE* pOutput, DWORD cbOutput, DWORD& cbNeeded) const {
    cbNeeded = 0;
    if (pszDataName && std::wcscmp(pszDataName, printpath::kConfigInfoDataName) == 0)
        return GetConfigInfo(pOutput, cbOutput, cbNeeded);
    DebugTrace("CXcvPort::Data(%s) : Unknown data name \"%s\"\n", Narrow(m_strPort).c_str(),
               pszDataName ? Narrow(pszDataName).c_str() : "(null)");
    return ERROR_INVALID_PARAMETER;
}

DWORD CXcvPort::GetConfigInfo(BYTE* pOutput, DWORD cbOutput, DWORD& cbNeeded) const {
    if (m_strPort.empty()) {
        DebugTrace("CXcvPort::GetConfigInfo() : The monitor has no configuration of its own\n");
        return ERROR_INVALID_PARAMETER;
    }
    printpath::PortConfig config;
    const DWORD dwError = CPortSettings::ReadPort(m_strPort, config);
    if (dwError != ERROR_SUCCESS)
        return dwError;
    BYTE abReply[printpath::kConfigInfoSize];
    if (!printpath::BuildConfigInfo(config, abReply)) {
        DebugTrace("CXcvPort::GetConfigInfo(%s) : IPAddress \"%s\" does not fit the reply\n",
                   Narrow(m_strPort).c_str(), config.strAddress.c_str());
        return ERROR_INVALID_DATA;
    }

    // A buffer that is too small asks for the size; that is no failure.
    cbNeeded = sizeof(abReply);
    if (cbOutput < sizeof(abReply))
        return ERROR_INSUFFICIENT_BUFFER;
    if (!pOutput) {
        DebugTrace("CXcvPort::GetConfigInfo(%s) : No output buffer for %lu bytes\n",
                   Narrow(m_strPort).c_str(), cbOutput);
        return ERROR_INVALID_PARAMETER;
    }
    std::memcpy(pOutput, abReply, sizeof(abReply));
    return ERROR_SUCCESS;
}
