#include "monitor/printers.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <winspool.h>

#include "app/registry.h"
#include "app/trace.h"
#include "monitor/device_source.h"

namespace {

// Driver names of the family, compared with letter case.
const char* const kFamilyDrivers[] = {"Kestrel 2004", "Kestrel 2005", "Kestrel 2006", "Kestrel 2006 WiFi"};

bool IsFamilyDriver(const char* pszDriverName) {
    return pszDriverName &&
           std::any_of(std::begin(kFamilyDrivers), std::end(kFamilyDrivers),
                       [&](const char* pszFamily) { return std::strcmp(pszDriverName, pszFamily) == 0; });
}

} // namespace

CPrinters::CPrinters(CStatusWindowSource& windowSource, BOOL bUseNyStatusMonitor)
    : m_windowSource(windowSource), m_bUseNyStatusMonitor(bUseNyStatusMonitor) {}

CPrinters::~CPrinters() {
    RemoveAllPrinters();
}

DWORD CPrinters::GetPrinterNames(std::vector<std::string>& names) {
    names.clear();
    DWORD dwNeeded = 0;
    DWORD dwReturned = 0;
    if (!EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &dwNeeded, &dwReturned)) {
        const DWORD dwError = GetLastError();
        if (dwError != ERROR_INSUFFICIENT_BUFFER) {
            DebugTrace("CPrinters::GetPrinterNames() : EnumPrinters() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
            return dwError;
        }
    }
    if (dwNeeded == 0)
        return ERROR_SUCCESS;
    // A printer added between the two calls makes the list longer than the
    // size asked for: ask again with the size the second call reports.
    constexpr int kAttempts = 3;
    std::unique_ptr<BYTE[]> pBuffer;
    for (int nAttempt = 1;; ++nAttempt) {
        pBuffer.reset(new (std::nothrow) BYTE[dwNeeded]());
        if (!pBuffer) {
            DebugTrace("CPrinters::GetPrinterNames() : Unable to allocate pBuffer. Required size = %d\n",
                       static_cast<int>(dwNeeded));
            return ERROR_NOT_ENOUGH_MEMORY;
        }
        if (EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, pBuffer.get(), dwNeeded, &dwNeeded, &dwReturned))
            break;
        const DWORD dwError = GetLastError();
        DebugTrace("CPrinters::GetPrinterNames() : EnumPrinters() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        if (dwError != ERROR_INSUFFICIENT_BUFFER || nAttempt == kAttempts)
            return dwError;
    }
    const PRINTER_INFO_2A* pPrinters = reinterpret_cast<const PRINTER_INFO_2A*>(pBuffer.get());
    for (DWORD i = 0; i < dwReturned; ++i) {
        if (IsFamilyDriver(pPrinters[i].pDriverName) && pPrinters[i].pPrinterName)
            names.emplace_back(pPrinters[i].pPrinterName);
    }
    return ERROR_SUCCESS;
}

DWORD CPrinters::EnumeratePrinterNames(std::vector<std::string>& names) const {
    return GetPrinterNames(names);
}

DWORD CPrinters::Synchronise(CDeviceSource& devices) {
    std::vector<std::string> names;
    const DWORD dwError = EnumeratePrinterNames(names);
    if (dwError != ERROR_SUCCESS) {
        DebugTrace("CPrinters::Synchronise() : GetPrinterNames() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }

    std::vector<std::string> removed;
    m_map.ForEach([&](const std::string& strName, std::unique_ptr<CDeviceControl>&) {
        if (std::find(names.begin(), names.end(), strName) == names.end())
            removed.push_back(strName);
    });
    RemovePrinters(removed);

    for (const std::string& strName : names) {
        std::unique_ptr<CDeviceControl>* ppControl = m_map.Lookup(strName);
        if (!ppControl) {
            std::unique_ptr<CDeviceControl> pControl = OnAddPrinter(strName, devices);
            if (pControl)
                m_map.SetAt(strName, std::move(pControl));
            else
                DebugTrace("CPrinters::Synchronise() : OnAddPrinter() returns NULL\n");
            continue;
        }
        // A connected device whose link changed keeps its old link.
        CDeviceControl& control = **ppControl;
        const BOOL bConnected = control.IsConnected();
        std::string strLink;
        const BOOL bLink = devices.GetLink(control.GetPortName(), strLink);
        if (!bConnected && bLink)
            control.Connect(strLink.c_str());
        else if (bConnected && !bLink)
            control.Disconnect();
    }
    return ERROR_SUCCESS;
}

std::unique_ptr<CDeviceControl> CPrinters::OnAddPrinter(const std::string& strPrinterName,
                                                        CDeviceSource& devices) {
    DebugTrace("CPrinters::OnAddPrinter() : \"%s\"\n", strPrinterName.c_str());
    std::string strPort;
    const LONG lError = CRegistry::GetPort(strPrinterName, strPort);
    if (lError != ERROR_SUCCESS) {
        DebugTrace("CPrinters::OnAddPrinter() : GetPort() failed. GetLastError() = %d\n",
                   static_cast<int>(lError));
        return nullptr;
    }
    DebugTrace("CPrinters::OnAddPrinter() : Port = \"%s\"\n", strPort.c_str());
    std::string strLink;
    const BOOL bLink = devices.GetLink(strPort, strLink);
    try {
        return std::make_unique<CDeviceControl>(m_hMonitor, m_windowSource, devices, m_bUseNyStatusMonitor,
                                                strPrinterName.c_str(), strPort.c_str(),
                                                bLink ? strLink.c_str() : nullptr);
    } catch (const std::bad_alloc&) {
        DebugTrace("CPrinters::OnAddPrinter() : Unable to allocate CDeviceControl object\n");
    } catch (const CDeviceControl::CExcept& e) {
        DebugTrace(
            "CPrinters::OnAddPrinter() : Unable to construct CDeviceControl object. GetLastError() = %d\n",
            static_cast<int>(e.GetError()));
    }
    return nullptr;
}

void CPrinters::OnRemovePrinter(std::unique_ptr<CDeviceControl> pControl) {
    if (!pControl)
        return;
    DebugTrace("CPrinters::OnRemovePrinter() : \"%s\"\n", pControl->GetPrinterName().c_str());
    pControl.reset();
}

void CPrinters::RemoveAllPrinters() {
    std::vector<std::string> names;
    m_map.ForEach(
        [&](const std::string& strName, std::unique_ptr<CDeviceControl>&) { names.push_back(strName); });
    RemovePrinters(names);
}

void CPrinters::RemovePrinters(const std::vector<std::string>& names) {
    // A device may be waiting for a printer that never answers: asked to
    // stop one after another, each would hold the next for its time-outs.
    for (const std::string& strName : names) {
        if (std::unique_ptr<CDeviceControl>* ppControl = m_map.Lookup(strName))
            (*ppControl)->SignalStop();
    }
    for (const std::string& strName : names) {
        if (std::unique_ptr<CDeviceControl>* ppControl = m_map.Lookup(strName))
            OnRemovePrinter(std::move(*ppControl));
        m_map.RemoveKey(strName);
    }
}

BOOL CPrinters::OnQuerySuspend() {
    DebugTrace("CPrinters::OnQuerySuspend() : m_map.GetCount() = %d\n", static_cast<int>(m_map.GetCount()));
    BOOL bCanSuspend = TRUE;
    m_map.ForEach([&](const std::string& strName, const std::unique_ptr<CDeviceControl>& pControl) {
        const BOOL bPrinterCanSuspend = pControl->CanSuspend();
        DebugTrace("CPrinters::OnQuerySuspend() : %s : %s\n", strName.c_str(),
                   bPrinterCanSuspend ? "TRUE" : "FALSE");
        if (!bPrinterCanSuspend)
            bCanSuspend = FALSE;
    });
    return bCanSuspend;
}

void CPrinters::ShowWindows(const char* pszPrinterName) {
    if (pszPrinterName) {
        m_map.ForEach([&](const std::string& strName, std::unique_ptr<CDeviceControl>& pControl) {
            if (strName == pszPrinterName)
                pControl->ShowDialog(SW_SHOW);
        });
        return;
    }
    const CDeviceControl* pPrevious = nullptr;
    m_map.ForEach([&](const std::string&, std::unique_ptr<CDeviceControl>& pControl) {
        if (pPrevious) {
            const POINT ptPrevious = pPrevious->GetDialogPosition();
            pControl->ShowDialog(SW_SHOW, &ptPrevious);
        } else {
            pControl->ShowDialog(SW_SHOW);
        }
        pPrevious = pControl.get();
    });
}
