// The abstract status source of one monitored printer. Everything above the
// transports talks to a printer only through these operations.
#pragma once

#include <memory>
#include <string>

#include <windows.h>

#include "monitor/device_info.h"
#include "monitor/device_status.h"
#include "monitor/device_notify.h"
#include "monitor/status_change.h"
#include "monitor/printer_info.h"

class CConsole;

class CDevice {
public:
    // Thrown by the constructor when the console it asked for cannot be opened.
    class CExcept {};

    CDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
            const char* pszLink, BOOL bWithConsole);
    virtual ~CDevice();

    CDevice(const CDevice&) = delete;
    CDevice& operator=(const CDevice&) = delete;

    virtual BOOL IsConnected() const;
    virtual void OnConnected(const char* pszLink);
    virtual void OnDisconnected();
    virtual BOOL IsError(DWORD* pdwClass) const = 0;
    virtual DWORD GetStatusCode() const = 0;
    virtual BOOL IsPrinting(BOOL* pbFlag) const = 0;
    virtual BYTE GetPrintPhase() const = 0;
    virtual BYTE GetWifiState() const = 0;
    virtual BYTE GetProgress() const = 0;
    virtual BYTE GetDeviceState() const = 0;
    virtual WORD GetProductId() const = 0;
    // A copy of the whole current record, taken at once under the record's lock.
    virtual CDeviceStatus GetCurrentStatus() const = 0;
    virtual DWORD ReadStatus(CDeviceStatus* pStatus) = 0;
    // ERROR_NOT_SUPPORTED for a device without an information block or an
    // internal log.
    virtual DWORD ReadInfo(DEVICE_INFO* pInfo);
    virtual DWORD GetNumberOfLogs(WORD* pwCount);
    virtual DWORD GetLogs(WORD wIndex, DEVICE_LOG* pLog);
    virtual DWORD OnCancel() = 0;
    virtual DWORD OnResume() = 0;
    virtual void PollStatus() = 0;
    // Asks the device to end its polling and abandon any request under way,
    // without waiting; the destructor then waits. Many devices can so be
    // stopped in the time of one.
    virtual void SignalStop();

    BOOL OpenConsole();
    void CloseConsole();

    // Removes every family device that the system lists with the class
    // "Unknown" (installation_check.cpp). TRUE when one was removed.
    static BOOL CheckPrintersInstallation();

    BOOL IsKestrelModel() const;
    // Reads the printer's spooler block (PRINTER_INFO_2) into pInfo.
    DWORD GetPrinterInfo(CPrinterInfo& info) const;
    static DWORD GetPrinterData(HANDLE hPrinter, const char* pszValueName, std::string& strValue);

    const std::string& GetPortName() const { return m_strPort; }
    const std::string& GetPrinterName() const { return m_strPrinterName; }
    const std::string& GetLink() const { return m_strLink; }

protected:
    // Tells the controller what changed between two valid records, in order.
    void NotifyChanges(const CDeviceStatus& previous, const CDeviceStatus& fresh);
    void Notify(StatusNotification notification);
    // Cancel or Resume through the port's console (pfnReply is
    // CConsole::ReplyClose or ReplyResume); pszCaller names the request in the
    // trace of a device without a console.
    DWORD ReplyOnConsole(DWORD (CConsole::*pfnReply)(), const char* pszCaller);

    CDeviceNotify* m_pDeviceControl;
    std::unique_ptr<CConsole> m_pConsole;
    std::string m_strPort;
    std::string m_strPrinterName;
    std::string m_strLink;
    BOOL m_bConnected;
};
