// The agent's settings in the registry, and the few spooler and port-monitor
// values it looks up. Every operation opens a key, reads or writes one value,
// closes the key and returns the registry status (ERROR_SUCCESS = 0). A failure
// leaves a trace line, and the getters then hand out the caller's default.
#pragma once

#include <string>

#include <windows.h>

class CRegistry {
public:
    CRegistry() = delete;

    // Reads up to four bytes of any type; a shorter value fills the low bytes
    // and leaves the others 0. dwValue changes only on success.
    static LONG GetDWORDKey(HKEY hRoot, const std::string& strSubKey, const std::string& strValueName,
                            DWORD& dwValue);
    // Writes a REG_DWORD under HKEY_CURRENT_USER, creating the key when needed.
    static LONG SetDWORDKey(const std::string& strSubKey, const std::string& strValueName, DWORD dwValue);
    // Reads a value of any type as text up to its first zero; a value stored
    // without a terminating zero is read whole. strValue changes only on success.
    static LONG GetStringKey(HKEY hRoot, const std::string& strSubKey, const std::string& strValueName,
                             std::string& strValue);

    // The popup and debug switches: any non-zero value reads as TRUE, and they are stored as 0 or 1.
    static LONG GetOpenOnError(BOOL& bOpenOnError, BOOL bDefault);
    static LONG SetOpenOnError(BOOL bOpenOnError);
    static LONG GetOpenWhenPrinting(BOOL& bOpenWhenPrinting, BOOL bDefault);
    static LONG SetOpenWhenPrinting(BOOL bOpenWhenPrinting);
    static LONG GetUseNyStatusMonitor(BOOL& bUseNyStatusMonitor, BOOL bDefault);

    // How many times a system restart has been proposed.
    static LONG GetHowManyReboots(DWORD& dwReboots, DWORD dwDefault);
    static LONG SetHowManyReboots(DWORD dwReboots);

    // Colour settings, taken and stored raw: 0x01BBGGRR is a colour the user
    // chose, a value below 0x01000000 asks for the window's own colour. The
    // current user's value wins over the machine's. pdwDefault may point at
    // dwColor itself; without a default a failed read gives 0, the window's own colour.
    static LONG GetBkColor(DWORD& dwColor, const DWORD* pdwDefault);
    static LONG GetTextColor(DWORD& dwColor, const DWORD* pdwDefault);
    // Without a colour nothing is written and the result is ERROR_INVALID_PARAMETER.
    static LONG SetBkColor(const DWORD* pdwColor);
    static LONG SetTextColor(const DWORD* pdwColor);

    // The status window's bottom-right corner. Both coordinates are read or the
    // whole default is used.
    static LONG GetWindowPos(POINT& ptPosition, const POINT& ptDefault);
    static LONG SetWindowPos(const POINT& ptPosition);

    // The spooler port of a printer queue.
    static LONG GetPort(const std::string& strPrinterName, std::string& strPort);
    // The IP address and TCP port of a port of a TCP/IP port monitor.
    static LONG GetIpAddresFromPortSettings(const std::string& strMonitorName, const std::string& strPortName,
                                            std::string& strAddress);
    static LONG GetTcpPortFromPortSettings(const std::string& strMonitorName, const std::string& strPortName,
                                           DWORD& dwTcpPort, DWORD dwDefault);
};
