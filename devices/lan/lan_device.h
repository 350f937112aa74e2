// The device of a printer on a network port. It polls the printer's status
// once a second, reads its information on request and passes Cancel and
// Resume on, each through the print path's objects for the port when they
// exist and by a PJL exchange with the printer otherwise.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "devices/threads/status_thread.h"
#include "framework/unique_handle.h"
#include "framework/unique_view.h"
#include "monitor/status_device.h"

class CLanThread;

class CLanDevice : public CStatusDevice {
public:
    // Holds the port's status mutex for the length of one PJL exchange, when
    // the print path has created it; holds nothing otherwise.
    class CClocker {
    public:
        explicit CClocker(const std::string& strPort);
        virtual ~CClocker();
        CClocker(const CClocker&) = delete;
        CClocker& operator=(const CClocker&) = delete;

    private:
        CUniqueHandle m_hMutex;
    };

    CLanDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
               const char* pszLink);
    ~CLanDevice() override;

    void OnConnected(const char* pszLink) override;
    void OnDisconnected() override;
    DWORD ReadStatus(CDeviceStatus* pStatus) override;
    DWORD ReadInfo(DEVICE_INFO* pInfo) override;
    DWORD GetNumberOfLogs(WORD* pwCount) override;
    DWORD GetLogs(WORD wIndex, DEVICE_LOG* pLog) override;
    DWORD OnCancel() override;
    DWORD OnResume() override;
    void PollStatus() override;

    // The address and TCP port of a network port, from the port monitor on
    // Windows 2000 and later, from the port settings before.
    static DWORD GetPortInfo2K(const std::string& strPort, std::string& strIpAddress, DWORD& dwTcpPort);
    static DWORD GetPortInfoNt(const std::string& strPort, std::string& strIpAddress, DWORD& dwTcpPort);
    static DWORD GetPortInfo9x(const std::string& strPort, std::string& strIpAddress, DWORD& dwTcpPort);
    static void MakeLink(std::string& strLink, const std::string& strIpAddress, DWORD dwTcpPort);
    // Runs an exchange on its own thread and waits for it, keeping the
    // caller's messages flowing; returns the exchange's result.
    static DWORD ReadFromDevice(CLanThread* pThread);

    // The record a device shows until its first successful read.
    static CDeviceStatus StartupRecord();
    // The record that replaces the status while the printer does not answer.
    static CDeviceStatus NoAnswerRecord();

    DWORD ReadStatus9100(CDeviceStatus* pStatus);
    DWORD OnCancel9100();
    DWORD OnResume9100();

private:
    DWORD Start();
    void Stop();

    // The print path's objects for the port, opened for one request only:
    // requests run on the polling thread and the user-interface thread at
    // once, so each keeps its handles to itself and closes them on the way out.
    DWORD OpenMutexOnPort(CUniqueHandle& hMutex) const;
    DWORD OpenSharedMemory(CUniqueHandle& hMapping, CUniqueView& view) const;
    DWORD OpenCancelEvent(CUniqueHandle& hEvent) const;
    DWORD OpenResumeEvent(CUniqueHandle& hEvent) const;
    static DWORD OpenConsoleEvent(const char* pszOperation, const std::string& strName,
                                  CUniqueHandle& hEvent);
    DWORD PassOn(DWORD (CLanDevice::*pfnOpenEvent)(CUniqueHandle&) const, DWORD (CLanDevice::*pfnByPjl)(),
                 const char* pszOperation);

    template <typename TThread> DWORD RunExchange(std::unique_ptr<TThread>& pThread, const char* pszCaller);
    template <typename TThread> DWORD RequestReplyCode(const char* pszCaller);

    std::unique_ptr<CStatusThread> m_pStatusThread;
};
