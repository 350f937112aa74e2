// The device of a printer on a network port. It polls the printer's status
// once a second, reads its information on request and passes Cancel and
// Resume on, each through the print path's objects for the port when they
// exist and by a PJL exchange with the printer otherwise.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "app/printpath/print_path_objects.h"
#include "devices/threads/polling_device.h"
#include "framework/unique_handle.h"
#include "framework/unique_view.h"

class CLanThread;

class CLanDevice : public CPollingDevice {
public:
    CLanDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
               const char* pszLink);

    DWORD ReadStatus(CDeviceStatus* pStatus) override;
    DWORD ReadInfo(DEVICE_INFO* pInfo) override;
    DWORD OnCancel() override;
    DWORD OnResume() override;
    void PollStatus() override;

    // The address and TCP port of a network port, from the port monitor on
    // Windows 2000 and later, from the port settings before.
    static DWORD GetPortInfo2K(const std::string& strPort, std::string& strIpAddress, DWORD& dwTcpPort);
    static DWORD GetPortInfoNt(const std::string& strPort, std::string& strIpAddress, DWORD& dwTcpPort);
    static DWORD GetPortInfo9x(const std::string& strPort, std::string& strIpAddress, DWORD& dwTcpPort);
    static void MakeLink(std::string& strLink, const std::string& strIpAddress, DWORD dwTcpPort);
    // Runs an exchange on its own thread and waits for it: on the polling
    // thread plainly, on any other as a nested loop that keeps the caller's
    // windows answering. Returns the exchange's result, or
    // ERROR_OPERATION_ABORTED, leaving the exchange to its thread, when the
    // device stops or the nested loop is ended.
    static DWORD ReadFromDevice(const std::shared_ptr<CLanThread>& pThread, bool bPollingThread);

    // The record a device shows until its first successful read.
    static CDeviceStatus StartupRecord();
    // The record that replaces the status while the printer does not answer.
    static CDeviceStatus NoAnswerRecord();

    DWORD ReadStatus9100(CDeviceStatus* pStatus);
    DWORD OnCancel9100();
    DWORD OnResume9100();

private:
    // Shows the start-up record: the polling thread reads the printer at
    // once, so the caller never waits for a printer here.
    DWORD OnStart() override;

    // The print path's objects for the port, opened for one request only:
    // requests run on the polling thread and the user-interface thread at
    // once, so each keeps its handles to itself and closes them on the way out.
    DWORD OpenMutexOnPort(CUniqueHandle& hMutex) const;
    DWORD OpenSharedMemory(CUniqueHandle& hMapping, CUniqueView& view) const;
    // Cancel or Resume: the print path's console event when it listens,
    // otherwise the printer by PJL.
    DWORD PassOn(printpath::ConsoleRequest request, DWORD (CLanDevice::*pfnByPjl)(),
                 const char* pszOperation);

    // The port's mutex, then one exchange of the request thread TThread,
    // whose answer it copies into pData.
    template <typename TThread, typename TData> DWORD Exchange(const char* pszCaller, TData* pData);
    template <typename TThread> DWORD RequestReplyCode(const char* pszCaller);

    // Until the first poll has read the printer, a failed read leaves the
    // start-up record.
    std::atomic<bool> m_bFirstRead{false};
    // Last: destroyed first, it ends the polling thread (polling_device.h).
    CStatusPoller m_Poller;
};
