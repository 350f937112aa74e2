#include "sim/portmon/port_monitor.h"

#include <new>
#include <string>
#include <vector>

#include "app/trace.h"
#include "sim/portmon/port_info_list.h"
#include "sim/portmon/port_settings.h"
#include "sim/portmon/wide_text.h"
#include "sim/portmon/xcv_port.h"

MONITOR2* CPortMonitor::Table() {
    // The spooler takes the table by a non-const pointer; nothing writes to it.
    static MONITOR2 s_monitor = {
        sizeof(MONITOR2), EnumPorts,   OpenPort,
        nullptr, // OpenPortEx: only language monitors have it
        StartDocPort,     WritePort,   ReadPort,     EndDocPort, ClosePort,
        nullptr, // AddPort, AddPortEx, ConfigurePort, DeletePort: ports are added in the registry
        nullptr,          nullptr,     nullptr,
        nullptr, // GetPrinterDataFromPort
        nullptr, // SetPortTimeOuts
        XcvOpenPort,      XcvDataPort, XcvClosePort, Shutdown,
        nullptr, // SendRecvBidiDataFromPort
        nullptr, // NotifyUsedPorts
        nullptr, // NotifyUnusedPorts
    };
    return &s_monitor;
}

BOOL WINAPI CPortMonitor::EnumPorts(HANDLE, LPWSTR, DWORD dwLevel, LPBYTE pPorts, DWORD cbBuf,
                                    LPDWORD pcbNeeded, LPDWORD pcReturned) {
    if (!pcbNeeded || !pcReturned) {
        DebugTrace("CPortMonitor::EnumPorts() : No place for the size or the count\n");
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *pcbNeeded = 0;
    *pcReturned = 0;
    if (dwLevel != 1 && dwLevel != 2) {
        DebugTrace("CPortMonitor::EnumPorts() : Unknown level %lu\n", dwLevel);
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    try {
        std::vector<std::wstring> ports;
        const DWORD dwError = CPortSettings::EnumPortNames(ports);
        if (dwError != ERROR_SUCCESS) {
            SetLastError(dwError);
            return FALSE;
        }
        const CPortInfoList list(dwLevel, ports);
        *pcbNeeded = list.Size();
        // A buffer that is too small asks for the size; that is no failure.
        if (cbBuf < *pcbNeeded) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        if (!pPorts && *pcbNeeded != 0) {
            DebugTrace("CPortMonitor::EnumPorts() : No buffer for %lu bytes\n", cbBuf);
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        if (pPorts)
            list.Write(pPorts);
        *pcReturned = list.Count();
        return TRUE;
    } catch (const std::bad_alloc&) {
        DebugTrace("CPortMonitor::EnumPorts() : Unable to allocate the port list\n");
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
}

BOOL CPortMonitor::NotSupported(const char* pszOperation) {
    DebugTrace("CPortMonitor::%s() : The port carries no print data\n", pszOperation);
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

BOOL WINAPI CPortMonitor::OpenPort(HANDLE, LPWSTR, PHANDLE pHandle) {
    if (pHandle)
        *pHandle = nullptr;
    return NotSupported("OpenPort");
}

BOOL WINAPI CPortMonitor::StartDocPort(HANDLE, LPWSTR, DWORD, DWORD, LPBYTE) {
    return NotSupported("StartDocPort");
}

BOOL WINAPI CPortMonitor::WritePort(HANDLE, LPBYTE, DWORD, LPDWORD pcbWritten) {
    if (pcbWritten)
        *pcbWritten = 0;
    return NotSupported("WritePort");
}

BOOL WINAPI CPortMonitor::ReadPort(HANDLE, LPBYTE, DWORD, LPDWORD pcbRead) {
    if (pcbRead)
        *pcbRead = 0;
    return NotSupported("ReadPort");
}

BOOL WINAPI CPortMonitor::EndDocPort(HANDLE) {
    return NotSupported("EndDocPort");
}

BOOL WINAPI CPortMonitor::ClosePort(HANDLE) {
    return NotSupported("ClosePort");
}

BOOL WINAPI CPortMonitor::XcvOpenPort(HANDLE, LPCWSTR pszObject, ACCESS_MASK, PHANDLE phXcv) {
    if (!phXcv) {
        DebugTrace("CPortMonitor::XcvOpenPort() : No place for the handle\n");
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *phXcv = nullptr;
    try {
        const std::wstring strPort = pszObject ? pszObject : L"";
        if (!strPort.empty()) {
            const DWORD dwError = CPortSettings::FindPort(strPort);
            if (dwError != ERROR_SUCCESS) {
                SetLastError(dwError);
                return FALSE;
            }
        }
        *phXcv = new CXcvPort(strPort);
        return TRUE;
    } catch (const std::bad_alloc&) {
        DebugTrace("CPortMonitor::XcvOpenPort() : Unable to allocate CXcvPort object\n");
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
}

DWORD WINAPI CPortMonitor::XcvDataPort(HANDLE hXcv, LPCWSTR pszDataName, PBYTE, DWORD, PBYTE pOutputData,
                                       DWORD cbOutputData, PDWORD pcbOutputNeeded) {
    if (!hXcv) {
        DebugTrace("CPortMonitor::XcvDataPort() : No handle\n");
        return ERROR_INVALID_HANDLE;
    }
    if (!pcbOutputNeeded) {
        DebugTrace("CPortMonitor::XcvDataPort() : No place for the needed size\n");
        return ERROR_INVALID_PARAMETER;
    }
    try {
        return static_cast<const CXcvPort*>(hXcv)->Data(pszDataName, pOutputData, cbOutputData,
                                                        *pcbOutputNeeded);
    } catch (const std::bad_alloc&) {
        DebugTrace("CPortMonitor::XcvDataPort() : Unable to allocate\n");
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

BOOL WINAPI CPortMonitor::XcvClosePort(HANDLE hXcv) {
    if (!hXcv) {
        DebugTrace("CPortMonitor::XcvClosePort() : No handle\n");
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    delete static_cast<CXcvPort*>(hXcv);
    return TRUE;
}

VOID WINAPI CPortMonitor::Shutdown(HANDLE) {}

// The spooler's way in. The monitor needs no context of its own, so the
// handle it returns only has to be non-null: it names the table.
extern "C" LPMONITOR2 WINAPI InitializePrintMonitor2(PMONITORINIT, PHANDLE phMonitor) {
    MONITOR2* pMonitor = CPortMonitor::Table();
    if (phMonitor)
        *phMonitor = pMonitor;
    return pMonitor;
}
