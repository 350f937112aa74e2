// NySim.exe (or another program of the build) run as a child process of a test: started with a command line,
// its standard output collected, and killed if the test ends before it does.
#pragma once

#include <string>
#include <thread>

#include <windows.h>

#include "framework/unique_handle.h"

class CSimChild {
public:
    CSimChild() = default;
    ~CSimChild();
    CSimChild(const CSimChild&) = delete;
    CSimChild& operator=(const CSimChild&) = delete;

    // Starts NySim.exe from this build tree with the arguments.
    bool Start(const std::string& strArguments);
    // Starts another program of this build tree, given by its Unix path.
    bool StartProgram(const char* pszUnixPath, const std::string& strArguments);
    // Waits up to dwTimeoutMs for the end; returns the exit code, or
    // STILL_ACTIVE when the simulator still runs.
    DWORD Wait(DWORD dwTimeoutMs);
    bool IsRunning() { return Wait(0) == STILL_ACTIVE; }
    // Everything it wrote to its standard output; complete once it has ended.
    std::string Output();

private:
    CUniqueHandle m_hProcess;
    CUniqueHandle m_hOutput;
    std::thread m_reader;
    std::string m_strOutput;
};

// NySim.exe for the length of a test, ticking every 10 ms, stopped by its own
// event (and killed if that does not end it).
class CSimulator {
public:
    explicit CSimulator(const std::string& strArguments);
    ~CSimulator() { Stop(); }
    void Stop();
    bool Started() const { return m_bStarted; }

private:
    std::string m_strStop;
    CSimChild m_child;
    bool m_bStarted = false;
};

// A script file in the temporary directory for the length of a test.
class CScriptFile {
public:
    explicit CScriptFile(const std::string& strText);
    ~CScriptFile();
    CScriptFile(const CScriptFile&) = delete;
    CScriptFile& operator=(const CScriptFile&) = delete;

    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};
