#include "sim/port_publisher.h"

#include <cstring>
#include <utility>

#include "app/trace.h"
#include "app/winver.h"
#include "app/printpath/printpath_names.h"
#include "sim/null_dacl.h"

namespace {

// The print path's status mapping: the record at offset 0, the rest unused.
constexpr DWORD kStatusMappingSize = 4096;

// On systems without the global namespace the two forms of a name are one
// name; each object is then created once.
std::vector<std::string> DistinctNames(std::string strFirst, std::string strSecond) {
    std::vector<std::string> names = {std::move(strFirst)};
    if (strSecond != names.front())
        names.push_back(std::move(strSecond));
    return names;
}

DWORD CreateMutexNamed(const std::string& strName, SECURITY_ATTRIBUTES* pAttributes, CUniqueHandle& hMutex) {
    hMutex.Reset(CreateMutexA(pAttributes, FALSE, strName.c_str()));
    if (hMutex)
        return 0;
    DWORD dwError = GetLastError();
    if (dwError == ERROR_ACCESS_DENIED) {
        // Created by someone else under a descriptor that forbids creating it.
        hMutex.Reset(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, strName.c_str()));
        if (hMutex)
            return 0;
        dwError = GetLastError();
    }
    DebugTrace("CPortPublisher::Open() : CreateMutex(%s) failed. GetLastError() = %d\n", strName.c_str(),
               static_cast<int>(dwError));
    return dwError;
}

DWORD CreateEventNamed(const std::string& strName, SECURITY_ATTRIBUTES* pAttributes, CUniqueHandle& hEvent) {
    hEvent.Reset(CreateEventA(pAttributes, FALSE, FALSE, strName.c_str()));
    if (hEvent)
        return 0;
    DWORD dwError = GetLastError();
    if (dwError == ERROR_ACCESS_DENIED) {
        hEvent.Reset(OpenEventA(SYNCHRONIZE, FALSE, strName.c_str()));
        if (hEvent)
            return 0;
        dwError = GetLastError();
    }
    DebugTrace("CPortPublisher::Open() : CreateEvent(%s) failed. GetLastError() = %d\n", strName.c_str(),
               static_cast<int>(dwError));
    return dwError;
}

DWORD CreateMapping(const std::string& strName, SECURITY_ATTRIBUTES* pAttributes, CUniqueHandle& hMapping,
                    CUniqueView& view) {
    hMapping.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, pAttributes, PAGE_READWRITE, 0,
                                      kStatusMappingSize, strName.c_str()));
    DWORD dwError = GetLastError();
    if (!hMapping) {
        DebugTrace("CPortPublisher::Open() : CreateFileMapping(%s) failed. GetLastError() = %d\n",
                   strName.c_str(), static_cast<int>(dwError));
        return dwError;
    }
    // A block left from an earlier publisher lives on while an agent still
    // holds it: it is this port's block, and publishing goes on in it.
    if (dwError == ERROR_ALREADY_EXISTS)
        DebugTrace("CPortPublisher::Open() : CreateFileMapping(%s) already exists\n", strName.c_str());
    view.Reset(MapViewOfFile(hMapping.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
    if (!view) {
        dwError = GetLastError();
        DebugTrace("CPortPublisher::Open() : MapViewOfFile(%s) failed. GetLastError() = %d\n",
                   strName.c_str(), static_cast<int>(dwError));
        return dwError;
    }
    return 0;
}

} // namespace

CPortPublisher::CPortPublisher(std::string strPort) : m_strPort(std::move(strPort)) {}

DWORD CPortPublisher::Open() {
    const bool bGlobal = IsWin2000OrLater() != FALSE;
    CNullDaclAttributes attributes;

    for (const std::string& strName : DistinctNames(printpath::StatusMutexName(m_strPort, bGlobal),
                                                    printpath::UsbStatusMutexName(m_strPort))) {
        CUniqueHandle hMutex;
        if (const DWORD dwError = CreateMutexNamed(strName, attributes.Get(), hMutex))
            return dwError;
        m_mutexes.push_back(std::move(hMutex));
    }
    if (const DWORD dwError = CreateEventNamed(printpath::CancelEventName(m_strPort, bGlobal),
                                               attributes.Get(), m_hCancelEvent))
        return dwError;
    if (const DWORD dwError = CreateEventNamed(printpath::ResumeEventName(m_strPort, bGlobal),
                                               attributes.Get(), m_hResumeEvent))
        return dwError;
    for (const std::string& strName : DistinctNames(printpath::StatusMappingName(m_strPort, bGlobal),
                                                    printpath::LocalStatusMappingName(m_strPort))) {
        CUniqueHandle hMapping;
        CUniqueView view;
        if (const DWORD dwError = CreateMapping(strName, attributes.Get(), hMapping, view))
            return dwError;
        m_mappings.push_back(std::move(hMapping));
        m_views.push_back(std::move(view));
    }
    return 0;
}

DWORD CPortPublisher::Publish(const CDeviceStatus& status, DWORD dwTimeoutMs) {
    std::vector<HANDLE> mutexes;
    for (const CUniqueHandle& hMutex : m_mutexes)
        mutexes.push_back(hMutex.Get());
    // All forms at once, so that the publisher never holds one while it waits for another.
    const DWORD dwWait =
        WaitForMultipleObjects(static_cast<DWORD>(mutexes.size()), mutexes.data(), TRUE, dwTimeoutMs);
    if (dwWait == WAIT_TIMEOUT)
        return WAIT_TIMEOUT;
    if (dwWait == WAIT_FAILED) {
        const DWORD dwError = GetLastError();
        DebugTrace("CPortPublisher::Publish() : WaitForMultipleObjects() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    // An abandoned mutex is owned all the same; the record is rewritten whole.
    for (const CUniqueView& view : m_views)
        std::memcpy(view.Get(), status.Data(), CDeviceStatus::kSize);
    for (HANDLE hMutex : mutexes)
        ReleaseMutex(hMutex);
    return 0;
}
