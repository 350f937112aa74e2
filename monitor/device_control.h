// The controller of one monitored printer. It chooses from the printer's port
// which device watches the printer, owns that device and the printer's status
// window, and turns every notification of the device into messages posted to
// the window, so that what the polling thread reports reaches the user
// interface through the window's queue on the main thread.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include <windows.h>

#include "framework/dialog.h"
#include "framework/error_exception.h"
#include "monitor/device.h"
#include "monitor/device_information.h"
#include "monitor/device_notify.h"

class CDeviceSource;
class CStatusWindowSource;

class CDeviceControl : public CDeviceNotify {
public:
    // Thrown by the constructor when the device cannot be made; carries the error.
    class CExcept : public CErrorException {
    public:
        using CErrorException::CErrorException;
    };

    // Port types.
    static constexpr int kPortDefault = 0;
    static constexpr int kPortUsb = 1;
    static constexpr int kPortNetwork = 2;

    // Makes the device of the port's type (as the device source tells it),
    // then the status window, hidden, with hParentWnd as its parent. A null
    // pszLink starts the device disconnected. Without a status window the
    // printer is still watched.
    CDeviceControl(HWND hParentWnd, CStatusWindowSource& windowSource, CDeviceSource& deviceSource,
                   BOOL bUseNyStatusMonitor, const char* pszPrinterName, const char* pszPort,
                   const char* pszLink);
    // Destroys the status window first, then the device.
    ~CDeviceControl() override;

    CDeviceControl(const CDeviceControl&) = delete;
    CDeviceControl& operator=(const CDeviceControl&) = delete;

    // kPortUsb for a name that reads as "USB%03d", kPortNetwork for a port of
    // the family's port monitors in the spooler's list, kPortDefault otherwise.
    // Asks the spooler for its ports at each call; the constructor takes the
    // type from the device source, which keeps the answers.
    static int GetPortType(const char* pszPort);
    // The name reads as "USB%03d": a USB port, whatever the spooler says.
    static BOOL IsUsbPortName(const char* pszPort);
    // A spooler port (name and monitor) is the network port pszPort.
    static BOOL IsMonitoredPort(const char* pszPortName, const char* pszMonitorName, const char* pszPort);

    // From the printer set, on the main thread.
    void Connect(const char* pszLink);
    void Disconnect();
    // Asks the device to stop polling and abandon its request under way,
    // without waiting: the destructor waits for it afterwards.
    void SignalStop() { m_pDevice->SignalStop(); }
    // From the status window as it initialises, before it shows the device's
    // record: what the polling thread tells from then on reaches the window,
    // and what it read before is in the record the window shows.
    void AttachWindow(HWND hDlg) { m_hDlg = hDlg; }

    // From the device's polling thread: each only posts to the status window.
    void OnErrorRaised() override;
    void OnErrorCleared() override;
    void OnStatusChanged() override;
    void OnPrintingStarted() override;
    void OnPrintingEnded() override;
    void RefreshDisplay() override;

    BOOL IsConnected() const { return m_pDevice->IsConnected(); }
    BOOL IsError() const { return m_pDevice->IsError(nullptr); }
    BOOL IsPrinting() const { return m_pDevice->IsPrinting(nullptr); }
    const std::string& GetPrinterName() const { return m_pDevice->GetPrinterName(); }
    const std::string& GetPortName() const { return m_pDevice->GetPortName(); }
    // kPortDefault, kPortUsb or kPortNetwork, as decided at construction.
    int GetPortType() const { return m_nPortType; }
    // A USB printer watched through the print path's shared memory.
    BOOL IsWatchedThroughPrintPath() const { return m_bPrintPath; }
    // The printer's internal log, for the information dialog's log export.
    DWORD GetNumberOfLogs(WORD* pwCount) const { return m_pDevice->GetNumberOfLogs(pwCount); }
    DWORD GetLogs(WORD wIndex, DEVICE_LOG* pLog) const { return m_pDevice->GetLogs(wIndex, pLog); }
    // The printer's device, for the status window's display and commands.
    CDevice& GetDevice() const { return *m_pDevice; }
    // The system may suspend while the printer does not print.
    BOOL CanSuspend() const { return !IsPrinting(); }

    // The status window's top-left corner on the screen; 0,0 without a window.
    POINT GetDialogPosition() const;
    // Shows the status window above the others. With pPoint, the window first
    // moves 20 pixels from pPoint toward the middle of the work area.
    void ShowDialog(int nCmdShow, const POINT* pPoint = nullptr);
    // Everything the device information dialog shows; the spooler's firmware
    // version and serial number stand in when the printer answers nothing.
    void ReadDeviceInformation(CDeviceInformation& information) const;

private:
    void Post(UINT nMessage) const;
    // The status window as the main thread sees it: null once it is gone,
    // also when it went with its parent.
    HWND GetDialogWindow() const;

    std::unique_ptr<CDevice> m_pDevice;
    std::unique_ptr<CDialog> m_pDlg;
    HWND m_hParentWnd;
    int m_nPortType = kPortDefault;
    BOOL m_bPrintPath = FALSE;
    // The status window's handle as the polling thread reads it: set by the
    // window's initialisation, cleared before the window is destroyed.
    std::atomic<HWND> m_hDlg{nullptr};
};
