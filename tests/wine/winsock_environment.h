// Windows Sockets for the length of a test program, as the agent's start-up
// provides them to the program.
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

// A loopback TCP port that nothing listens on at the moment.
inline std::uint32_t FreeTcpPort() {
    const SOCKET hSocket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(hSocket, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    int nLength = sizeof(address);
    getsockname(hSocket, reinterpret_cast<sockaddr*>(&address), &nLength);
    closesocket(hSocket);
    return ntohs(address.sin_port);
}
