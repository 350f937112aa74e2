#include "monitor/device_control.h"

#include <cstdio>
#include <memory>
#include <new>

#include <mbstring.h>
#include <winspool.h>

#include "app/printpath/port_config.h"
#include "app/trace.h"
#include "monitor/device_source.h"
#include "monitor/dialog_monitor.h"
#include "monitor/printer_handle.h"
#include "monitor/spooler_ports.h"
#include "monitor/status_messages.h"
#include "monitor/status_window_source.h"
#include "monitor/window_cascade.h"

namespace {

// The port monitors of the family's print path.
const char* const kFamilyMonitors[] = {printpath::kTcpIpMonitorName, "NyraPM.DLL", "NyraPM9x.DLL"};

const unsigned char* Mbs(const char* psz) {
    return reinterpret_cast<const unsigned char*>(psz);
}

} // namespace

CDeviceControl::CDeviceControl(HWND hParentWnd, CStatusWindowSource& windowSource,
                               CDeviceSource& deviceSource, BOOL bUseNyStatusMonitor,
                               const char* pszPrinterName, const char* pszPort, const char* pszLink)
    : m_hParentWnd(hParentWnd) {
    DebugTrace("ENTER CDeviceControl::CDeviceControl()\n");
    m_nPortType = deviceSource.GetPortType(pszPort);
    m_bPrintPath = m_nPortType == kPortUsb && bUseNyStatusMonitor;
    if (m_bPrintPath)
        DebugTrace("CDeviceControl::CDeviceControl() : FOR DEBUG ONLY : USE NYSATTUSMONITOR\n");
    if (m_nPortType == kPortDefault)
        DebugTrace("CDeviceControl::CDeviceControl() : Port \"%s\" unmatched. Port type = %d\n", pszPort,
                   m_nPortType);
    DWORD dwError = ERROR_SUCCESS;
    try {
        m_pDevice = deviceSource.CreateDevice(m_nPortType, bUseNyStatusMonitor, this, pszPrinterName, pszPort,
                                              pszLink);
    } catch (const std::bad_alloc&) {
        DebugTrace("CDeviceControl::CDeviceControl() : Unable to allocate CDevice object\n");
        dwError = ERROR_NOT_ENOUGH_MEMORY;
    } catch (const CDevice::CExcept&) {
        DebugTrace("CDeviceControl::CDeviceControl() : Unable to construct CDevice object\n");
        dwError = ERROR_NOT_ENOUGH_MEMORY;
    }
    if (dwError != ERROR_SUCCESS)
        throw CExcept(dwError);

    DebugTrace("CDeviceControl::CDeviceControl() : m_pDlg = new CNyAgentDlg\n");
    try {
        m_pDlg = windowSource.CreateStatusWindow(this);
    } catch (const std::bad_alloc&) {
        DebugTrace("CDeviceControl::CDeviceControl() : Unable to allocate CNyAgentDlg object\n");
    }
    if (m_pDlg && !m_pDlg->Create(m_hParentWnd)) {
        DebugTrace("CDeviceControl::CDeviceControl() : Create() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        m_hDlg = nullptr;
        m_pDlg.reset();
    }
    DebugTrace("EXIT CDeviceControl::CDeviceControl()\n");
}

CDeviceControl::~CDeviceControl() {
    m_hDlg = nullptr;
    if (m_pDlg) {
        m_pDlg->DestroyWindow();
        m_pDlg.reset();
    }
    m_pDevice.reset();
}

BOOL CDeviceControl::IsUsbPortName(const char* pszPort) {
    int nPort = 0;
    return std::sscanf(pszPort, "USB%03d", &nPort) == 1;
}

int CDeviceControl::GetPortType(const char* pszPort) {
    if (IsUsbPortName(pszPort))
        return kPortUsb;
    CSpoolerPorts ports;
    if (ports.Enumerate() != ERROR_SUCCESS)
        return kPortDefault;
    return ports.GetPortType(pszPort);
}

BOOL CDeviceControl::IsMonitoredPort(const char* pszPortName, const char* pszMonitorName,
                                     const char* pszPort) {
    if (!pszPortName || !pszMonitorName || !_mbsstr(Mbs(pszPortName), Mbs(pszPort)))
        return FALSE;
    for (const char* pszMonitor : kFamilyMonitors) {
        if (_mbsicmp(Mbs(pszMonitorName), Mbs(pszMonitor)) == 0)
            return _mbsicmp(Mbs(pszPortName), Mbs(pszPort)) == 0;
    }
    return FALSE;
}

void CDeviceControl::Post(UINT nMessage) const {
    if (HWND hDlg = m_hDlg)
        ::PostMessageA(hDlg, nMessage, 0, 0);
    // Whatever refreshes the status window changes the monitor window's status board too.
    if (nMessage == WM_NY_REFRESH && m_hParentWnd)
        ::PostMessageA(m_hParentWnd, CDialogMonitor::kMessageStatusChanged, 0,
                       reinterpret_cast<LPARAM>(this));
}

void CDeviceControl::Connect(const char* pszLink) {
    m_pDevice->OnConnected(pszLink);
    Post(WM_NY_REFRESH);
    Post(WM_NY_CONNECTED);
}

void CDeviceControl::Disconnect() {
    Post(WM_NY_DISCONNECTED);
    m_pDevice->OnDisconnected();
    Post(WM_NY_REFRESH);
}

void CDeviceControl::OnErrorRaised() {
    Post(WM_NY_ERROR_RAISED);
    Post(WM_NY_REFRESH);
}

void CDeviceControl::OnErrorCleared() {
    Post(WM_NY_ERROR_CLEARED);
    Post(WM_NY_REFRESH);
}

void CDeviceControl::OnStatusChanged() {
    Post(WM_NY_REFRESH);
    Post(WM_NY_STATUS_CHANGED);
}

void CDeviceControl::OnPrintingStarted() {
    Post(WM_NY_REFRESH);
    Post(WM_NY_PRINTING_STARTED);
}

void CDeviceControl::OnPrintingEnded() {
    Post(WM_NY_PRINTING_ENDED);
    Post(WM_NY_REFRESH);
}

void CDeviceControl::RefreshDisplay() {
    Post(WM_NY_REFRESH);
}

HWND CDeviceControl::GetDialogWindow() const {
    return m_pDlg ? m_pDlg->GetSafeHwnd() : nullptr;
}

POINT CDeviceControl::GetDialogPosition() const {
    RECT rcWindow = {};
    if (HWND hDlg = GetDialogWindow())
        GetWindowRect(hDlg, &rcWindow);
    return {rcWindow.left, rcWindow.top};
}

void CDeviceControl::ShowDialog(int nCmdShow, const POINT* pPoint) {
    const HWND hDlg = GetDialogWindow();
    if (!hDlg)
        return;
    if (pPoint) {
        RECT rcWorkArea = {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWorkArea, 0);
        RECT rcWindow = {};
        GetWindowRect(hDlg, &rcWindow);
        const CCascadePoint ptTarget = CascadeFrom({pPoint->x, pPoint->y}, rcWorkArea.right - rcWorkArea.left,
                                                   rcWorkArea.bottom - rcWorkArea.top);
        MoveWindow(hDlg, ptTarget.x, ptTarget.y, rcWindow.right - rcWindow.left,
                   rcWindow.bottom - rcWindow.top, TRUE);
    }
    // Topmost and at once not topmost: raised above the other windows without
    // staying pinned there.
    SetWindowPos(hDlg, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(hDlg, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SendMessageA(hDlg, WM_NY_OPENED_BY_USER, 0, 0);
    ShowWindow(hDlg, nCmdShow);
}

void CDeviceControl::ReadDeviceInformation(CDeviceInformation& information) const {
    information.m_bPrinterInfo = FALSE;
    information.m_bStatus = FALSE;
    information.m_bInfo = FALSE;
    information.m_strFirmwareVersion.clear();
    information.m_strSerialNumber.clear();

    if (m_pDevice->GetPrinterInfo(information.m_PrinterInfo) == ERROR_SUCCESS)
        information.m_bPrinterInfo = TRUE;
    else
        DebugTrace("CDeviceControl::ReadDeviceInformation() : GetPrinterInfo() returns NULL\n");

    DWORD dwError = m_pDevice->ReadStatus(&information.m_Status);
    if (dwError == ERROR_SUCCESS)
        information.m_bStatus = TRUE;
    else
        DebugTrace("CDeviceControl::ReadDeviceInformation() : GetStatus() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));

    information.m_Info = {};
    dwError = m_pDevice->ReadInfo(&information.m_Info);
    if (dwError == ERROR_SUCCESS)
        information.m_bInfo = TRUE;
    else
        DebugTrace("CDeviceControl::ReadDeviceInformation() : ReadInfo() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));

    if (information.m_bInfo || information.m_bStatus)
        return;
    // The printer answered nothing: what the driver left in the spooler's printer data stands in.
    CPrinterHandle printer;
    if (!OpenPrinterA(const_cast<char*>(GetPrinterName().c_str()), printer.Receive(), nullptr)) {
        DebugTrace("CDeviceControl::OnInitDialog() : OpenPrinter() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return;
    }
    dwError = CDevice::GetPrinterData(printer.Get(), "FirmwareVersion", information.m_strFirmwareVersion);
    if (dwError != ERROR_SUCCESS) {
        DebugTrace(
            "CDeviceControl::OnInitDialog() : GetPrinterData(FirmwareVersion) failed. GetLastError() = %d\n",
            static_cast<int>(dwError));
        return;
    }
    dwError = CDevice::GetPrinterData(printer.Get(), "SerialNumber", information.m_strSerialNumber);
    if (dwError != ERROR_SUCCESS)
        DebugTrace(
            "CDeviceControl::OnInitDialog() : GetPrinterData(SerialNumber) failed. GetLastError() = %d\n",
            static_cast<int>(dwError));
}
