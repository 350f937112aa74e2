// Cost of one PJL status exchange with a network printer on loopback, as the
// polling thread makes it once a second: connect, send, read the reply up to
// its closing sequence, close, decode.
//   lan_exchange_bench.exe HOST:PORT [COUNT]
#include <winsock2.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/silent_notify.h"
#include "devices/lan/lan_device.h"

namespace {

double Milliseconds(LONGLONG ticks, LONGLONG frequency) {
    return 1000.0 * static_cast<double>(ticks) / frequency;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: lan_exchange_bench HOST:PORT [COUNT]\n");
        return 2;
    }
    const int nCount = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return 1;
    std::vector<double> samples;
    {
        CSilentNotify notify;
        // Connected, then stopped: the benchmark makes every exchange itself.
        CLanDevice device(&notify, "Bench", "BENCH", argv[1]);
        device.OnDisconnected();
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        for (int i = 0; i < nCount; ++i) {
            CDeviceStatus status;
            LARGE_INTEGER start;
            LARGE_INTEGER end;
            QueryPerformanceCounter(&start);
            const DWORD dwError = device.ReadStatus9100(&status);
            QueryPerformanceCounter(&end);
            if (dwError != 0) {
                std::fprintf(stderr, "exchange %d failed with %lu\n", i, static_cast<unsigned long>(dwError));
                return 1;
            }
            samples.push_back(Milliseconds(end.QuadPart - start.QuadPart, frequency.QuadPart));
        }
    }
    WSACleanup();
    std::sort(samples.begin(), samples.end());
    const auto at = [&samples](double q) { return samples[static_cast<size_t>(q * (samples.size() - 1))]; };
    std::printf("status exchanges: %d, min %.2f ms, median %.2f ms, p90 %.2f ms, max %.2f ms\n", nCount,
                samples.front(), at(0.5), at(0.9), samples.back());
    return 0;
}
