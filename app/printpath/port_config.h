// The configuration of a port of the family's TCP/IP port monitor: where the
// monitor keeps it in the registry, and the 276-byte block in which the
// monitor hands it out when asked for "GetConfigInfo" (the simulator's
// monitor builds it: sim/portmon/config_info.h).
//
// Reply layout: bytes 0 to 255 carry nothing the agent reads (the monitor
// leaves them zero); bytes 256 to 271 hold the IP address as single-byte text
// ending in a NUL; bytes 272 to 275 hold the TCP port, unsigned 32-bit
// little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace printpath {

constexpr char kTcpIpMonitorName[] = "Tessel TCP/IP Monitor";

// Each port's settings live in the key "<kMonitorsKey>\<monitor>\Ports\<port>"
// under HKEY_LOCAL_MACHINE, as two values.
constexpr char kMonitorsKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors";
constexpr char kIpAddressValue[] = "IPAddress";   // REG_SZ
constexpr char kPortNumberValue[] = "PortNumber"; // REG_DWORD
constexpr std::uint32_t kDefaultTcpPort = 9100;

// The key that holds one key per port of the monitor.
std::string PortsKey(const std::string& strMonitor);
std::string PortSettingsKey(const std::string& strMonitor, const std::string& strPort);

// The data name of the configuration query, as the spooler's XcvData takes it.
constexpr wchar_t kConfigInfoDataName[] = L"GetConfigInfo";
constexpr std::size_t kConfigInfoSize = 276;
constexpr std::size_t kConfigInfoAddressOffset = 256;
constexpr std::size_t kConfigInfoAddressSize = 16;
constexpr std::size_t kConfigInfoTcpPortOffset = 272;

struct PortConfig {
    std::string strAddress;
    std::uint32_t dwTcpPort = kDefaultTcpPort;
};

// Reads the kConfigInfoSize bytes at pReply; looks no further than the address
// field for the address's NUL, so an address without one has 16 characters.
PortConfig ParseConfigInfo(const std::uint8_t* pReply);

} // namespace printpath
