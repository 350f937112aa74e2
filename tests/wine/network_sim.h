// NySim.exe playing a network printer on a loopback port for the length of a
// test.
#pragma once

#include "tests/wine/winsock_environment.h"

#include <string>

#include "tests/wine/sim_child.h"
#include "tests/wine/test_printer.h"

inline bool Accepts(std::uint32_t nTcpPort) {
    const SOCKET hSocket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const sockaddr_in address = Loopback(nTcpPort);
    const bool bConnected =
        connect(hSocket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    closesocket(hSocket);
    return bConnected;
}

// NySim.exe playing one network printer for the length of a test.
class CNetworkPrinter {
public:
    // strArguments: the job and the misbehaviour.
    explicit CNetworkPrinter(const std::string& strArguments, bool bPrintPath = false)
        : m_strPort(UniqueName("NET")), m_nTcpPort(FreeTcpPort()),
          m_sim("--port " + m_strPort + " --pjl-port " + std::to_string(m_nTcpPort) +
                (bPrintPath ? " " : " --no-print-path ") + strArguments) {
        // A printer that refuses connections never accepts one: give it time.
        const bool bRefuses = (" " + strArguments + " ").find(" refuse ") != std::string::npos;
        for (int i = 0; m_sim.Started() && !bRefuses && i < 100 && !Accepts(m_nTcpPort); ++i)
            Sleep(50);
        if (bRefuses)
            Sleep(1000);
    }

    void Stop() { m_sim.Stop(); }
    bool Started() const { return m_sim.Started(); }
    const std::string& Port() const { return m_strPort; }
    std::uint32_t TcpPort() const { return m_nTcpPort; }
    std::string Link() const { return "127.0.0.1:" + std::to_string(m_nTcpPort); }

private:
    std::string m_strPort;
    std::uint32_t m_nTcpPort;
    CSimulator m_sim;
};
