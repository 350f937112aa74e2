#include "tests/wine/sim_child.h"

#include <cstdio>
#include <fstream>

#include "tests/wine/test_printer.h"

CSimChild::~CSimChild() {
    if (m_hProcess && IsRunning()) {
        TerminateProcess(m_hProcess.Get(), 99);
        WaitForSingleObject(m_hProcess.Get(), 5000);
    }
    if (m_reader.joinable())
        m_reader.join();
}

bool CSimChild::Start(const std::string& strArguments) {
    return StartProgram(NYSIM_EXE, strArguments);
}

bool CSimChild::StartProgram(const char* pszUnixPath, const std::string& strArguments) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE hRead = nullptr;
    HANDLE hWrite = nullptr;
    if (!CreatePipe(&hRead, &hWrite, &inherit, 0))
        return false;
    m_hOutput.Reset(hRead);
    CUniqueHandle hChildOutput(hWrite);
    SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = hChildOutput.Get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    const std::string strPath = HostPath(pszUnixPath);
    std::string strCommand = "\"" + strPath + "\" " + strArguments;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(strPath.c_str(), &strCommand[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "CreateProcess(%s) failed: %lu\n", strPath.c_str(), GetLastError());
        return false;
    }
    CloseHandle(process.hThread);
    m_hProcess.Reset(process.hProcess);
    // The reader ends when the child's end of the pipe closes with the child.
    m_reader = std::thread([this] {
        char buffer[4096];
        DWORD dwRead = 0;
        while (ReadFile(m_hOutput.Get(), buffer, sizeof(buffer), &dwRead, nullptr) && dwRead > 0)
            m_strOutput.append(buffer, dwRead);
    });
    return true;
}

DWORD CSimChild::Wait(DWORD dwTimeoutMs) {
    if (WaitForSingleObject(m_hProcess.Get(), dwTimeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD dwExitCode = STILL_ACTIVE;
    GetExitCodeProcess(m_hProcess.Get(), &dwExitCode);
    return dwExitCode;
}

std::string CSimChild::Output() {
    if (IsRunning())
        return std::string();
    if (m_reader.joinable())
        m_reader.join();
    return m_strOutput;
}

CScriptFile::CScriptFile(const std::string& strText) {
    char szDirectory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, szDirectory);
    m_strPath = std::string(szDirectory) + UniqueName("nysim") + ".txt";
    std::ofstream(m_strPath, std::ios::binary) << strText;
}

CScriptFile::~CScriptFile() {
    DeleteFileA(m_strPath.c_str());
}

CSimulator::CSimulator(const std::string& strArguments) : m_strStop(UniqueName("NySim.Stop.")) {
    m_bStarted = m_child.Start("--tick 10 --stop-event " + m_strStop + " " + strArguments);
}

void CSimulator::Stop() {
    CUniqueHandle hStop(OpenEventA(EVENT_MODIFY_STATE, FALSE, m_strStop.c_str()));
    if (hStop)
        SetEvent(hStop.Get());
    m_child.Wait(10000);
}
