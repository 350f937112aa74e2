#include "app/nyagent_app.h"

#include <winsock2.h>

#include "app/command_line.h"
#include "app/destruction_event.h"
#include "app/trace.h"
#include "app/winver.h"

CNyAgentApp::CNyAgentApp() = default;

CNyAgentApp::~CNyAgentApp() {
    m_settings.Save();
    SetDestructionEvent(nullptr);
}

std::string CNyAgentApp::KernelObjectName(const char* pszLocalOrGlobal, const char* pszName) {
    return IsWin2000OrLater() ? std::string(pszLocalOrGlobal) + "\\" + pszName : std::string(pszName);
}

BOOL CNyAgentApp::InitInstance(int nArgs, const char* const* ppszArgs) {
    WSADATA wsaData;
    if (WSAStartup(MAKEWORD(2, 2), &wsaData) != 0)
        DebugTrace("CNyAgentApp::InitInstance() : AfxSocketInit() returns FALSE\n");
    FirstCallOfIsReachable();
    CAgentCommandLineInfo commandLine;
    commandLine.ParseCommandLine(nArgs, ppszArgs);
    CreateGlobalDestructionEvent(commandLine.m_bDestroyAll);
    if (commandLine.m_bDestroyAll) {
        DestroyAllInstances();
        return FALSE;
    }
    if (IsAlreadyRunningInCurrentCession())
        return FALSE;
    m_settings.Read();
    RunAgent();
    return FALSE;
}

int CNyAgentApp::ExitInstance() {
    WSACleanup();
    return 0;
}

BOOL CNyAgentApp::CreateGlobalDestructionEvent(BOOL bDestroyAll) {
    SECURITY_DESCRIPTOR descriptor;
    SECURITY_ATTRIBUTES attributes{};
    BOOL bDescriptor = FALSE;
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)) {
        DebugTrace("CNyAgentApp::CreateGlobalDestructionEvent() : InitializeSecurityDescriptor() failed. "
                   "GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
    } else if (!SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE)) {
        DebugTrace("CNyAgentApp::CreateGlobalDestructionEvent() : SetSecurityDescriptorDacl() failed. "
                   "GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
    } else {
        DebugTrace("CNyAgentApp::CreateGlobalDestructionEvent() : SecurityDescriptor : SUCCESS\n");
        attributes.nLength = sizeof(attributes);
        attributes.lpSecurityDescriptor = &descriptor;
        attributes.bInheritHandle = FALSE;
        bDescriptor = TRUE;
    }
    const std::string strName = KernelObjectName("Global", kDestructionEventName);
    HANDLE hEvent = OpenEventA(bDestroyAll ? EVENT_MODIFY_STATE : SYNCHRONIZE, FALSE, strName.c_str());
    if (hEvent) {
        DebugTrace("CNyAgentApp::CreateGlobalDestructionEvent() : OpenEvent() : SUCCESS\n");
    } else {
        const DWORD dwError = GetLastError();
        if (dwError != ERROR_FILE_NOT_FOUND && dwError != ERROR_INVALID_NAME) {
            DebugTrace(
                "CNyAgentApp::CreateGlobalDestructionEvent() : OpenEvent() failed. GetLastError() = %d\n",
                static_cast<int>(dwError));
            return FALSE;
        }
        hEvent = CreateEventA(bDescriptor ? &attributes : nullptr, TRUE, FALSE, strName.c_str());
        if (!hEvent) {
            DebugTrace(
                "CNyAgentApp::CreateGlobalDestructionEvent() : CreateEvent() failed. GetLastError() = %d\n",
                static_cast<int>(GetLastError()));
            return FALSE;
        }
        DebugTrace("CNyAgentApp::CreateGlobalDestructionEvent() : CreateEvent() : SUCCESS\n");
    }
    m_hDestructionEvent.Reset(hEvent);
    SetDestructionEvent(hEvent);
    if (bDestroyAll)
        SetEvent(hEvent);
    return TRUE;
}

void CNyAgentApp::DestroyAllInstances() {
    if (m_hDestructionEvent && !SetEvent(m_hDestructionEvent.Get()))
        DebugTrace("CNyAgentApp::DestroyAllInstances() : SetEvent() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
}

BOOL CNyAgentApp::IsAlreadyRunningInCurrentCession() {
    const std::string strName = KernelObjectName("Local", kInstanceEventName);
    const HANDLE hEvent = CreateEventA(nullptr, FALSE, FALSE, strName.c_str());
    const DWORD dwError = GetLastError();
    m_hInstanceEvent.Reset(hEvent);
    if (!hEvent) {
        DebugTrace(
            "CNyAgentApp::IsAlreadyRunningInCurrentCession() : CreateEvent() failed. GetLastError() = %d\n",
            static_cast<int>(dwError));
        return FALSE;
    }
    return dwError == ERROR_ALREADY_EXISTS;
}

BOOL CNyAgentApp::IsDestructionRequested() const {
    return ::IsDestructionRequested();
}
