// Windows Sockets for the length of a test program, as the agent's start-up
// provides them to the program: every test program that includes this header
// has them.
#pragma once

#include <winsock2.h>

#include <cstdint>

#include <gtest/gtest.h>

class CWinsockEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    }
    void TearDown() override { WSACleanup(); }
};

inline const auto* const g_pWinsockEnvironment = ::testing::AddGlobalTestEnvironment(new CWinsockEnvironment);

inline sockaddr_in Loopback(std::uint32_t nTcpPort) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(nTcpPort));
    return address;
}

// Binds the socket to a loopback port that nothing uses at the moment; returns the port.
inline std::uint32_t BindLoopback(SOCKET hSocket) {
    sockaddr_in address = Loopback(0);
    bind(hSocket, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    int nLength = sizeof(address);
    getsockname(hSocket, reinterpret_cast<sockaddr*>(&address), &nLength);
    return ntohs(address.sin_port);
}

// A loopback TCP port that nothing listens on at the moment.
inline std::uint32_t FreeTcpPort() {
    const SOCKET hSocket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const std::uint32_t nTcpPort = BindLoopback(hSocket);
    closesocket(hSocket);
    return nTcpPort;
}
