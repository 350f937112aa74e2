// Windows Sockets for the length of a test program, as the agent's start-up
// provides them to the program.
#pragma once

#include <winsock2.h>

#include <gtest/gtest.h>

class CWinsockEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    }
    void TearDown() override { WSACleanup(); }
};
