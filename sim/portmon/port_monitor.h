// The family's TCP/IP port monitor as the spooler sees it: the MONITOR2 table
// that InitializePrintMonitor2 returns.
//
// The monitor keeps nothing in memory between calls: the spooler may load it,
// call one entry point and unload it again. Its ports and their settings are
// read from the registry on every call (CPortSettings). It answers the
// configuration query on its ports and lists them; it carries no print data,
// so opening a port for a job fails with ERROR_NOT_SUPPORTED and the job entry
// points, which can then never get a port handle, fail the same way.
#pragma once

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

class CPortMonitor {
public:
    CPortMonitor() = delete;

    // The table handed to the spooler; the same on every load.
    static MONITOR2* Table();

private:
    static BOOL WINAPI EnumPorts(HANDLE hMonitor, LPWSTR pName, DWORD dwLevel, LPBYTE pPorts, DWORD cbBuf,
                                 LPDWORD pcbNeeded, LPDWORD pcReturned);
    static BOOL WINAPI OpenPort(HANDLE hMonitor, LPWSTR pName, PHANDLE pHandle);
    static BOOL WINAPI StartDocPort(HANDLE hPort, LPWSTR pPrinterName, DWORD dwJobId, DWORD dwLevel,
                                    LPBYTE pDocInfo);
    static BOOL WINAPI WritePort(HANDLE hPort, LPBYTE pBuffer, DWORD cbBuf, LPDWORD pcbWritten);
    static BOOL WINAPI ReadPort(HANDLE hPort, LPBYTE pBuffer, DWORD cbBuffer, LPDWORD pcbRead);
    static BOOL WINAPI EndDocPort(HANDLE hPort);
    static BOOL WINAPI ClosePort(HANDLE hPort);
    static BOOL WINAPI XcvOpenPort(HANDLE hMonitor, LPCWSTR pszObject, ACCESS_MASK grantedAccess,
                                   PHANDLE phXcv);
    static DWORD WINAPI XcvDataPort(HANDLE hXcv, LPCWSTR pszDataName, PBYTE pInputData, DWORD cbInputData,
                                    PBYTE pOutputData, DWORD cbOutputData, PDWORD pcbOutputNeeded);
    static BOOL WINAPI XcvClosePort(HANDLE hXcv);
    static VOID WINAPI Shutdown(HANDLE hMonitor);

    static BOOL NotSupported(const char* pszOperation);
};
