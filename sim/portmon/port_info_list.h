// The PORT_INFO_1W or PORT_INFO_2W records that EnumPorts returns for a list
// of ports, laid out in the caller's buffer as the spooler expects: all the
// records first, then the texts they point to.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <winspool.h>

class CPortInfoList {
public:
    // dwLevel is 1 or 2.
    CPortInfoList(DWORD dwLevel, const std::vector<std::wstring>& ports)
        : m_dwLevel(dwLevel), m_ports(ports) {}

    DWORD Count() const { return static_cast<DWORD>(m_ports.size()); }
    // Bytes that Write needs.
    DWORD Size() const;
    // Writes the records and texts into the Size() bytes at pBuffer.
    void Write(BYTE* pBuffer) const;

private:
    DWORD m_dwLevel;
    const std::vector<std::wstring>& m_ports;
};
