// The simulated printer's network side: answers PJL requests on a loopback
// TCP port, one connection at a time, on a thread of its own.
#pragma once

#include <winsock2.h>

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include "monitor/device_status.h"
#include "sim/pjl_responder.h"

// What the server asks of the printer it plays; called on the server's thread.
class CPjlPrinter {
public:
    virtual ~CPjlPrinter() = default;
    virtual CDeviceStatus CurrentStatus() = 0;
    // True when the printer did it.
    virtual bool CancelJob() = 0;
    virtual bool ResumeJob() = 0;
};

class CPjlServer {
public:
    CPjlServer(CPjlPrinter& printer, PjlMisbehaviour misbehaviour, std::uint32_t nDelayMs);
    ~CPjlServer();
    CPjlServer(const CPjlServer&) = delete;
    CPjlServer& operator=(const CPjlServer&) = delete;

    // Listens on 127.0.0.1 at nPort (0: any free port) and starts serving.
    // Returns 0 or the socket error.
    DWORD Start(std::uint32_t nPort);
    std::uint32_t Port() const { return m_nPort; }

private:
    void Serve();
    void Answer(SOCKET hClient);
    // False when the client went away or the server is stopping.
    bool WaitReadable(SOCKET hSocket, DWORD dwTimeOutMs);
    void SendReply(SOCKET hClient, const std::string& strReply);

    CPjlPrinter& m_printer;
    PjlMisbehaviour m_misbehaviour;
    std::uint32_t m_nDelayMs;
    SOCKET m_hListener = INVALID_SOCKET;
    std::uint32_t m_nPort = 0;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};
