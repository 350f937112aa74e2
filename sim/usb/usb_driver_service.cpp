#include "sim/usb/usb_driver_service.h"

#include "app/trace.h"

namespace {

constexpr DWORD kPollMs = 10;

// Owner of a service control manager handle: closes it once, moves but never copies.
class CServiceHandle {
public:
    explicit CServiceHandle(SC_HANDLE hHandle = nullptr) : m_hHandle(hHandle) {}
    ~CServiceHandle() {
        if (m_hHandle)
            CloseServiceHandle(m_hHandle);
    }
    CServiceHandle(const CServiceHandle&) = delete;
    CServiceHandle& operator=(const CServiceHandle&) = delete;
    CServiceHandle(CServiceHandle&& other) noexcept : m_hHandle(other.m_hHandle) {
        other.m_hHandle = nullptr;
    }
    CServiceHandle& operator=(CServiceHandle&&) = delete;

    SC_HANDLE Get() const { return m_hHandle; }
    explicit operator bool() const { return m_hHandle != nullptr; }

private:
    SC_HANDLE m_hHandle;
};

DWORD TraceFailure(const char* pszOperation, const char* pszCall, DWORD dwError) {
    DebugTrace("CUsbDriverService::%s() : %s() failed. GetLastError() = %d\n", pszOperation, pszCall,
               static_cast<int>(dwError));
    return dwError;
}

// Opens the driver's service with the access; on failure the handle is null
// and dwError holds the code.
CServiceHandle OpenDriverService(const char* pszOperation, DWORD dwAccess, DWORD& dwError) {
    dwError = 0;
    CServiceHandle hManager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!hManager) {
        dwError = TraceFailure(pszOperation, "OpenSCManager", GetLastError());
        return CServiceHandle();
    }
    CServiceHandle hService(OpenServiceA(hManager.Get(), CUsbDriverService::kServiceName, dwAccess));
    if (!hService) {
        dwError = GetLastError();
        if (dwError != ERROR_SERVICE_DOES_NOT_EXIST)
            TraceFailure(pszOperation, "OpenService", dwError);
    }
    return hService;
}

} // namespace

DWORD CUsbDriverService::Install(const std::string& strImagePath) {
    CServiceHandle hManager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_CREATE_SERVICE));
    if (!hManager)
        return TraceFailure("Install", "OpenSCManager", GetLastError());
    CServiceHandle hService(CreateServiceA(hManager.Get(), kServiceName, kServiceName, SERVICE_ALL_ACCESS,
                                           SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                           strImagePath.c_str(), nullptr, nullptr, nullptr, nullptr,
                                           nullptr));
    if (hService)
        return 0;
    const DWORD dwError = GetLastError();
    if (dwError != ERROR_SERVICE_EXISTS)
        return TraceFailure("Install", "CreateService", dwError);
    const CServiceHandle hExisting(OpenServiceA(hManager.Get(), kServiceName, SERVICE_CHANGE_CONFIG));
    if (!hExisting)
        return TraceFailure("Install", "OpenService", GetLastError());
    if (!ChangeServiceConfigA(hExisting.Get(), SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START,
                              SERVICE_ERROR_NORMAL, strImagePath.c_str(), nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr))
        return TraceFailure("Install", "ChangeServiceConfig", GetLastError());
    return 0;
}

DWORD CUsbDriverService::Start() {
    DWORD dwError = 0;
    const CServiceHandle hService = OpenDriverService("Start", SERVICE_START, dwError);
    if (!hService)
        return dwError;
    if (StartServiceA(hService.Get(), 0, nullptr))
        return 0;
    dwError = GetLastError();
    return dwError == ERROR_SERVICE_ALREADY_RUNNING ? 0 : TraceFailure("Start", "StartService", dwError);
}

DWORD CUsbDriverService::Stop(DWORD dwTimeoutMs) {
    DWORD dwError = 0;
    const CServiceHandle hService = OpenDriverService("Stop", SERVICE_STOP | SERVICE_QUERY_STATUS, dwError);
    if (!hService)
        return dwError == ERROR_SERVICE_DOES_NOT_EXIST ? 0 : dwError;
    SERVICE_STATUS status = {};
    if (!ControlService(hService.Get(), SERVICE_CONTROL_STOP, &status)) {
        dwError = GetLastError();
        return dwError == ERROR_SERVICE_NOT_ACTIVE ? 0 : TraceFailure("Stop", "ControlService", dwError);
    }
    for (DWORD dwWaited = 0; status.dwCurrentState != SERVICE_STOPPED; dwWaited += kPollMs) {
        if (dwWaited >= dwTimeoutMs)
            return TraceFailure("Stop", "QueryServiceStatus", ERROR_SERVICE_REQUEST_TIMEOUT);
        Sleep(kPollMs);
        if (!QueryServiceStatus(hService.Get(), &status))
            return TraceFailure("Stop", "QueryServiceStatus", GetLastError());
    }
    return 0;
}

DWORD CUsbDriverService::Remove() {
    if (const DWORD dwError = Stop())
        return dwError;
    DWORD dwError = 0;
    const CServiceHandle hService = OpenDriverService("Remove", DELETE, dwError);
    if (!hService)
        return dwError == ERROR_SERVICE_DOES_NOT_EXIST ? 0 : dwError;
    if (DeleteService(hService.Get()))
        return 0;
    dwError = GetLastError();
    return dwError == ERROR_SERVICE_MARKED_FOR_DELETE ? 0 : TraceFailure("Remove", "DeleteService", dwError);
}
