#include "monitor/device.h"

#include <new>
#include <vector>

#include "app/trace.h"
#include "monitor/console.h"
#include "monitor/models.h"

CDevice::CDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
                 const char* pszLink, BOOL bWithConsole)
    : m_pDeviceControl(pDeviceControl), m_strPort(pszPort), m_strPrinterName(pszPrinterName),
      m_strLink(pszLink ? pszLink : ""), m_bConnected(pszLink != nullptr) {
    if (bWithConsole && !OpenConsole()) {
        DebugTrace("CDevice::CDevice() : OpenConsole() returns FALSE\n");
        CloseConsole();
        throw CExcept();
    }
}

CDevice::~CDevice() = default;

BOOL CDevice::IsConnected() const {
    return m_bConnected;
}

void CDevice::OnConnected(const char* pszLink) {
    m_bConnected = TRUE;
    m_strLink = pszLink ? pszLink : "";
    DebugTrace("CDevice::OnConnected() : \"%s\" on port \"%s\"\n", m_strPrinterName.c_str(),
               m_strPort.c_str());
}

void CDevice::OnDisconnected() {
    m_bConnected = FALSE;
    DebugTrace("CDevice::OnDisconnected() : \"%s\" on port \"%s\"\n", m_strPrinterName.c_str(),
               m_strPort.c_str());
}

DWORD CDevice::ReadInfo(DEVICE_INFO*) {
    return ERROR_NOT_SUPPORTED;
}
DWORD CDevice::GetNumberOfLogs(WORD*) {
    return ERROR_NOT_SUPPORTED;
}
DWORD CDevice::GetLogs(WORD, DEVICE_LOG*) {
    return ERROR_NOT_SUPPORTED;
}

// A device without a polling thread or long requests has nothing to stop.
void CDevice::SignalStop() {}

DWORD CDevice::ReplyOnConsole(DWORD (CConsole::*pfnReply)(), const char* pszCaller) {
    if (!m_pConsole) {
        DebugTrace("%s : m_pConsole is NULL\n", pszCaller);
        return ERROR_INVALID_STATE;
    }
    return (m_pConsole.get()->*pfnReply)();
}

BOOL CDevice::OpenConsole() {
    try {
        m_pConsole.reset(new CConsole(m_strPort));
    } catch (const std::bad_alloc&) {
        DebugTrace("CDevice::OnNotification() : Unable to allocate CConsole object\n");
        return FALSE;
    } catch (const CConsole::CExcept&) {
        DebugTrace("CDevice::OnNotification() : Unable to construct CConsole object\n");
        m_pConsole.reset();
        return FALSE;
    }
    return TRUE;
}

void CDevice::CloseConsole() {
    m_pConsole.reset();
}

BOOL CDevice::IsKestrelModel() const {
    return IsKestrelProductId(GetProductId());
}

void CDevice::NotifyChanges(const CDeviceStatus& previous, const CDeviceStatus& fresh) {
    const StatusChanges changes = ClassifyChange(previous, fresh);
    for (std::size_t i = 0; i < changes.nCount; ++i)
        Notify(changes.aItems[i]);
}

void CDevice::Notify(StatusNotification notification) {
    switch (notification) {
    case StatusNotification::PrintingStarted:
        m_pDeviceControl->OnPrintingStarted();
        break;
    case StatusNotification::PrintingEnded:
        m_pDeviceControl->OnPrintingEnded();
        break;
    case StatusNotification::ErrorRaised:
        m_pDeviceControl->OnErrorRaised();
        break;
    case StatusNotification::ErrorCleared:
        m_pDeviceControl->OnErrorCleared();
        break;
    case StatusNotification::StatusChanged:
        m_pDeviceControl->OnStatusChanged();
        break;
    }
}

namespace {

// Closes a spooler printer handle when the look-up ends, however it ends.
class CPrinterHandle {
public:
    CPrinterHandle() = default;
    ~CPrinterHandle() {
        if (m_hPrinter)
            ClosePrinter(m_hPrinter);
    }
    CPrinterHandle(const CPrinterHandle&) = delete;
    CPrinterHandle& operator=(const CPrinterHandle&) = delete;

    HANDLE* Out() { return &m_hPrinter; }
    HANDLE Get() const { return m_hPrinter; }

private:
    HANDLE m_hPrinter = nullptr;
};

} // namespace

DWORD CDevice::GetPrinterInfo(CPrinterInfo& info) const {
    CPrinterHandle printer;
    if (!OpenPrinterA(const_cast<char*>(m_strPrinterName.c_str()), printer.Out(), nullptr)) {
        const DWORD dwError = GetLastError();
        DebugTrace("CDevice::CDevice() : GetPrinterInfo() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    DWORD dwNeeded = 0;
    if (!GetPrinterA(printer.Get(), 2, nullptr, 0, &dwNeeded) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        const DWORD dwError = GetLastError();
        DebugTrace("CDevice::CDevice() : GetPrinter(0) failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    std::unique_ptr<CPrinterInfo> pReturn;
    try {
        pReturn.reset(new CPrinterInfo(dwNeeded));
    } catch (const std::bad_alloc&) {
        DebugTrace("CDevice::CDevice() : Unable to allocate pReturn\n");
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const CPrinterInfo::CExcep& e) {
        DebugTrace("CDevice::CDevice() : Unable to construct pReturn. GetLastError() = %d\n",
                   static_cast<int>(e.GetError()));
        return e.GetError();
    }
    if (!GetPrinterA(printer.Get(), 2, pReturn->GetBuffer(), static_cast<DWORD>(pReturn->GetSize()),
                     &dwNeeded)) {
        const DWORD dwError = GetLastError();
        DebugTrace("CDevice::CDevice() : GetPrinter(1) failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    try {
        info = *pReturn;
    } catch (const CPrinterInfo::CExcep& e) {
        DebugTrace("CDevice::CDevice() : Unable to copy pReturn. GetLastError() = %d\n",
                   static_cast<int>(e.GetError()));
        return e.GetError();
    }
    return ERROR_SUCCESS;
}

DWORD CDevice::GetPrinterData(HANDLE hPrinter, const char* pszValueName, std::string& strValue) {
    DWORD dwType = 0;
    DWORD dwNeeded = 0;
    DWORD dwError =
        ::GetPrinterDataA(hPrinter, const_cast<char*>(pszValueName), &dwType, nullptr, 0, &dwNeeded);
    if (dwError == ERROR_MORE_DATA || dwError == ERROR_SUCCESS) {
        std::vector<BYTE> buffer(dwNeeded + 1, 0);
        dwError = ::GetPrinterDataA(hPrinter, const_cast<char*>(pszValueName), &dwType, buffer.data(),
                                    dwNeeded, &dwNeeded);
        if (dwError == ERROR_SUCCESS) {
            strValue.assign(reinterpret_cast<const char*>(buffer.data()));
            return ERROR_SUCCESS;
        }
    }
    DebugTrace("CDevice::GetPrinterData() : GetPrinterData() failed. GetLastError() = %d\n",
               static_cast<int>(dwError));
    return dwError;
}
