// Cost of one Display pass, which runs on the main thread after
// every status change and on every feed-timer tick: read the status slots,
// choose the texts and set the bars. The view below only stores what it is
// given, so the figure is Display's own (the window's drawing is not in it).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "monitor/device_status.h"
#include "monitor/record_status_source.h"
#include "monitor/status_display.h"

namespace {

// Keeps the last value of everything it is given.
class CStoringView : public CStatusView {
public:
    void ShowNotConnected() override { m_nLayout = 0; }
    void ShowError(StringId nStateId, StringId nAdviceId) override { Ids(nStateId, nAdviceId, 0); }
    void ShowStatus(StringId nStateId, StringId nDetailId, StringId nHintId) override {
        Ids(nStateId, nDetailId, nHintId);
    }
    void ShowPrinting(StringId nPhaseId) override { Ids(IDS_PRINTING, nPhaseId, 0); }
    void StartTimer(std::uint32_t nTimerId, std::uint32_t) override { m_nTimer = nTimerId; }
    void StopTimer(std::uint32_t) override { m_nTimer = 0; }
    void SetTaskBarColour(Colour crBar) override { m_crBar = crBar; }
    void SetTaskPos(std::int32_t nPos) override { m_nTaskPos = nPos; }
    std::int32_t GetTaskPos() const override { return m_nTaskPos; }
    void SetTotalPos(std::int32_t nPos) override { m_nTotalPos = nPos; }
    std::int32_t GetTotalPos() const override { return m_nTotalPos; }
    void SetTaskPercentText(const std::string& strText) override { m_strTask = strText; }
    void SetTotalPercentText(const std::string& strText) override { m_strTotal = strText; }

    StringId m_anIds[3] = {};
    int m_nLayout = 0;
    std::uint32_t m_nTimer = 0;
    Colour m_crBar = 0;
    std::int32_t m_nTaskPos = 0;
    std::int32_t m_nTotalPos = 0;
    std::string m_strTask;
    std::string m_strTotal;

private:
    void Ids(StringId a, StringId b, StringId c) {
        m_nLayout = 1;
        m_anIds[0] = a;
        m_anIds[1] = b;
        m_anIds[2] = c;
    }
};

CDeviceStatus Record(std::uint8_t nState, std::uint8_t nPhase, std::uint32_t dwCode) {
    CDeviceStatus record;
    record.SetSignature();
    record.SetDeviceState(nState);
    record.SetPrintPhase(nPhase);
    record.SetStatusCode(dwCode);
    return record;
}

// Answers the status slots from a record, as the monitor does for its board.
CRecordStatusSource Source(std::uint8_t nState, std::uint8_t nPhase, std::uint32_t dwCode) {
    return CRecordStatusSource(true, Record(nState, nPhase, dwCode));
}

} // namespace

// The busiest pass: a colour pass whose progress moved (trace line, phase
// layout, feed timer stop, task colour, both bars and both percentages).
static void BM_DisplayYellowPass(benchmark::State& state) {
    CDeviceStatus record = Record(3, kPhaseYellow, 0);
    CStatusDisplay display;
    CStoringView view;
    std::uint8_t nProgress = 0;
    for (auto _ : state) {
        record.SetProgress(nProgress);
        nProgress = static_cast<std::uint8_t>(nProgress == 100 ? 0 : nProgress + 1);
        benchmark::DoNotOptimize(display.Display(CRecordStatusSource(true, record), view));
    }
    benchmark::DoNotOptimize(view.m_strTotal);
}
BENCHMARK(BM_DisplayYellowPass);

// A feed-timer tick while the printer heats after the paper feed: the creep
// sets the bars, then the phase-7 layout. The creep reaches 100 after 20
// ticks, so every 20th tick follows a fresh paper-feed report (a twentieth
// of a feed-in pass in each figure).
static void BM_DisplayFeedCreep(benchmark::State& state) {
    const CRecordStatusSource feedIn = Source(3, kPhaseFeedIn, 0);
    const CRecordStatusSource source = Source(3, kPhaseWaiting, 0);
    CStatusDisplay display;
    CStoringView view;
    int nTick = 0;
    for (auto _ : state) {
        if (nTick++ % 20 == 0)
            display.Display(feedIn, view);
        benchmark::DoNotOptimize(display.Display(source, view));
    }
    benchmark::DoNotOptimize(view.m_strTask);
}
BENCHMARK(BM_DisplayFeedCreep);

// A printer error found in the last row of its table.
static void BM_DisplayError(benchmark::State& state) {
    const CRecordStatusSource source = Source(1, 0, 0x80001000);
    CStatusDisplay display;
    CStoringView view;
    for (auto _ : state)
        benchmark::DoNotOptimize(display.Display(source, view));
    benchmark::DoNotOptimize(view.m_anIds[0]);
}
BENCHMARK(BM_DisplayError);

// An idle printer: ready, waiting for a job.
static void BM_DisplayReady(benchmark::State& state) {
    const CRecordStatusSource source = Source(1, 0, 0);
    CStatusDisplay display;
    CStoringView view;
    for (auto _ : state)
        benchmark::DoNotOptimize(display.Display(source, view));
    benchmark::DoNotOptimize(view.m_anIds[0]);
}
BENCHMARK(BM_DisplayReady);
