// Not a test: a status query round trip over the status pipe with 16
// printers on the board (the list request), p50 and p99, against a bare
// named-pipe round trip of the same sizes measured in the same run (an echo
// server on a thread that answers each line with a line as long as the
// list's answer); then the process's CPU over an idle spell with the status
// pipe's server waiting, against the same spell without it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "monitor/status_answer.h"
#include "monitor/status_pipe_server.h"
#include "tools/nystatus/status_pipe_client.h"

namespace {

constexpr int kRounds = 2000;
constexpr DWORD kIdleMs = 3000;
const std::string kRequest = "{\"version\":1,\"request\":\"list\"}\n";

double Ms(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void Report(const char* pszName, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    std::printf("%-28s p50 %7.3f ms   p99 %7.3f ms\n", pszName, samples[samples.size() / 2],
                samples[samples.size() * 99 / 100]);
}

std::vector<double> RoundTrips(const std::string& strPipe) {
    CStatusPipeClient client;
    std::vector<double> samples;
    if (client.Connect(strPipe, 5000) != CStatusPipeClient::Result::Ok)
        return samples;
    std::string strLine;
    for (int i = 0; i < kRounds; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        if (client.Send(kRequest, 5000, nullptr) != CStatusPipeClient::Result::Ok ||
            client.ReadLine(strLine, 5000, nullptr) != CStatusPipeClient::Result::Ok)
            break;
        QueryPerformanceCounter(&end);
        samples.push_back(Ms(start, end));
    }
    return samples;
}

// One client, synchronous: reads a line, writes the answer, until the client goes.
void Echo(HANDLE hPipe, const std::string& strAnswer) {
    ConnectNamedPipe(hPipe, nullptr);
    std::string strPending;
    char achBuffer[4096];
    DWORD dwRead = 0;
    while (ReadFile(hPipe, achBuffer, sizeof(achBuffer), &dwRead, nullptr) && dwRead > 0) {
        strPending.append(achBuffer, dwRead);
        for (std::size_t nBreak; (nBreak = strPending.find('\n')) != std::string::npos;) {
            strPending.erase(0, nBreak + 1);
            DWORD dwWritten = 0;
            WriteFile(hPipe, strAnswer.data(), static_cast<DWORD>(strAnswer.size()), &dwWritten, nullptr);
        }
    }
}

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto Ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(Ticks(kernel) + Ticks(user)) / 10000.0;
}

double IdleCpuMs() {
    const double dStart = ProcessCpuMs();
    Sleep(kIdleMs);
    return ProcessCpuMs() - dStart;
}

} // namespace

int main() {
    const std::string strSuffix = std::to_string(GetCurrentProcessId());
    CStatusBoard board;
    for (int i = 0; i < 16; ++i) {
        CStatusEntry entry;
        entry.strName = "Kestrel " + std::to_string(i);
        entry.strPort = "USB" + std::to_string(100 + i);
        entry.road = StatusRoad::Usb;
        entry.bConnected = true;
        entry.record.SetSignature();
        entry.record.SetProductId(0x58);
        entry.record.SetDeviceState(kStateReady);
        entry.strStateText = "Ready";
        entry.strAdvice = "Waiting for a job";
        board.Set(entry);
    }
    const std::string strAnswer = EncodeListAnswer(board.Snapshot());

    const double dIdleWithout = IdleCpuMs();
    const std::string strStatusPipe = "\\\\.\\pipe\\NyAgent.StatusBench." + strSuffix;
    CStatusPipeServer server(board, strStatusPipe);
    if (!server.Start())
        return 1;
    const double dIdleWith = IdleCpuMs();

    const std::string strEchoPipe = "\\\\.\\pipe\\NyAgent.EchoBench." + strSuffix;
    const HANDLE hEcho = CreateNamedPipeA(strEchoPipe.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                                          1, 64 * 1024, 4096, 0, nullptr);
    std::thread echo([&] { Echo(hEcho, strAnswer); });
    const std::vector<double> bare = RoundTrips(strEchoPipe);
    echo.join();
    CloseHandle(hEcho);
    const std::vector<double> status = RoundTrips(strStatusPipe);
    if (bare.size() != kRounds || status.size() != kRounds)
        return 1;
    std::printf("%d round trips, answer %d bytes (16 printers)\n", kRounds,
                static_cast<int>(strAnswer.size()));
    Report("bare named-pipe echo", bare);
    Report("status list request", status);
    std::printf("idle CPU over %u ms: %.1f ms without the status pipe, %.1f ms with it waiting\n",
                static_cast<unsigned>(kIdleMs), dIdleWithout, dIdleWith);
    return 0;
}
