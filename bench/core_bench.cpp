// Cost of what every polling step does with a fresh record: decode it and
// classify the change against the previous one.
#include <benchmark/benchmark.h>

#include <cstring>

#include "monitor/status_change.h"

static void BM_DecodeRecord(benchmark::State& state) {
    std::uint8_t bytes[CDeviceStatus::kSize] = {'N', 'Y', 'R', 'A'};
    bytes[32] = 3;
    bytes[34] = 2;
    for (auto _ : state) {
        const CDeviceStatus status(bytes);
        std::uint32_t errorClass = kErrorClassUnknown;
        benchmark::DoNotOptimize(status.IsValid());
        benchmark::DoNotOptimize(status.IsError(&errorClass));
        benchmark::DoNotOptimize(status.IsPrinting(nullptr));
        benchmark::DoNotOptimize(status.GetStatusCode());
        bytes[35] = static_cast<std::uint8_t>(bytes[35] + 1);
    }
}
BENCHMARK(BM_DecodeRecord);

static void BM_ClassifyChange(benchmark::State& state) {
    CDeviceStatus previous;
    previous.SetSignature();
    previous.SetDeviceState(3);
    CDeviceStatus fresh = previous;
    for (auto _ : state) {
        fresh.SetProgress(static_cast<std::uint8_t>(fresh.GetProgress() + 1));
        benchmark::DoNotOptimize(ClassifyChange(previous, fresh));
        previous = fresh;
    }
}
BENCHMARK(BM_ClassifyChange);

static void BM_ClassifyUnchanged(benchmark::State& state) {
    CDeviceStatus record;
    record.SetSignature();
    record.SetDeviceState(1);
    const CDeviceStatus same = record;
    for (auto _ : state)
        benchmark::DoNotOptimize(ClassifyChange(record, same));
}
BENCHMARK(BM_ClassifyUnchanged);
