// The least a program can do to watch the agent bench's 16 printers, as a
// floor to compare the agent's idle CPU and memory with: no window, no
// printer set, no status logic. Per shared-memory printer a thread that wakes
// every 250 ms and copies the 44-byte status record from the simulator's
// mapping; per network printer a thread that wakes every 1000 ms and starts a
// short-lived thread for one PJL status exchange (connect, request, reply,
// close); the main thread wakes every 100 ms. Runs until the stop event is
// signalled, then prints what it read. Started by agent_bench.exe.
//   idle_floor_bench.exe STOP_EVENT FIRST_PJL_PORT NETWORK_PRINTERS USB_PORT...
#include <winsock2.h>

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/printpath/printpath_names.h"
#include "devices/lan/pjl_frame.h"
#include "devices/lan/pjl_request.h"

namespace {

HANDLE g_hStop = nullptr;
std::atomic<long> g_nRecords{0};
std::atomic<long> g_nAnswered{0};
std::atomic<long> g_nFailed{0};

struct SharedMemoryPrinter {
    std::string strPort;
    HANDLE hMapping = nullptr;
    const volatile std::uint8_t* pView = nullptr;
    std::uint8_t abRecord[44] = {};
};

DWORD WINAPI PollSharedMemory(void* pParameter) {
    auto* pPrinter = static_cast<SharedMemoryPrinter*>(pParameter);
    while (WaitForSingleObject(g_hStop, 250) == WAIT_TIMEOUT) {
        for (std::size_t i = 0; i < sizeof(pPrinter->abRecord); ++i)
            pPrinter->abRecord[i] = pPrinter->pView[i];
        ++g_nRecords;
    }
    return 0;
}

// One status request on a connection of its own; the reply ends with the
// Universal Exit Language sequence.
DWORD WINAPI Exchange(void* pParameter) {
    const auto nTcpPort = static_cast<u_short>(reinterpret_cast<std::uintptr_t>(pParameter));
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        ++g_nFailed;
        return 1;
    }
    const DWORD dwTimeOut = 3000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&dwTimeOut), sizeof(dwTimeOut));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(nTcpPort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string strFrame =
        BuildPjlFrame(FormatPjlEchoLine(now.wHour, now.wMinute, now.wSecond), kPjlStatusRequest.pszCommand);
    bool bAnswered = false;
    if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
        send(s, strFrame.data(), static_cast<int>(strFrame.size()), 0) == static_cast<int>(strFrame.size())) {
        std::string strReply;
        char buffer[1024];
        for (int nRead; (nRead = recv(s, buffer, sizeof(buffer), 0)) > 0;) {
            strReply.append(buffer, static_cast<std::size_t>(nRead));
            if (strReply.size() > kPjlUelLength &&
                strReply.compare(strReply.size() - kPjlUelLength, kPjlUelLength, kPjlUel) == 0) {
                bAnswered = true;
                break;
            }
        }
    }
    closesocket(s);
    ++(bAnswered ? g_nAnswered : g_nFailed);
    return 0;
}

DWORD WINAPI PollNetwork(void* pParameter) {
    while (WaitForSingleObject(g_hStop, 1000) == WAIT_TIMEOUT) {
        const HANDLE hThread = CreateThread(nullptr, 0, Exchange, pParameter, 0, nullptr);
        if (!hThread) {
            ++g_nFailed;
            continue;
        }
        WaitForSingleObject(hThread, INFINITE);
        CloseHandle(hThread);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: idle_floor_bench STOP_EVENT FIRST_PJL_PORT NETWORK_PRINTERS USB_PORT...\n");
        return 2;
    }
    g_hStop = OpenEventA(SYNCHRONIZE, FALSE, argv[1]);
    if (!g_hStop) {
        std::printf("idle floor: no stop event %s (%lu)\n", argv[1], GetLastError());
        return 1;
    }
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return 1;
    const long nFirstTcpPort = std::atol(argv[2]);
    const int nNetwork = std::atoi(argv[3]);

    std::vector<SharedMemoryPrinter> usb(static_cast<std::size_t>(argc - 4));
    for (std::size_t i = 0; i < usb.size(); ++i) {
        usb[i].strPort = argv[4 + i];
        usb[i].hMapping =
            OpenFileMappingA(FILE_MAP_READ, FALSE, printpath::LocalStatusMappingName(usb[i].strPort).c_str());
        if (usb[i].hMapping)
            usb[i].pView = static_cast<const volatile std::uint8_t*>(
                MapViewOfFile(usb[i].hMapping, FILE_MAP_READ, 0, 0, 0));
        if (!usb[i].pView) {
            std::printf("idle floor: no status block for %s (%lu)\n", usb[i].strPort.c_str(), GetLastError());
            return 1;
        }
    }
    std::vector<HANDLE> threads;
    for (SharedMemoryPrinter& printer : usb)
        threads.push_back(CreateThread(nullptr, 0, PollSharedMemory, &printer, 0, nullptr));
    for (int i = 0; i < nNetwork; ++i)
        threads.push_back(CreateThread(
            nullptr, 0, PollNetwork, reinterpret_cast<void*>(static_cast<std::uintptr_t>(nFirstTcpPort + i)),
            0, nullptr));
    long nTicks = 0;
    while (WaitForSingleObject(g_hStop, 100) == WAIT_TIMEOUT)
        ++nTicks;
    for (const HANDLE hThread : threads) {
        WaitForSingleObject(hThread, INFINITE);
        CloseHandle(hThread);
    }
    std::printf(
        "idle floor: %ld main ticks, %ld status records copied, %ld PJL exchanges answered, %ld failed\n",
        nTicks, g_nRecords.load(), g_nAnswered.load(), g_nFailed.load());
    for (SharedMemoryPrinter& printer : usb) {
        UnmapViewOfFile(const_cast<std::uint8_t*>(printer.pView));
        CloseHandle(printer.hMapping);
    }
    WSACleanup();
    return 0;
}
