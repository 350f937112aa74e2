// A printer installed in the spooler's registry for the length of a test,
// the way Wine's spooler finds the printers it lists.
#pragma once

#include <functional>
#include <string>

#include <windows.h>
#include <winspool.h>

class CTestPrinter {
public:
    CTestPrinter(const std::string& strName, const std::string& strPort, const std::string& strDriver);
    ~CTestPrinter();
    CTestPrinter(const CTestPrinter&) = delete;
    CTestPrinter& operator=(const CTestPrinter&) = delete;

    // A value under the printer's PrinterDriverData key, as GetPrinterData reads it.
    void SetPrinterData(const std::string& strValue, const std::string& strData);
    const std::string& Name() const { return m_strName; }

private:
    std::string m_strName;
    std::string m_strKey;
};

// Sets a value under a key of HKEY_LOCAL_MACHINE, creating the key when needed.
void SetMachineValue(const std::string& strKey, const std::string& strValue, DWORD dwType, const void* pData,
                     DWORD cbData);
void SetMachineString(const std::string& strKey, const std::string& strValue, const std::string& strData);

// A name no other test process uses at the same time.
std::string UniqueName(const std::string& strBase);

// A path of the build host as Wine shows it: the host's root is drive Z.
std::string HostPath(const std::string& strUnixPath);

// Asks pfnDone every 20 ms until it holds or dwTimeOutMs have passed; its last answer.
bool WaitFor(const std::function<bool()>& pfnDone, DWORD dwTimeOutMs);

// WaitFor, dispatching this thread's messages in between.
bool Pump(
    DWORD dwTimeOutMs, const std::function<bool()>& pfnDone = [] { return false; });
