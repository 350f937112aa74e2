// The print path's side of one spooler port: the status mutex, the console
// Cancel and Resume events and the status mappings, each under every name an
// agent may use for it, and the publishing of the port's status record.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "framework/unique_handle.h"
#include "framework/unique_view.h"
#include "monitor/device_status.h"

class CPortPublisher {
public:
    explicit CPortPublisher(std::string strPort);
    CPortPublisher(const CPortPublisher&) = delete;
    CPortPublisher& operator=(const CPortPublisher&) = delete;

    // Creates the port's objects, or opens those that exist already, as a
    // restarted print path does: a status mapping that an agent still holds
    // from an earlier publisher is taken over. Returns 0 or the Windows error code.
    DWORD Open();

    // Writes the record into every status mapping while holding every form of
    // the status mutex. Returns WAIT_TIMEOUT, publishing nothing, when an
    // agent kept the mutex for dwTimeoutMs; 0 or another error code otherwise.
    DWORD Publish(const CDeviceStatus& status, DWORD dwTimeoutMs);

    const std::string& Port() const { return m_strPort; }
    // Auto-reset events that an agent signals for Cancel and Resume.
    HANDLE CancelEvent() const { return m_hCancelEvent.Get(); }
    HANDLE ResumeEvent() const { return m_hResumeEvent.Get(); }

private:
    std::string m_strPort;
    std::vector<CUniqueHandle> m_mutexes;
    std::vector<CUniqueHandle> m_mappings;
    std::vector<CUniqueView> m_views;
    CUniqueHandle m_hCancelEvent;
    CUniqueHandle m_hResumeEvent;
};
