#include "monitor/console.h"

#include "app/trace.h"
#include "app/winver.h"
#include "app/printpath/printpath_names.h"

namespace {

// An event opened rather than created must still be signalled by Reply*.
constexpr DWORD kOpenAccess = EVENT_MODIFY_STATE | SYNCHRONIZE;

} // namespace

CConsole::CConsole(const std::string& strPort) {
    const std::string strCancel = printpath::CancelEventName(strPort, IsWin2000OrLater() != FALSE);
    BOOL bReady = CreateOrOpenEvent(strCancel, kOpenAccess, m_hCancelEvent);
    if (!bReady) {
        DebugTrace("CConsole::CConsole() : OpenOrCreateEvent(%s) failed\n", strCancel.c_str());
    } else {
        const std::string strResume = printpath::ResumeEventName(strPort, IsWin2000OrLater() != FALSE);
        bReady = CreateOrOpenEvent(strResume, kOpenAccess, m_hResumeEvent);
        if (!bReady)
            DebugTrace("CConsole::CConsole() : OpenOrCreateEvent(%s) failed\n", strResume.c_str());
    }
    if (!bReady) {
        m_hCancelEvent.Reset();
        m_hResumeEvent.Reset();
        throw CExcept();
    }
}

BOOL CConsole::CreateOrOpenEvent(const std::string& strName, DWORD dwAccess, CUniqueHandle& hEvent) {
    SECURITY_DESCRIPTOR descriptor;
    SECURITY_ATTRIBUTES attributes;
    SECURITY_ATTRIBUTES* pAttributes = nullptr;
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)) {
        DebugTrace(
            "CConsole::CreateOrOpenEvent() : InitializeSecurityDescriptor() failed. GetLastError() = %d\n",
            static_cast<int>(GetLastError()));
    } else if (!SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE)) {
        DebugTrace(
            "CConsole::CreateOrOpenEvent() : SetSecurityDescriptorDacl() failed. GetLastError() = %d\n",
            static_cast<int>(GetLastError()));
    } else {
        DebugTrace("CConsole::CreateOrOpenEvent() : SecurityDescriptor : SUCCESS\n");
        attributes.nLength = sizeof(attributes);
        attributes.lpSecurityDescriptor = &descriptor;
        attributes.bInheritHandle = FALSE;
        pAttributes = &attributes;
    }

    HANDLE hCreated = CreateEventA(pAttributes, FALSE, FALSE, strName.c_str());
    const DWORD dwError = GetLastError();
    if (hCreated) {
        if (dwError == ERROR_ALREADY_EXISTS)
            DebugTrace("CConsole::CreateOrOpenEvent() : CreateEvent(%s) already exists\n", strName.c_str());
        else
            DebugTrace("CConsole::CreateOrOpenEvent() : CreateEvent(%s) CREATION\n", strName.c_str());
        hEvent.Reset(hCreated);
        return TRUE;
    }
    if (dwError != ERROR_ACCESS_DENIED) {
        DebugTrace("CConsole::CreateOrOpenEvent() : CreateEvent(%s) failed. GetLastError() = %d\n",
                   strName.c_str(), static_cast<int>(dwError));
        return FALSE;
    }
    HANDLE hOpened = OpenEventA(dwAccess, FALSE, strName.c_str());
    if (!hOpened && GetLastError() == ERROR_ACCESS_DENIED && dwAccess != SYNCHRONIZE) {
        DebugTrace("CConsole::CreateOrOpenEvent() : OpenEvent(%s) failed. GetLastError() = %d\n",
                   strName.c_str(), static_cast<int>(ERROR_ACCESS_DENIED));
        // A descriptor that lets this account only wait: the console still
        // stands for the port, and its signals fail with the refusal.
        hOpened = OpenEventA(SYNCHRONIZE, FALSE, strName.c_str());
    }
    if (!hOpened) {
        DebugTrace("CConsole::CreateOrOpenEvent() : OpenEvent(%s) failed. GetLastError() = %d\n",
                   strName.c_str(), static_cast<int>(GetLastError()));
        return FALSE;
    }
    hEvent.Reset(hOpened);
    return TRUE;
}

DWORD CConsole::ReplyClose() {
    if (SetEvent(m_hCancelEvent.Get()))
        return 0;
    const DWORD dwError = GetLastError();
    DebugTrace("CConsole::ReplyClose() : SetEvent() failed. GetLastError() = %d\n",
               static_cast<int>(dwError));
    return dwError;
}

DWORD CConsole::ReplyResume() {
    if (SetEvent(m_hResumeEvent.Get()))
        return 0;
    const DWORD dwError = GetLastError();
    DebugTrace("CConsole::ReplyResume() : SetEvent() failed. GetLastError() = %d\n",
               static_cast<int>(dwError));
    return dwError;
}
